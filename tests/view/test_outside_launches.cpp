// The Help commands' launches on a scripted host: what is opened, which box
// and which log line a failure gives, and which support address is taken.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <unistd.h>

#include "app/NorqEventLogger.h"
#include "view/OutsideLaunches.h"

namespace {

struct Box {
    std::string text;
    std::string caption;
    bool wait;
};

class ScriptedHost : public ILaunchHost {
public:
    int Open(const std::string& target) override
    {
        opened.push_back(target);
        if (results.empty())
            return 42;
        const int result = results.front();
        results.pop_front();
        return result;
    }
    void ShowBox(const std::string& text, const std::string& caption, bool wait) override
    {
        boxes.push_back({text, caption, wait});
    }
    std::deque<int> results;
    std::vector<std::string> opened;
    std::vector<Box> boxes;
};

class OutsideLaunches : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorin-launch-XXXXXX").string();
        m_folder = ::mkdtemp(pattern.data());
        setenv("XDG_DOCUMENTS_DIR", m_folder.c_str(), 1);
        CNorqEventLogger::RearmForTests();
    }
    void TearDown() override
    {
        CNorqEventLogger::RearmForTests();
        std::filesystem::remove_all(m_folder);
    }
    // What was logged since the last call.
    std::string NewLog()
    {
        CNorqEventLogger* logger = CNorqEventLogger::GetInstance();
        if (logger == nullptr || !logger->WaitForWriter(5000))
            return {};
        std::ifstream file(logger->FullPath());
        std::stringstream text;
        text << file.rdbuf();
        const std::string all = text.str();
        const std::string fresh = all.substr(std::min(m_logSeen, all.size()));
        m_logSeen = all.size();
        return fresh;
    }
    void WriteSupportUrl(const std::string& text) { std::ofstream(m_folder + "/Support_URL.txt") << text; }

    std::string m_folder;
    size_t m_logSeen = 0;
};

}  // namespace

TEST_F(OutsideLaunches, EachFailedLaunchShowsItsTextCaptionAndLogLine)
{
    using Thread = int (*)(const std::string&, ILaunchHost&);
    const struct {
        Thread thread;
        int result;
        const char* file;
        const char* text;
        const char* caption;
        const char* log;
    } cases[] = {
        {LaunchThreads::IeManThread, 2, "/Quorin Manual.htm", "The Quorin Manual page was not found.\n",
         "Open Quorin Manual Error", "Error launching the Quorin Manual page: "},
        {LaunchThreads::IeManThread, 11, "/Quorin Manual.htm",
         "An unkown error occurred when trying to open the Quorin Manual page.\n", "Open Quorin Manual Error",
         "Error launching the Quorin Manual page: "},
        {LaunchThreads::IeGuidelinesThread, 3, "/MonitoringGuidelines.htm",
         "The specified path for Monitoring Guidelines was not found.\n", "Open Monitoring Guidelines Error",
         "Error launching the Monitoring Guidelines file: "},
        {LaunchThreads::IeGuidelinesThread, 26, "/MonitoringGuidelines.htm",
         "A sharing violation occurred when trying to open the Monitoring Guidelines file.\n",
         "Open Monitoring Guidelines Error", "Error launching the Monitoring Guidelines file: "},
        {LaunchThreads::IeNorqThread, 5, "https://", "The operating system denied access to the Norq Support website.\n",
         "Open Norq Support Website Error", "Error launching the Norq Support website: "},
        {LaunchThreads::IeNorqThread, 0, "https://", "The operating system is out of memory or resources.\n",
         "Open Norq Support Website Error", "Error launching the Norq Support website: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ScriptedHost host;
        host.results = {c.result};
        EXPECT_EQ(c.thread(m_folder, host), 1);
        ASSERT_EQ(host.opened.size(), 1u);
        if (c.file[0] == '/')
            EXPECT_EQ(host.opened[0], m_folder + c.file);
        else
            EXPECT_EQ(host.opened[0], std::string(kNorqWebHost) + kSupportPath);
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_EQ(host.boxes[0].text, c.text);
        EXPECT_EQ(host.boxes[0].caption, c.caption);
        EXPECT_NE(NewLog().find(std::string(c.log) + c.text), std::string::npos);
    }
    ScriptedHost started;
    LaunchThreads::IeManThread(m_folder, started);
    EXPECT_TRUE(started.boxes.empty());
}

TEST_F(OutsideLaunches, TheRemoteSupportProgramFallsBackToTheDownloadPage)
{
    const std::string download = std::string(kNorqWebHost) + kQuickSupportPath;
    const struct {
        std::deque<int> results;
        std::vector<std::string> texts;
    } cases[] = {
        {{42}, {}},
        {{0}, {"The operating system is out of memory or resources.\n"}},
        {{2, 42}, {"The TeamViewer QuickSupport file was not found.\n\nNext, trying the Norq website..."}},
        {{11, 31},
         {"The TeamViewer QuickSupport file is invalid (non-Microsoft Win32 .exe or error in .exe image).\n\nNext, "
          "trying the Norq website...",
          "An unkown error occurred when trying to start the TeamViewer QuickSupport program.\n"}},
    };
    for (const auto& c : cases) {
        ScriptedHost host;
        host.results = c.results;
        LaunchThreads::QuickSupportThread(m_folder, host);
        ASSERT_EQ(host.opened.size(), c.results.size());
        EXPECT_EQ(host.opened[0], m_folder + "/TeamViewerQS.exe");
        if (host.opened.size() > 1) {
            EXPECT_EQ(host.opened[1], download);
        }
        ASSERT_EQ(host.boxes.size(), c.texts.size());
        const std::string log = NewLog();
        for (size_t i = 0; i < c.texts.size(); ++i) {
            EXPECT_EQ(host.boxes[i].text, c.texts[i]);
            EXPECT_EQ(host.boxes[i].caption, "Launch TeamViewer Error");
            EXPECT_NE(log.find("Error launching TeamViewer: " + c.texts[i]), std::string::npos);
        }
        // The download page waits until the first box is closed.
        if (c.results.size() == 2) {
            EXPECT_TRUE(host.boxes[0].wait);
        }
    }
}

TEST_F(OutsideLaunches, OnlyAWebAddressFromTheSupportFileIsOpened)
{
    const std::string builtIn = std::string(kNorqWebHost) + kSupportPath;
    const std::string longWord = "https://x.example/" + std::string(250, 'a');
    const struct {
        const char* name;
        std::optional<std::string> file;
        std::string opened;
        const char* failureLog;
    } cases[] = {
        {"no file", std::nullopt, builtIn, "Error launching the Norq Support website: "},
        {"first word", "  https://help.example/quorin see also this\nline", "https://help.example/quorin",
         "Error launching the alternate Norq Support website: "},
        {"any case", "HTTP://Help.example", "HTTP://Help.example", "Error launching the alternate Norq"},
        {"cut at 199", longWord, longWord.substr(0, 199), "Error launching the alternate Norq"},
        {"a local file", "file:///bin/sh", builtIn, "Error launching the Norq Support website: "},
        {"a program", "/usr/bin/xterm -e sh", builtIn, "Error launching the Norq Support website: "},
        {"empty", "", builtIn, "Error launching the Norq Support website: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(m_folder + "/Support_URL.txt");
        if (c.file)
            WriteSupportUrl(*c.file);
        ScriptedHost host;
        host.results = {31};
        LaunchThreads::IeNorqThread(m_folder, host);
        ASSERT_EQ(host.opened.size(), 1u);
        EXPECT_EQ(host.opened[0], c.opened);
        const std::string log = NewLog();
        EXPECT_NE(log.find(c.failureLog), std::string::npos);
        EXPECT_EQ(log.find("names no web address") != std::string::npos, c.file && c.opened == builtIn);
    }
}
