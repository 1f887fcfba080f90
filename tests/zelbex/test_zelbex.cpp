#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "zelbex/Zelbex.h"

namespace {

// Points the library at a device file for one test and puts the
// environment back afterwards.
class ZelbexTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zelbex-XXXXXX").string();
        m_folder = ::mkdtemp(pattern.data());
        Remember("ZELBEX_DEVICE_LIST");
        Remember("XDG_CONFIG_HOME");
    }
    void TearDown() override
    {
        for (const auto& [name, value] : m_saved) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }
    std::string WriteList(const std::string& text, const std::string& name = "devices.txt")
    {
        const std::string path = m_folder + "/" + name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path) << text;
        return path;
    }
    std::string Name(int index, int bufferSize = 256)
    {
        std::string buffer(static_cast<std::size_t>(bufferSize), '#');
        zlbGetDeviceString(index, buffer.data(), bufferSize);
        return buffer.c_str();
    }

    std::string m_folder;

private:
    void Remember(const char* name)
    {
        const char* value = std::getenv(name);
        m_saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

} // namespace

TEST_F(ZelbexTest, ListsPairedRemotesWithThePrefixInFileOrder)
{
    ::setenv("ZELBEX_DEVICE_LIST", WriteList("Norq-Tarvik 0042,5\n"
                                             "# a comment\n"
                                             "\n"
                                             "Headset,3\n"
                                             "  Norq-Moval 7 , 7 \r\n"
                                             "Norq-broken\n"
                                             "Norq-NoPort,\n"
                                             "Norq-BadPort,x1\n"
                                             "Norq-Zero,0\n"
                                             "Norq, with comma,12\n").c_str(), 1);
    ASSERT_EQ(zlbBuildDeviceList("Norq-", 6), 2);
    EXPECT_EQ(zlbGetNumOfDevices(), 2);
    EXPECT_EQ(Name(0), "Norq-Tarvik 0042");
    EXPECT_EQ(zlbGetDevicePort(0), 5);
    EXPECT_EQ(Name(1), "Norq-Moval 7");
    EXPECT_EQ(zlbGetDevicePort(1), 7);

    EXPECT_EQ(zlbBuildDeviceList("Norq", 5), 3) << "a shorter prefix also takes the name with a comma";
    EXPECT_EQ(Name(2), "Norq, with comma");
    EXPECT_EQ(zlbGetDevicePort(2), 12);
    EXPECT_EQ(zlbBuildDeviceList("Norq-Moval 7", 6), 1) << "the prefix is compared up to its given size";
    EXPECT_EQ(zlbBuildDeviceList("", 1), 4) << "an empty prefix takes every well-formed line";
}

TEST_F(ZelbexTest, NoFileMeansNoRadioAndAnEmptyFileNoRemote)
{
    ::setenv("ZELBEX_DEVICE_LIST", (m_folder + "/absent.txt").c_str(), 1);
    EXPECT_LT(zlbBuildDeviceList("Norq-", 6), 0);
    EXPECT_EQ(zlbGetNumOfDevices(), 0);

    ::setenv("ZELBEX_DEVICE_LIST", WriteList("").c_str(), 1);
    EXPECT_EQ(zlbBuildDeviceList("Norq-", 6), 0);
}

TEST_F(ZelbexTest, WithoutTheVariableTheFileInTheSettingsFolderIsRead)
{
    ::unsetenv("ZELBEX_DEVICE_LIST");
    ::setenv("XDG_CONFIG_HOME", m_folder.c_str(), 1);
    EXPECT_LT(zlbBuildDeviceList("Norq-", 6), 0);
    WriteList("Norq-Selvo,9\n", "Norq Technology/zelbex-devices.txt");
    ASSERT_EQ(zlbBuildDeviceList("Norq-", 6), 1);
    EXPECT_EQ(zlbGetDevicePort(0), 9);
}

TEST_F(ZelbexTest, NamesAreCutToTheBufferAndBadIndexesGiveNothing)
{
    ::setenv("ZELBEX_DEVICE_LIST", WriteList("Norq-Brindle-Long-Name,4\n").c_str(), 1);
    ASSERT_EQ(zlbBuildDeviceList("Norq-", 6), 1);
    EXPECT_EQ(Name(0, 8), "Norq-Br");
    EXPECT_EQ(Name(0, 1), "");
    EXPECT_EQ(Name(1), "");
    EXPECT_EQ(Name(-1), "");
    EXPECT_EQ(zlbGetDeviceString(0, nullptr, 10), 0);
    EXPECT_EQ(zlbGetDevicePort(1), 0);
    EXPECT_EQ(zlbGetDevicePort(-1), 0);
}

TEST_F(ZelbexTest, RegistrationCallsSucceedWithoutAStack)
{
    EXPECT_EQ(zlbRegisterDevice(0), 0);
    EXPECT_EQ(zlbAuthenticateDevice(0), 0);
    EXPECT_EQ(zlbUnregisterDevice(), 0);
    EXPECT_EQ(zlbIsVistaFeaturePackForWireless(), 0);
}
