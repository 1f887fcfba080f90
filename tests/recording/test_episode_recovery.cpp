// Episodes cut short are finished at the next start: a recording killed
// with SIGKILL in a child process, and the states a file and its journal
// can be left in, read back by the field reader.
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/AppTestSupport.h"
#include "recording/EpisodeRecovery.h"
#include "recording/LiveRecording.h"
#include "recording/QreImage.h"
#include "recording/QreReader.h"
#include "recording/RecordingTestFiles.h"

namespace {

const COleDate kStart = COleDate::FromDate(2024, 1, 31, 14, 5, 9);

std::vector<std::string> Recover(const std::string& folder, std::vector<RecoveredEpisode>* recovered = nullptr)
{
    std::vector<std::string> lines;
    auto episodes = RecoverInterruptedEpisodes(folder, [&](const std::string& line) { lines.push_back(line); });
    if (recovered != nullptr)
        *recovered = std::move(episodes);
    return lines;
}

uint64_t FileSize(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? uint64_t(info.st_size) : 0;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// The child: records frame i with ECG i, a marker at each of `markers`,
// tells the parent once all of it is on the disk, then waits to be killed.
[[noreturn]] void RecordUntilKilled(const std::string& folder, int toParent, uint32_t frames,
                                    const std::vector<uint32_t>& markers)
{
    AppOnMemoryStore env;
    env.StartUp();
    env.app.SetRecordFolder(folder);
    env.app.m_config.recordMode = 1;
    ResetLiveStore();
    g_liveData.deviceKind = kDeviceTarvik;
    g_liveData.featureBits = kFeatureEcg;
    g_liveData.sampleRate = 400;
    CNorqFileRecorder recorder(nullptr, PosixRecordFileSystem(), 20);
    CScriptedPrompter prompter;
    LiveRecordingServices s;
    s.app = &env.app;
    s.recorder = &recorder;
    s.prompter = &prompter;
    s.statusMessage = [](const std::string&) {};
    s.queueCommand = [](const std::string&) {};
    s.tickMs = [] { return uint64_t(1000); };
    s.now = [] { return kStart; };
    s.log = [](const char*, const std::string&) {};
    CLiveRecording recording(std::move(s));
    PatientData patient;
    patient.info.name = "Rex";
    patient.info.clientFirstName = "Ann";
    patient.info.clientLastName = "Kay";
    recording.StartRecording(patient, false);
    for (uint32_t i = 0; i < frames; ++i) {
        SampleFrame frame;
        frame.ecg = int16_t(i);
        frame.flags = SampleFrame::kFlagEcgValid;
        if (std::find(markers.begin(), markers.end(), i) != markers.end())
            frame.event.Init(CEcgEvent::kMarker, g_liveData, 1, 0, 0);
        recording.HandFrame(frame);
    }
    const std::string path = recorder.GetFilePath();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (FileSize(path) != kQreHeaderSize + uint64_t(frames) * kQreSampleRecordSize ||
           FileSize(JournalPathOf(path)) != markers.size() * kQreEventRecordSize) {
        if (std::chrono::steady_clock::now() > deadline)
            ::_exit(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const char ready = 'R';
    (void)::write(toParent, &ready, 1);
    for (;;)
        ::pause();
}

// A journal record: code, position and feature bits where the file keeps
// them.
std::array<uint8_t, 84> JournalRecord(uint8_t code, uint32_t position, uint16_t features = 0)
{
    std::array<uint8_t, 84> record{};
    record[0] = code;
    for (int i = 0; i < 4; ++i)
        record[4 + i] = uint8_t(position >> (8 * i));
    record[8] = uint8_t(features);
    record[9] = uint8_t(features >> 8);
    return record;
}

}  // namespace

TEST(EpisodeRecovery, ARecordingKilledMidEpisodeIsFinishedAtTheNextStart)
{
    TempFolder folder;
    constexpr uint32_t kFrames = 2000;  // five seconds at 400 a second
    const std::vector<uint32_t> markers = {100, 900, 1500};
    // A finished episode beside it stays as it is, byte for byte.
    const std::string finished = folder / "Max_Kay_20240130_090000.qre";
    QreImage done;
    done.Text(0, 4, "QRE");
    done.U32(5052, 1);
    done.AppendSample(7, 1);
    WriteBytes(finished, done.bytes);

    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipeFds[0]);
        RecordUntilKilled(folder.Path(), pipeFds[1], kFrames, markers);
    }
    ::close(pipeFds[1]);
    pollfd ready{pipeFds[0], POLLIN, 0};
    char said = 0;
    const bool flushed = ::poll(&ready, 1, 20000) == 1 && ::read(pipeFds[0], &said, 1) == 1 && said == 'R';
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(pipeFds[0]);
    ASSERT_TRUE(flushed) << "the child never saw its frames on the disk";
    ASSERT_TRUE(WIFSIGNALED(status));

    const std::string path = folder / "Rex_Kay_20240131_140509.qre";
    EXPECT_EQ(ReadQre(ReadWholeFile(path)).sampleCount, 0u) << "killed, its counts were never written";
    std::vector<RecoveredEpisode> recovered;
    const auto lines = Recover(folder.Path(), &recovered);
    EXPECT_EQ(lines, std::vector<std::string>{"Recovered interrupted recording " + path + ": 2000 samples, 3 events"});
    ASSERT_EQ(recovered.size(), 1u);
    EXPECT_EQ(recovered[0].path, path);
    EXPECT_EQ(recovered[0].text, "01/31/2024 14:05:09  *ECG  Rex / Ann Kay");

    const QreContents qre = ReadQre(ReadWholeFile(path));
    EXPECT_EQ(qre.magic, "QRE");
    EXPECT_EQ(qre.version, 3);
    EXPECT_EQ(qre.startTime, kStart.Value());
    EXPECT_EQ(qre.patientName, "Rex");
    EXPECT_EQ(qre.note, "Tarvik Captured: 01/31/2024 14:05:09\r\n");
    EXPECT_EQ(qre.sampleRate, 400);
    EXPECT_EQ(qre.recordingKind, 1);
    EXPECT_TRUE(qre.sizesAgree);
    EXPECT_EQ(qre.sampleTicks, kFrames);
    ASSERT_EQ(qre.samples.size(), kFrames);
    for (uint32_t i = 0; i < kFrames; ++i)
        ASSERT_EQ(qre.samples[i].first, int16_t(i)) << i;
    ASSERT_EQ(qre.events.size(), markers.size());
    for (std::size_t k = 0; k < markers.size(); ++k) {
        EXPECT_EQ(qre.events[k][0], CEcgEvent::kMarker);
        EXPECT_EQ(qre.events[k][4] | qre.events[k][5] << 8, int(markers[k]));
    }
    EXPECT_EQ(qre.eventKinds, kFeatureEcg);
    EXPECT_FALSE(std::filesystem::exists(JournalPathOf(path)));
    EXPECT_EQ(ReadWholeFile(finished), done.bytes);

    // Once finished, the next start finds nothing to do.
    const std::vector<uint8_t> after = ReadWholeFile(path);
    EXPECT_TRUE(Recover(folder.Path()).empty());
    EXPECT_EQ(ReadWholeFile(path), after);
}

TEST(EpisodeRecovery, EachStateAFileAndItsJournalCanBeLeftIn)
{
    const struct {
        const char* what;
        uint8_t kind;                // recordingKind of the early header
        uint32_t countsInHeader;     // a finished file's sample count
        std::size_t samples;         // whole sample records on the disk
        std::size_t tornBytes;       // a record cut short after them
        std::size_t eventsInFile;    // event records a close wrote before it was cut
        std::vector<std::array<uint8_t, 84>> journal;
        bool held;                   // a running recorder holds the journal
        bool listed;
        bool fileStays;
        uint32_t expectedSamples, expectedTicks, expectedEvents;
    } cases[] = {
        {"waveforms, a sample and a journal record torn", 1, 0, 10, 2,
         0, {JournalRecord('"', 3, 1), JournalRecord('#', 8, 0x21)}, false, true, true, 10, 10, 2},
        {"vitals only", 0, 0, 0, 0, 0, {JournalRecord('#', 399, 8)}, false, true, true, 0, 400, 1},
        {"cut short in the close", 1, 0, 10, 0, 1, {JournalRecord('"', 3, 1), JournalEndMark(10)},
         false, true, true, 10, 10, 1},
        {"holding nothing", 1, 0, 0, 0, 0, {}, false, false, false, 0, 0, 0},
        {"finished, its journal left over", 1, 10, 10, 0, 0, {JournalRecord('"', 3, 1)}, false, true, true, 10, 0, 0},
        {"still being recorded", 1, 0, 10, 0, 0, {JournalRecord('"', 3, 1)}, true, false, true, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const std::string path = folder / "Rex_20240131_140509.qre";
        QreImage image;
        image.Text(0, 4, "QRE");
        image.U32(4, 3);
        image.F64(8, kStart.Value());
        image.Text(656, 40, "Rex");
        image.Text(696, 40, "Ann Kay");
        image.U8(5035, c.kind);
        image.U32(5052, c.countsInHeader);
        for (std::size_t i = 0; i < c.samples; ++i)
            image.AppendSample(uint16_t(i), 1);
        for (std::size_t i = 0; i < c.eventsInFile; ++i)
            image.AppendEvent(c.journal[i]);
        image.bytes.insert(image.bytes.end(), c.tornBytes, 0xEE);
        WriteBytes(path, image.bytes);
        std::vector<uint8_t> journal;
        for (const auto& record : c.journal)
            journal.insert(journal.end(), record.begin(), record.end());
        journal.insert(journal.end(), 40, 0x55);  // a record cut short
        WriteBytes(JournalPathOf(path), journal);
        const int holder = ::open(JournalPathOf(path).c_str(), O_RDONLY | O_CLOEXEC);
        if (c.held) {
            ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
        }

        std::vector<RecoveredEpisode> recovered;
        const auto lines = Recover(folder.Path(), &recovered);
        ::close(holder);
        EXPECT_EQ(recovered.size(), c.listed ? 1u : 0u);
        EXPECT_EQ(std::filesystem::exists(path), c.fileStays);
        EXPECT_EQ(std::filesystem::exists(JournalPathOf(path)), c.held);
        EXPECT_EQ(lines.size(), c.held ? 0u : 1u) << "one line for each file but one still being recorded";
        if (!c.listed)
            continue;
        EXPECT_EQ(recovered[0].text, std::string("01/31/2024 14:05:09  ") + (c.expectedSamples ? "*ECG" : "    ") +
                                         "  Rex / Ann Kay");
        const QreContents qre = ReadQre(ReadWholeFile(path));
        EXPECT_TRUE(qre.sizesAgree);
        if (c.countsInHeader != 0) {
            EXPECT_EQ(ReadWholeFile(path), image.bytes) << "a finished file is left as it was";
            continue;
        }
        EXPECT_EQ(qre.sampleCount, c.expectedSamples);
        EXPECT_EQ(qre.sampleTicks, c.expectedTicks);
        EXPECT_EQ(qre.eventCount, c.expectedEvents);
        uint16_t kinds = 0;
        for (std::size_t i = 0; i < c.expectedEvents; ++i) {
            EXPECT_EQ(qre.events[i], c.journal[i]) << i;
            kinds = uint16_t(kinds | c.journal[i][8] | c.journal[i][9] << 8);
        }
        EXPECT_EQ(qre.eventKinds, kinds);
    }
}
