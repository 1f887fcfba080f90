// The recorder against a file system in memory: what reaches the file, in
// which writes, and what an error or a stale datum does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>

#include "FakeRecordFiles.h"
#include "app/NorqEventLogger.h"
#include "platform/Event.h"
#include "recording/NorqFileRecorder.h"

namespace {

constexpr uint32_t kWakeMs = 2;
constexpr uint32_t kWaitMs = 10000;

std::vector<uint8_t> Bytes(std::size_t size, uint8_t first)
{
    std::vector<uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

struct RecorderFixture : ::testing::Test {
    std::shared_ptr<FakeDisk> disk = std::make_shared<FakeDisk>();
    CEvent reported;
    std::vector<CNorqFileRecorder::RenameReport> reports;

    std::unique_ptr<CNorqFileRecorder> Make(CNorqEventLogger* logger = nullptr, uint32_t wakeMs = kWakeMs)
    {
        auto recorder = std::make_unique<CNorqFileRecorder>(logger, std::make_shared<FakeFileSystem>(disk), wakeMs);
        recorder->SetRenameReport([this](const CNorqFileRecorder::RenameReport& report) {
            reports.push_back(report);
            reported.Set();
        });
        return recorder;
    }
    // Everything queued before it has been carried out once this returns:
    // the worker performs the queue in order and reports each rename.
    void Drain(CNorqFileRecorder& recorder)
    {
        recorder.RenameFile("/nowhere/a", "/nowhere/b");
        ASSERT_TRUE(reported.Wait(kWaitMs));
    }
};

using FileRecorder = RecorderFixture;

TEST(FileRecorderTexts, CausesAndDescriptions)
{
    const struct { int error, cause; const char* text; } causes[] = {
        {ENOSPC, 13, "CFileException::diskFull"}, {EACCES, 5, "CFileException::accessDenied"},
        {EROFS, 5, "CFileException::accessDenied"}, {EIO, 10, "CFileException::hardIO"},
        {EBADF, 1, "CFileException::genericException"}, {ENOENT, 1, "CFileException::genericException"},
    };
    for (const auto& c : causes) {
        EXPECT_EQ(FileExceptionCause(c.error), c.cause) << c.text;
        EXPECT_STREQ(FileExceptionText(c.cause), c.text);
    }
    for (int cause : {-1, 2, 15, 99})
        EXPECT_STREQ(FileExceptionText(cause), "Undefined CFileException") << cause;
    EXPECT_STREQ(FileExceptionText(14), "CFileException::endOfFile");

    const uint8_t block[4] = {};
    const struct { int32_t op; std::size_t size; std::string text; } ops[] = {
        {kOpOpen, 0, "OpenFile(/a.qre)"}, {kOpClose, 0, "CloseFile()"}, {kOpRename, 0, "RenameFile /a.qre -> /b.qre)"},
        {kOpDelete, 0, "DeleteFile()"}, {9, 0, "UnDefined Operation, code 9"},
    };
    for (const auto& o : ops)
        EXPECT_EQ(OperationDescription(o.op, nullptr, o.size, "/a.qre", "/b.qre"), o.text);
    char address[32];
    std::snprintf(address, sizeof address, "0x%lx", reinterpret_cast<unsigned long>(block));
    EXPECT_EQ(OperationDescription(kOpWrite, block, 1024, {}, {}), "WriteData(" + std::string(address) + ", 1024)");
    EXPECT_EQ(OperationDescription(kOpHeader, block, 5080, {}, {}), "WriteHeader(" + std::string(address) + ", 5080)");
}

// 256 records fill the cache; the 257th goes straight to the file after the
// flush; the other 43 follow at the end of the batch, not at the close, so
// that a killed program loses no more than the queue.
TEST_F(FileRecorder, SmallWritesOfOneBatchGoOutAsKilobytes)
{
    auto recorder = Make();
    ASSERT_TRUE(recorder->OpenFile("/r/a.qre"));
    disk->blockAtCall = 1;
    const std::vector<uint8_t> header(CNorqFileRecorder::kHeaderSize, 0);
    ASSERT_TRUE(recorder->WriteHeader(header.data()));
    ASSERT_TRUE(disk->WaitBlocked());
    std::vector<uint8_t> records;
    for (int i = 0; i < 300; ++i) {
        const std::vector<uint8_t> record = Bytes(4, static_cast<uint8_t>(i));
        ASSERT_TRUE(recorder->WriteData(record.data(), 4));
        records.insert(records.end(), record.begin(), record.end());
    }
    disk->Release();
    ASSERT_TRUE(disk->WaitFor([&] { return disk->writes.size() == 4; }));
    recorder->CloseFile();
    Drain(*recorder);

    const std::vector<FakeWrite> writes = disk->WritesTo("/r/a.qre");
    const std::vector<std::pair<uint64_t, std::size_t>> expected = {{0, 5080}, {5080, 1024}, {6104, 4}, {6108, 172}};
    ASSERT_EQ(writes.size(), expected.size());
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i].offset, expected[i].first) << i;
        EXPECT_EQ(writes[i].bytes.size(), expected[i].second) << i;
    }
    std::vector<uint8_t> expectedImage = header;
    expectedImage.insert(expectedImage.end(), records.begin(), records.end());
    EXPECT_EQ(disk->Image("/r/a.qre"), expectedImage);
    EXPECT_EQ(recorder->State(), CNorqFileRecorder::kIdle);
    EXPECT_EQ(recorder->GetFilePath(), "");
}

// Whatever the worker's pace, the file ends as the final header followed by
// every block in the order given: a late header lands at 0, appends go on
// at the end, and a destroyed recorder finishes the file first.
TEST_F(FileRecorder, FileHoldsHeaderAndEveryBlockInOrder)
{
    const struct { const char* name; int blockAtCall; bool destroy; uint32_t wakeMs; } cases[] = {
        {"steady", 0, false, kWakeMs},
        {"worker held in a write", 2, false, kWakeMs},
        {"destroyed with the file open", 0, true, 600000},
    };
    const std::size_t sizes[] = {4, 84, 1500, 4, 1024, 1020, 4, 3000, 4, 128, 129};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        disk = std::make_shared<FakeDisk>();
        disk->blockAtCall = c.blockAtCall;
        const std::string path = "/r/order.qre";
        auto recorder = Make(nullptr, c.wakeMs);
        ASSERT_TRUE(recorder->OpenFile(path));
        const std::vector<uint8_t> zero(CNorqFileRecorder::kHeaderSize, 0);
        const std::vector<uint8_t> header = Bytes(CNorqFileRecorder::kHeaderSize, 7);
        ASSERT_TRUE(recorder->WriteHeader(zero.data()));
        std::vector<uint8_t> body;
        uint8_t next = 1;
        for (int round = 0; round < 2; ++round) {
            for (std::size_t size : sizes) {
                const std::vector<uint8_t> block = Bytes(size, next++);
                ASSERT_TRUE(recorder->WriteData(block.data(), static_cast<int32_t>(size)));
                body.insert(body.end(), block.begin(), block.end());
            }
            if (round == 0) {
                ASSERT_TRUE(recorder->WriteHeader(header.data()));
            }
            if (c.blockAtCall != 0 && round == 0) {
                ASSERT_TRUE(disk->WaitBlocked());
                disk->Release();
            }
        }
        if (c.destroy)
            recorder.reset();
        else
            recorder->CloseFile();
        ASSERT_TRUE(disk->WaitClosed(path));
        std::vector<uint8_t> expected = header;
        expected.insert(expected.end(), body.begin(), body.end());
        EXPECT_EQ(disk->Image(path), expected);
    }
}

TEST_F(FileRecorder, ClosingRefusesWritesAndOpens)
{
    auto recorder = Make();
    ASSERT_TRUE(recorder->OpenFile("/r/a.qre"));
    disk->blockAtCall = 1;
    const std::vector<uint8_t> header(CNorqFileRecorder::kHeaderSize, 0);
    ASSERT_TRUE(recorder->WriteHeader(header.data()));
    ASSERT_TRUE(disk->WaitBlocked());
    recorder->CloseFile();
    EXPECT_EQ(recorder->State(), CNorqFileRecorder::kClosing);
    const uint8_t record[4] = {1, 2, 3, 4};
    EXPECT_FALSE(recorder->WriteData(record, 4));
    EXPECT_FALSE(recorder->WriteHeader(header.data()));
    EXPECT_FALSE(recorder->OpenFile("/r/b.qre"));
    recorder->Restart();
    EXPECT_EQ(recorder->State(), CNorqFileRecorder::kClosing);
    disk->Release();
    ASSERT_TRUE(disk->WaitClosed("/r/a.qre"));
    Drain(*recorder);
    EXPECT_EQ(recorder->State(), CNorqFileRecorder::kIdle);
    EXPECT_EQ(disk->Image("/r/a.qre"), header);
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A failed flush: state 3 with the cause, the line in the log, writes
// refused, until a restart lets the next file be opened.
TEST_F(FileRecorder, WriteErrorsStopTheFileUntilRestart)
{
    const struct { int error, code; const char* text; } cases[] = {
        {ENOSPC, 13, "CFileException::diskFull"},
        {EACCES, 5, "CFileException::accessDenied"},
        {EIO, 10, "CFileException::hardIO"},
    };
    char pattern[] = "/tmp/quorin_recorder_log_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string folder = pattern;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        disk = std::make_shared<FakeDisk>();
        disk->failSize = 1024;
        disk->failErrno = c.error;
        CNorqEventLogger logger(folder + "/" + std::to_string(c.error));
        auto recorder = Make(&logger);
        ASSERT_TRUE(recorder->OpenFile("/r/full.qre"));
        recorder->Restart();
        EXPECT_EQ(recorder->State(), CNorqFileRecorder::kOpen) << "a restart leaves an open file alone";
        // The worker waits in the header until every record is queued, so
        // that they meet in one batch and fill the cache.
        disk->blockAtCall = 1;
        const std::vector<uint8_t> header(CNorqFileRecorder::kHeaderSize, 0);
        ASSERT_TRUE(recorder->WriteHeader(header.data()));
        ASSERT_TRUE(disk->WaitBlocked());
        const uint8_t record[4] = {9, 9, 9, 9};
        for (int i = 0; i < 257; ++i)
            ASSERT_TRUE(recorder->WriteData(record, 4));
        disk->Release();
        Drain(*recorder);

        EXPECT_EQ(recorder->State(), CNorqFileRecorder::kError);
        EXPECT_FALSE(recorder->HasFile());
        EXPECT_FALSE(recorder->WriteData(record, 4));
        std::string text;
        int32_t code = 0;
        recorder->GetLastStatus(text, code);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(recorder->GetFilePath(), "/r/full.qre") << "the unfinished file can still be named";
        ASSERT_TRUE(logger.WaitForWriter(kWaitMs));
        const std::string log = ReadAll(logger.FullPath());
        const std::string line = std::string("CNorqFileRecorder::RecordingThread ") + c.text + " on operation WriteData(0x";
        const std::size_t at = log.find(line);
        ASSERT_NE(at, std::string::npos) << log;
        EXPECT_EQ(log.compare(log.find(')', at) - 6, 7, ", 1024)"), 0) << log.substr(at);

        recorder->Restart();
        EXPECT_EQ(recorder->State(), CNorqFileRecorder::kIdle);
        ASSERT_TRUE(recorder->OpenFile("/r/full.qre"));
        EXPECT_EQ(recorder->GetFilePath(), "/r/full_2.qre");
        EXPECT_EQ(recorder->State(), CNorqFileRecorder::kOpen);
    }
    std::filesystem::remove_all(folder);
}

// Anything but a file error ends the worker; a restart starts a new one.
TEST_F(FileRecorder, AFailedWorkerStopsAndRestarts)
{
    auto recorder = Make();
    disk->failSize = 4;
    disk->failErrno = -1;
    ASSERT_TRUE(recorder->OpenFile("/r/a.qre"));
    const uint8_t big[2000] = {};
    ASSERT_TRUE(recorder->WriteData(big, sizeof big));
    ASSERT_TRUE(recorder->WriteData(big, 4));
    recorder->CloseFile();
    ASSERT_TRUE(disk->WaitClosed("/r/a.qre"));
    EXPECT_EQ(recorder->State(), CNorqFileRecorder::kStopped);
    std::string text;
    int32_t code = 0;
    recorder->GetLastStatus(text, code);
    EXPECT_EQ(text, "RECORDER_STATE_STOPPED");
    EXPECT_EQ(code, 4);
    EXPECT_FALSE(recorder->OpenFile("/r/b.qre"));

    recorder->Restart();
    EXPECT_EQ(recorder->State(), CNorqFileRecorder::kIdle);
    ASSERT_TRUE(recorder->OpenFile("/r/b.qre"));
    ASSERT_TRUE(recorder->WriteData(big, sizeof big));
    Drain(*recorder);
    EXPECT_EQ(disk->Image("/r/b.qre"), std::vector<uint8_t>(big, big + sizeof big));
}

// An empty episode is deleted while writes for it are still being queued;
// the next file must never receive them.
TEST_F(FileRecorder, WritesForAnEarlierFileNeverReachTheNext)
{
    auto recorder = Make();
    ASSERT_TRUE(recorder->OpenFile("/r/old.qre"));
    const uint8_t old0[4] = {0xA0, 0, 0, 0};
    ASSERT_TRUE(recorder->WriteData(old0, 4));
    disk->blockAtCall = 1; // the flush that the delete makes first
    recorder->DeleteFile();
    ASSERT_TRUE(disk->WaitBlocked());
    EXPECT_EQ(recorder->State(), CNorqFileRecorder::kOpen);
    for (uint8_t i = 1; i <= 3; ++i) {
        const uint8_t late[4] = {0xA0, i, 0, 0};
        ASSERT_TRUE(recorder->WriteData(late, 4));
    }
    disk->Release();
    ASSERT_TRUE(disk->WaitFor([&] { return disk->removed.size() == 2; }));
    EXPECT_EQ(disk->removed, (std::vector<std::string>{"/r/old.qre.journal", "/r/old.qre"}));

    ASSERT_TRUE(recorder->OpenFile("/r/new.qre"));
    const std::vector<uint8_t> header(CNorqFileRecorder::kHeaderSize, 0x11);
    ASSERT_TRUE(recorder->WriteHeader(header.data()));
    recorder->CloseFile();
    ASSERT_TRUE(disk->WaitClosed("/r/new.qre"));
    EXPECT_EQ(disk->Image("/r/new.qre"), header);
    EXPECT_EQ(disk->Image("/r/old.qre"), std::vector<uint8_t>(old0, old0 + 4));
}

} // namespace
