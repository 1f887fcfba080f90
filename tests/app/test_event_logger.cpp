#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <latch>
#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "app/NorqEventLogger.h"
#include "link/DecodeState.h"
#include "platform/Thread.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kWait = 20000;

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the file ends in a partial line";
    return lines;
}

// A clock stopped at a given UTC time; the tests run with TZ=UTC0.
CNorqEventLogger::Clock StoppedAt(int year, int month, int day, int hour, int minute, int second)
{
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    const auto when = std::chrono::system_clock::from_time_t(timegm(&tm));
    return [when] { return when; };
}

std::string Prefix(const std::string& timeText)
{
    return "PID " + std::to_string(CurrentProcessId()) + ", TID " + std::to_string(CurrentThreadId()) + ":  "
        + timeText + ":  ";
}

void SetAgeInDays(const std::string& path, int days)
{
    const std::time_t then = std::time(nullptr) - static_cast<std::time_t>(days) * 86400;
    const struct timespec times[2] = {{then, 0}, {then, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

bool HasThreadNamed(const std::string& name)
{
    for (const auto& task : fs::directory_iterator("/proc/self/task")) {
        std::string comm;
        std::getline(std::ifstream(task.path() / "comm"), comm);
        if (comm == name)
            return true;
    }
    return false;
}

class EventLogger : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("TZ", "UTC0", 1);
        tzset();
        char pattern[] = "/tmp/quorin_logger_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_root = pattern;
        m_docs = m_root + "/Documents";
        setenv("HOME", m_root.c_str(), 1);
        setenv("XDG_DOCUMENTS_DIR", m_docs.c_str(), 1);
        CNorqEventLogger::RearmForTests();
    }

    void TearDown() override
    {
        CNorqEventLogger::RearmForTests();
        fs::remove_all(m_root);
    }

    std::unique_ptr<CNorqEventLogger> Stopped(const std::string& base)
    {
        return std::make_unique<CNorqEventLogger>(base, StoppedAt(2015, 3, 5, 7, 4, 9));
    }

    std::string m_root;
    std::string m_docs;
};

TEST_F(EventLogger, NamesTheFolderAndFileFromTheStartTime)
{
    auto logger = Stopped(m_docs);
    EXPECT_EQ(logger->LogFolder(), m_docs + "/Norq_Logs");
    EXPECT_EQ(logger->FullPath(), m_docs + "/Norq_Logs/Quorin_20150305_070409.Log");
    auto slashed = Stopped(m_docs + "/");
    EXPECT_EQ(slashed->FullPath(), logger->FullPath()) << "a base folder ending in a slash gets no second one";
    ASSERT_TRUE(logger->WaitForWriter(kWait)) << "nothing queued, so one pass writes it all";
    EXPECT_TRUE(HasThreadNamed("EventLogger")) << "the writer names itself before its first pass";
}

TEST_F(EventLogger, LinesCarryPidTidTimeAndTagAndEndOnce)
{
    auto logger = Stopped(m_docs);
    logger->Log("CSerialMoval::OnEvent", "Port opened");
    logger->Log(nullptr, "no tag");
    logger->Log("CSerialMoval::OnEvent", "already ended\n");
    logger->Log("Tag", "");
    logger->QueueLine("");
    logger->QueueLine("plain");
    logger->QueueLine("plain ended\n");
    ASSERT_TRUE(logger->WaitForWriter(kWait));

    const std::string p = Prefix("20150305 07:04:09");
    EXPECT_EQ(ReadFile(logger->FullPath()),
        p + "CSerialMoval::OnEvent Port opened\r\n" + p + "no tag\r\n" + p + "CSerialMoval::OnEvent already ended\n"
            + p + "Tag \r\n" + "\r\n" + "plain\r\n" + "plain ended\n");
}

TEST_F(EventLogger, TextIsNeverAFormatAndLogFormatKeeps254Characters)
{
    auto logger = Stopped(m_docs);
    logger->Log("T", "%s%n%d");
    logger->LogFormat("T", "%s", "%n%s");
    logger->LogFormat("T", "len %d %s", 3, std::string(300, 'x').c_str());
    logger->LogFormat(nullptr, "%s", std::string(254, 'y').c_str());
    ASSERT_TRUE(logger->WaitForWriter(kWait));

    const std::string p = Prefix("20150305 07:04:09");
    EXPECT_EQ(ReadFile(logger->FullPath()),
        p + "T %s%n%d\r\n" + p + "T %n%s\r\n" + p + "T len 3 " + std::string(254 - 6, 'x') + "\r\n" + p
            + std::string(254, 'y') + "\r\n");
}

TEST_F(EventLogger, SessionBannersFrameTheRun)
{
    auto logger = Stopped(m_docs);
    logger->LogSessionStarted("Quorin", "v3.0.0");
    logger->LogSessionEnded("Quorin", "v3.0.0");
    ASSERT_TRUE(logger->WaitForWriter(kWait));

    const std::string rule = std::string(108, '_') + "\r\n";
    const std::string p = Prefix("20150305 07:04:09");
    EXPECT_EQ(ReadFile(logger->FullPath()),
        "\r\n\r\n" + rule + rule + p
            + "CQuorinView::CQuorinView *** Quorin v3.0.0 Session Started at Thursday, March 05, 2015:   "
              "07::04::09  ***\r\n"
            + p
            + "CQuorinView::~CQuorinView *** Quorin v3.0.0 Session ended at Thursday, March 05, 2015:   "
              "07::04::09  ***\r\n"
            + rule + rule + "\r\n\r\n");
}

TEST_F(EventLogger, StartDeletesOnlyLogFilesOlderThan45Days)
{
    const std::string folder = m_docs + "/Norq_Logs";
    fs::create_directories(folder + "/Quorin_dir.Log");
    struct Aged {
        std::string name;
        int days;
        bool deleted;
    };
    const std::vector<Aged> files = {
        {"Quorin_20150101_000000.Log", 46, true},
        {"Quorin_.Log", 46, true},
        {"Quorin_20150301_000000.Log", 44, false},
        {"Quorin_20150101_000000.log", 46, false},
        {"Other_20150101_000000.Log", 46, false},
        {"Quorin_notes.txt", 46, false},
    };
    for (const Aged& f : files) {
        WriteFile(folder + "/" + f.name, "old\r\n");
        SetAgeInDays(folder + "/" + f.name, f.days);
    }
    SetAgeInDays(folder + "/Quorin_dir.Log", 46);

    CNorqEventLogger logger(m_docs);
    for (const Aged& f : files)
        EXPECT_EQ(fs::exists(folder + "/" + f.name), !f.deleted) << f.name;
    EXPECT_TRUE(fs::is_directory(folder + "/Quorin_dir.Log")) << "folders are never deleted";
}

TEST_F(EventLogger, CleanUpReadsStampsBeyondTheClockRangeWithoutWrapping)
{
    // A wrong clock or a copy can leave stamps past 2262, where nanoseconds
    // since 1970 no longer fit 64 bits; such a file is new, not old.
    const std::string folder = m_docs + "/Norq_Logs";
    fs::create_directories(folder);
    const std::string future = folder + "/Quorin_23000101_000000.Log";
    const std::string ancient = folder + "/Quorin_19011214_000000.Log";
    WriteFile(future, "from a wrong clock\r\n");
    WriteFile(ancient, "old\r\n");
    const struct timespec year2300[2] = {{10413792000, 0}, {10413792000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, future.c_str(), year2300, 0), 0);
    const struct timespec year1901[2] = {{-2147483647, 0}, {-2147483647, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, ancient.c_str(), year1901, 0), 0);

    CNorqEventLogger logger(m_docs);
    EXPECT_TRUE(fs::exists(future));
    EXPECT_FALSE(fs::exists(ancient));
}

TEST_F(EventLogger, CleanUpSkipsAFolderWhosePatternReaches258Characters)
{
    // The pattern is <base>/Norq_Logs/Quorin_*.Log: 23 characters past the base.
    for (size_t patternLength : {257u, 258u}) {
        const std::string base = m_root + "/" + std::string(patternLength - 23 - m_root.size() - 1, 'p');
        ASSERT_EQ(base.size() + 23, patternLength);
        const std::string old = base + "/Norq_Logs/Quorin_20150101_000000.Log";
        fs::create_directories(base + "/Norq_Logs");
        WriteFile(old, "old\r\n");
        SetAgeInDays(old, 46);
        CNorqEventLogger logger(base);
        EXPECT_EQ(fs::exists(old), patternLength == 258) << "pattern length " << patternLength;
        fs::remove_all(base);
    }
}

TEST_F(EventLogger, LinesWaitUntilTheFolderCanBeMade)
{
    const std::string blocker = m_root + "/blocked";
    WriteFile(blocker, "a file where the folder should be");
    auto logger = Stopped(blocker + "/deeper/docs");
    logger->Log("T", "while blocked");
    EXPECT_FALSE(logger->WaitForWriter(kWait)) << "the writer cannot have written anything yet";
    EXPECT_FALSE(fs::exists(logger->FullPath()));

    fs::remove(blocker);
    logger->Log("T", "after");
    ASSERT_TRUE(logger->WaitForWriter(kWait));
    const std::string p = Prefix("20150305 07:04:09");
    EXPECT_EQ(ReadFile(logger->FullPath()), p + "T while blocked\r\n" + p + "T after\r\n");

    // Removed under a running logger, the folder is made again.
    fs::remove_all(blocker);
    logger->Log("T", "again");
    ASSERT_TRUE(logger->WaitForWriter(kWait));
    EXPECT_EQ(ReadFile(logger->FullPath()), p + "T again\r\n");
}

TEST_F(EventLogger, DestroyingWritesEveryQueuedLineAndTheEndBanner)
{
    constexpr int kThreads = 4;
    constexpr int kLines = 5000;
    auto logger = Stopped(m_docs);
    const std::string path = logger->FullPath();
    logger->LogSessionStarted("Quorin", "v3.0.0");
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kLines; ++i)
                logger->LogFormat("Worker", "%d %d", t, i);
        });
    for (auto& thread : threads)
        thread.join();
    logger->LogSessionEnded("Quorin", "v3.0.0");
    logger.reset();

    const std::string content = ReadFile(path);
    const std::string rule = std::string(108, '_') + "\r\n";
    EXPECT_EQ(content.substr(content.size() - 2 * rule.size() - 4), rule + rule + "\r\n\r\n");
    std::vector<int> next(kThreads, 0);
    bool ended = false;
    for (const std::string& line : SplitLines(content)) {
        if (line.find("Session ended at") != std::string::npos)
            ended = true;
        const size_t at = line.find("Worker ");
        if (at == std::string::npos)
            continue;
        EXPECT_FALSE(ended) << "a worker line after the end banner";
        int t = -1, i = -1;
        ASSERT_EQ(std::sscanf(line.c_str() + at, "Worker %d %d", &t, &i), 2) << line;
        ASSERT_TRUE(t >= 0 && t < kThreads);
        EXPECT_EQ(i, next[t]++) << "lines of one thread keep their order";
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(next, std::vector<int>(kThreads, kLines));
}

TEST_F(EventLogger, TwoRunsInOneSecondAppendWholeLinesToOneFile)
{
    constexpr int kLines = 3000;
    auto first = Stopped(m_docs);
    auto second = Stopped(m_docs);
    const std::string path = first->FullPath();
    ASSERT_EQ(second->FullPath(), path);
    fs::create_directories(first->LogFolder());
    WriteFile(path, "an earlier run\r\n");

    std::latch go(2);
    auto run = [&](CNorqEventLogger* logger, const char* tag) {
        go.arrive_and_wait();
        for (int i = 0; i < kLines; ++i)
            logger->LogFormat(tag, "line %d of a run", i);
    };
    std::thread a(run, first.get(), "First");
    std::thread b(run, second.get(), "Second");
    a.join();
    b.join();
    first.reset();
    second.reset();

    const std::vector<std::string> lines = SplitLines(ReadFile(path));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "an earlier run") << "the file is never truncated";
    int firstNext = 0, secondNext = 0;
    for (size_t k = 1; k < lines.size(); ++k) {
        char tag[16] = {};
        int i = -1;
        char tail[16] = {};
        const size_t at = lines[k].find(":  20150305 07:04:09:  ");
        ASSERT_NE(at, std::string::npos) << lines[k];
        ASSERT_EQ(std::sscanf(lines[k].c_str() + at + 23, "%15s line %d of a %15s", tag, &i, tail), 3) << lines[k];
        EXPECT_STREQ(tail, "run") << lines[k];
        int& next = std::string(tag) == "First" ? firstNext : secondNext;
        EXPECT_EQ(i, next++) << lines[k];
    }
    EXPECT_EQ(firstNext, kLines);
    EXPECT_EQ(secondNext, kLines);
}

TEST_F(EventLogger, InstanceWaitsForADocumentsFolder)
{
    const std::string blocker = m_root + "/blocker";
    WriteFile(blocker, "x");
    setenv("XDG_DOCUMENTS_DIR", (blocker + "/docs").c_str(), 1);
    EXPECT_EQ(CNorqEventLogger::GetInstance(), nullptr);
    EXPECT_EQ(g_eventLogger, nullptr);

    setenv("XDG_DOCUMENTS_DIR", m_docs.c_str(), 1);
    CNorqEventLogger* logger = CNorqEventLogger::GetInstance();
    ASSERT_NE(logger, nullptr) << "tried again on the next call";
    EXPECT_EQ(logger->LogFolder(), m_docs + "/Norq_Logs");

    LogEvent("CTest::Run", "value %d", 5);
    ASSERT_TRUE(logger->WaitForWriter(kWait));
    const std::string content = ReadFile(logger->FullPath());
    EXPECT_NE(content.find(":  CTest::Run value 5\r\n"), std::string::npos) << content;
}

TEST_F(EventLogger, ManyThreadsGetOneInstance)
{
    constexpr int kThreads = 16;
    std::latch go(kThreads);
    std::vector<CNorqEventLogger*> seen(kThreads, nullptr);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            go.arrive_and_wait();
            seen[t] = CNorqEventLogger::GetInstance();
        });
    for (auto& thread : threads)
        thread.join();
    ASSERT_NE(seen[0], nullptr);
    for (CNorqEventLogger* logger : seen)
        EXPECT_EQ(logger, seen[0]);
    EXPECT_EQ(g_eventLogger, seen[0]);
}

TEST_F(EventLogger, NoInstanceAfterShutdown)
{
    CNorqEventLogger* logger = CNorqEventLogger::GetInstance();
    ASSERT_NE(logger, nullptr);
    LogEvent("T", "before shutdown");
    const std::string path = logger->FullPath();
    CNorqEventLogger::Shutdown();

    EXPECT_EQ(g_eventLogger, nullptr);
    EXPECT_EQ(CNorqEventLogger::GetInstance(), nullptr);
    EXPECT_EQ(CNorqEventLogger::GetInstance(), nullptr) << "never made again";
    LogEvent("T", "after shutdown");
    const std::string content = ReadFile(path);
    EXPECT_NE(content.find("T before shutdown"), std::string::npos);
    EXPECT_EQ(content.find("after shutdown"), std::string::npos);

    // Deleting the instance directly ends it for good as well.
    CNorqEventLogger::RearmForTests();
    delete CNorqEventLogger::GetInstance();
    EXPECT_EQ(g_eventLogger, nullptr);
    EXPECT_EQ(CNorqEventLogger::GetInstance(), nullptr);
}

// The link's threads log through the function they were given while the
// program shuts the logger down: nothing may be freed under them (ASan and
// TSan runs check it), and what came before the shutdown is in the file.
TEST_F(EventLogger, LinkThreadsLogWhileTheLoggerShutsDown)
{
    CNorqEventLogger* logger = CNorqEventLogger::GetInstance();
    ASSERT_NE(logger, nullptr);
    const std::string path = logger->FullPath();
    constexpr int kThreads = 3;
    std::latch started(kThreads);
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            DecodeState state;
            state.log = LogEventText;
            DecodeLog(state, "Link", "first from " + std::to_string(t));
            started.count_down();
            while (!stop.load())
                DecodeLog(state, "Link", "more");
        });
    started.wait();
    CNorqEventLogger::Shutdown();
    stop = true;
    for (auto& thread : threads)
        thread.join();

    const std::string content = ReadFile(path);
    for (int t = 0; t < kThreads; ++t)
        EXPECT_NE(content.find("Link first from " + std::to_string(t)), std::string::npos) << t;
}

} // namespace
