// The recorder and the safe-file helpers on real files in a temporary folder.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/Event.h"
#include "platform/SafeFile.h"
#include "recording/NorqFileRecorder.h"

namespace {

constexpr uint32_t kWaitMs = 10000;

struct RecordFiles : ::testing::Test {
    std::string folder;
    CEvent reported;
    std::vector<CNorqFileRecorder::RenameReport> reports;

    void SetUp() override
    {
        char pattern[] = "/tmp/quorin_record_files_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::unique_ptr<CNorqFileRecorder> Make(uint32_t wakeMs = 2)
    {
        auto recorder = std::make_unique<CNorqFileRecorder>(nullptr, PosixRecordFileSystem(), wakeMs);
        recorder->SetRenameReport([this](const CNorqFileRecorder::RenameReport& report) {
            reports.push_back(report);
            reported.Set();
        });
        return recorder;
    }
    // Writes a small file through the recorder and returns its real path.
    std::string Record(CNorqFileRecorder& recorder, const std::string& path, uint8_t fill)
    {
        EXPECT_TRUE(recorder.OpenFile(path));
        const std::string real = recorder.GetFilePath();
        const std::vector<uint8_t> header(CNorqFileRecorder::kHeaderSize, fill);
        EXPECT_TRUE(recorder.WriteHeader(header.data()));
        recorder.CloseFile();
        return real;
    }
    void Drain(CNorqFileRecorder& recorder)
    {
        recorder.RenameFile(folder + "/none", folder + "/none2");
        ASSERT_TRUE(reported.Wait(kWaitMs));
        reports.pop_back();
    }
};

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(RecordFileNames, NumberGoesBeforeTheExtension)
{
    const struct { const char* path; int n; const char* numbered; } cases[] = {
        {"/a/Rex_20240131_140509.qre", 2, "/a/Rex_20240131_140509_2.qre"},
        {"/a/b.qre", 3, "/a/b_3.qre"},
        {"/a.d/b", 2, "/a.d/b_2"},
        {"/a/.hidden", 2, "/a/.hidden_2"},
        {"x.tar.gz", 2, "x.tar_2.gz"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NumberedPath(c.path, c.n), c.numbered);
}

TEST_F(RecordFiles, SafeFileHelpersNeverReplace)
{
    int error = 0;
    const std::string a = folder + "/a", b = folder + "/b";
    const int fd = CreateNewFile(a, error);
    ASSERT_GE(fd, 0);
    const uint8_t bytes[] = {1, 2, 3, 4, 5};
    ASSERT_TRUE(WriteAllAt(fd, 3, bytes, sizeof bytes, error));
    ::close(fd);
    EXPECT_EQ(CreateNewFile(a, error), -1);
    EXPECT_EQ(error, EEXIST);
    EXPECT_EQ(ReadAll(a), std::string("\0\0\0\1\2\3\4\5", 8));

    std::ofstream(b) << "other";
    EXPECT_FALSE(RenameNoReplace(a, b, error));
    EXPECT_EQ(error, EEXIST);
    EXPECT_EQ(ReadAll(b), "other");
    EXPECT_EQ(ReadAll(a).size(), 8u);
    const std::string c = folder + "/c";
    ASSERT_TRUE(RenameNoReplace(a, c, error));
    EXPECT_FALSE(std::filesystem::exists(a));
    EXPECT_EQ(ReadAll(c).size(), 8u);
}

TEST_F(RecordFiles, OpeningATakenNameKeepsTheFirstFile)
{
    auto recorder = Make();
    const std::string path = folder + "/Rex_O'Neil_20240131_140509.qre";
    const std::string expected[] = {path, folder + "/Rex_O'Neil_20240131_140509_2.qre",
        folder + "/Rex_O'Neil_20240131_140509_3.qre"};
    for (uint8_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Record(*recorder, path, static_cast<uint8_t>('a' + i)), expected[i]);
        Drain(*recorder);
    }
    for (uint8_t i = 0; i < 3; ++i)
        EXPECT_EQ(ReadAll(expected[i]), std::string(CNorqFileRecorder::kHeaderSize, static_cast<char>('a' + i)));
    ASSERT_TRUE(recorder->OpenFile(path));
    EXPECT_EQ(recorder->GetFileName(), "Rex_O'Neil_20240131_140509_4.qre");
}

TEST_F(RecordFiles, RenameOntoAnExistingFileLeavesBothAndSaysSo)
{
    auto recorder = Make();
    const std::string first = Record(*recorder, folder + "/a.qre", 'a');
    Drain(*recorder);
    const std::string second = Record(*recorder, folder + "/b.qre", 'b');
    recorder->RenameFile(second, first);
    ASSERT_TRUE(reported.Wait(kWaitMs));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_FALSE(reports[0].renamed);
    EXPECT_EQ(reports[0].oldPath, second);
    EXPECT_EQ(reports[0].newPath, first);
    EXPECT_FALSE(reports[0].error.empty());
    EXPECT_EQ(ReadAll(first), std::string(CNorqFileRecorder::kHeaderSize, 'a'));
    EXPECT_EQ(ReadAll(second), std::string(CNorqFileRecorder::kHeaderSize, 'b'));
    EXPECT_EQ(recorder->State(), CNorqFileRecorder::kIdle);

    const std::string moved = folder + "/c.qre";
    recorder->RenameFile(second, moved);
    ASSERT_TRUE(reported.Wait(kWaitMs));
    EXPECT_TRUE(reports.back().renamed);
    EXPECT_FALSE(std::filesystem::exists(second));
    EXPECT_EQ(ReadAll(moved), std::string(CNorqFileRecorder::kHeaderSize, 'b'));
}

// A recording process killed outright leaves its zero header and whole
// records, in order; a later recorder leaves that file alone.
TEST_F(RecordFiles, AKilledRecorderLeavesWholeRecords)
{
    const std::string path = folder + "/killed.qre";
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CNorqFileRecorder recorder(nullptr, PosixRecordFileSystem(), 2);
        const std::vector<uint8_t> header(CNorqFileRecorder::kHeaderSize, 0);
        if (!recorder.OpenFile(path) || !recorder.WriteHeader(header.data()))
            _exit(1);
        bool told = false;
        for (uint32_t n = 0;; ++n) {
            const uint8_t record[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                static_cast<uint8_t>(n >> 16), 0xEE};
            recorder.WriteData(record, 4);
            if (n % 100 == 99) {
                struct stat st{};
                if (!told && ::stat(path.c_str(), &st) == 0 && st.st_size > CNorqFileRecorder::kHeaderSize + 4096) {
                    told = ::write(ready[1], "r", 1) == 1;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1)); // the pace of a live recording, roughly
            }
        }
    }
    ::close(ready[1]);
    pollfd waiting{ready[0], POLLIN, 0};
    const bool wrote = ::poll(&waiting, 1, static_cast<int>(kWaitMs)) == 1;
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ASSERT_TRUE(wrote) << "the child never got past its first kilobytes";
    ASSERT_TRUE(WIFSIGNALED(status));

    const std::string left = ReadAll(path);
    ASSERT_GT(left.size(), static_cast<std::size_t>(CNorqFileRecorder::kHeaderSize) + 4096);
    EXPECT_EQ(left.substr(0, CNorqFileRecorder::kHeaderSize), std::string(CNorqFileRecorder::kHeaderSize, '\0'));
    EXPECT_EQ((left.size() - CNorqFileRecorder::kHeaderSize) % 4, 0u);
    for (std::size_t at = CNorqFileRecorder::kHeaderSize, n = 0; at < left.size(); at += 4, ++n) {
        const auto byte = [&](std::size_t i) { return static_cast<uint8_t>(left[at + i]); };
        ASSERT_EQ(byte(0) | byte(1) << 8 | byte(2) << 16, static_cast<int>(n)) << "record " << n;
        ASSERT_EQ(byte(3), 0xEE) << "record " << n;
    }

    auto later = Make();
    EXPECT_EQ(Record(*later, path, 'x'), folder + "/killed_2.qre");
    later.reset();
    EXPECT_EQ(ReadAll(path), left);
}

} // namespace
