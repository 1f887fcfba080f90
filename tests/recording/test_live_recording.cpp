// The live recording against real files: what an episode leaves on disk,
// under which name, and what the list, the log and the remote are told.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "app/AppTestSupport.h"
#include "recording/EpisodeNames.h"
#include "recording/FakeRecordFiles.h"
#include "recording/LiveRecording.h"
#include "recording/QreImage.h"
#include "recording/QreReader.h"
#include "recording/RecordingTestFiles.h"

namespace {

constexpr uint16_t kEcgAndCo2 = kFeatureEcg | kFeatureCO2;

class LiveRecordingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLiveStore();
        g_liveData.deviceKind = kDeviceTarvik;
        g_liveData.featureBits = kEcgAndCo2;
        g_liveData.sampleRate = 400;
        env.StartUp();
        folder = env.folder / "records";
        env.app.SetRecordFolder(folder);
        Config().recordMode = 1;
        recorder = std::make_unique<CNorqFileRecorder>(nullptr, fileSystem, 2);
        LiveRecordingServices s;
        s.app = &env.app;
        s.recorder = recorder.get();
        s.prompter = &prompter;
        s.statusMessage = [this](const std::string& text) {
            statuses.push_back(text);
            if (onStatus)
                onStatus();
        };
        s.queueCommand = [this](const std::string& text) { commands.push_back(text); };
        s.tickMs = [this] { return tick; };
        s.now = [this] { return now; };
        s.log = [this](const char*, const std::string& line) { logs.push_back(line); };
        s.cuffSize = [] { return uint8_t(3); };
        recording = std::make_unique<CLiveRecording>(std::move(s));
        recorder->SetRenameReport([this](const CNorqFileRecorder::RenameReport& report) {
            {
                std::lock_guard lock(reportLock);
                reports.push_back(report);
            }
            reported.notify_all();
        });
        recorder->SetFileEndReport([this](const CNorqFileRecorder::FileEndReport& report) {
            {
                std::lock_guard lock(reportLock);
                ends.push_back(report);
            }
            reported.notify_all();
        });
        patient.info.name = "Rex";
        patient.info.clientFirstName = "Ann";
        patient.info.clientLastName = "Kay";
        ASSERT_TRUE(files->WaitSaved(*recorder));
    }
    void TearDown() override
    {
        // The worker reports into this fixture until it ends.
        recording.reset();
        recorder.reset();
        ResetLiveStore();
    }

    RemoteConfiguration& Config() { return env.app.m_config; }

    // Frames 2.5 ms apart, as a 400/s remote sends them.
    void Frames(int count, uint8_t eventCode = 0)
    {
        for (int i = 0; i < count; ++i) {
            SampleFrame frame;
            frame.ecg = int16_t(i);
            frame.flags = SampleFrame::kFlagEcgValid;
            if (eventCode != 0 && i == 0)
                frame.event.Init(eventCode, g_liveData, 1, 0, 0);
            recording->HandFrame(frame);
            tick += (i % 2) == 0 ? 2 : 3;
        }
    }
    // The close, and everything the worker was given before it: a rename
    // of a missing file is reported after all that was queued earlier.
    void Close()
    {
        recording->CloseRecording(patient.info, false);
        const std::string barrier = folder + "/.missing";
        recorder->RenameFile(barrier, barrier + "2");
        std::vector<CNorqFileRecorder::RenameReport> taken;
        {
            std::unique_lock lock(reportLock);
            ASSERT_TRUE(reported.wait_for(lock, std::chrono::seconds(5), [&] {
                return std::any_of(reports.begin(), reports.end(),
                                   [&](const auto& r) { return r.oldPath == barrier; });
            }));
            taken.swap(reports);
        }
        ASSERT_TRUE(files->WaitSaved(*recorder));
        for (const auto& report : taken)
            recording->OnRenameReport(report);
    }
    // The recorder's word on the end of its next file, as the view hands
    // it to the recording.
    std::optional<RecordingFailure> NextEnd()
    {
        CNorqFileRecorder::FileEndReport end;
        {
            std::unique_lock lock(reportLock);
            EXPECT_TRUE(reported.wait_for(lock, std::chrono::seconds(5), [&] { return !ends.empty(); }));
            if (ends.empty())
                return std::nullopt;
            end = ends.front();
            ends.erase(ends.begin());
        }
        return recording->OnFileEnd(end);
    }
    std::string Path(const std::string& name) const { return folder + "/" + name; }
    int EventsCoded(uint8_t code) const
    {
        int n = 0;
        for (const CEcgEvent& e : recording->Events())
            n += e.code == code;
        return n;
    }

    AppOnMemoryStore env;
    std::string folder;
    std::shared_ptr<WatchedFiles> files = std::make_shared<WatchedFiles>();
    std::shared_ptr<IRecordFileSystem> fileSystem = files;
    std::unique_ptr<CNorqFileRecorder> recorder;
    std::unique_ptr<CLiveRecording> recording;
    CScriptedPrompter prompter;
    std::vector<std::string> statuses, commands, logs;
    std::function<void()> onStatus;
    std::mutex reportLock;
    std::condition_variable reported;
    std::vector<CNorqFileRecorder::RenameReport> reports;
    std::vector<CNorqFileRecorder::FileEndReport> ends;
    uint64_t tick = 5'000'000;
    COleDate now = COleDate::FromDate(2024, 1, 31, 14, 5, 9);
    PatientData patient;
};

// The same on a disk in memory that can hold the worker, fail and refuse.
class LiveRecordingOnFakeDisk : public LiveRecordingTest {
protected:
    LiveRecordingOnFakeDisk() { fileSystem = std::make_shared<FakeFileSystem>(disk); }
    // Everything handed so far is on the fake disk.
    bool Written(const std::string& path, std::size_t size)
    {
        return disk->WaitFor([&] {
            std::size_t end = 0;
            for (const FakeWrite& w : disk->writes)
                if (w.path == path)
                    end = std::max<std::size_t>(end, w.offset + w.bytes.size());
            return end == size;
        });
    }

    std::shared_ptr<FakeDisk> disk = std::make_shared<FakeDisk>();
};

std::array<uint8_t, 84> RecordOf(CEcgEvent event, uint32_t position)
{
    event.position = position;
    std::array<uint8_t, 84> bytes{};
    event.WriteRecord(bytes.data());
    std::fill(bytes.begin() + 58, bytes.begin() + 66, uint8_t{0});
    return bytes;
}

}  // namespace

TEST(EpisodeNames, FileNamesListLinesAndMissingFields)
{
    const COleDate start = COleDate::FromDate(2024, 1, 31, 14, 5, 9);
    CPatientInfo p;
    p.name = "Rex / Jr.";
    p.clientLastName = "O'Neil";
    EXPECT_EQ(EpisodeFilePath("/r", false, p, start), "/r/Rex---Jr-_O'Neil_20240131_140509.qre");
    EXPECT_EQ(EpisodeFilePath("/r", true, p, start, "_2"), "/r/DEMO_Rex---Jr-_O'Neil_20240131_140509_2.qre");
    EXPECT_EQ(SanitizeFileNamePart(" \"*./:<>?\\|a"), "----------" "-a");
    EXPECT_EQ(EpisodeFilePath("/r", false, CPatientInfo{}, start), "/r/20240131_140509.qre");
    EXPECT_EQ(TakenNameSuffix("/r/a.qre", "/r/a_3.qre"), "_3");
    EXPECT_EQ(TakenNameSuffix("/r/a.qre", "/r/a.qre"), "");

    p.clientFirstName = "Ann";
    EXPECT_EQ(EpisodeText(start, true, p), "01/31/2024 14:05:09  *ECG  Rex / Jr. / Ann O'Neil");
    EXPECT_EQ(EpisodeText(start, false, p), "01/31/2024 14:05:09        Rex / Jr. / Ann O'Neil");

    const struct {
        const char* name;
        const char* id;
        bool entered;
        const char* last;
        const char* missing;
    } cases[] = {
        {"Rex", "20240131", true, "Kay", ""},
        {"Rex", "20240131", false, "Kay", "- Patient Name\n"},
        {"20240131", "20240131", true, "Kay", "- Patient Name\n"},
        {"", "20240131", true, "", "- Patient Name\n- Client Last Name\n"},
    };
    for (const auto& c : cases) {
        PatientData d;
        d.info.name = c.name;
        d.info.patientId = c.id;
        d.info.clientLastName = c.last;
        d.nameEntered = c.entered;
        EXPECT_EQ(MissingPatientFields(d), c.missing) << c.name << "/" << c.entered;
    }
}

TEST_F(LiveRecordingTest, AWaveformEpisodeWithCo2IsWrittenWholeAndListed)
{
    Config().co2Save = 1;
    Config().notch = 1;
    Config().bandwidth = 0;
    Config().units[0] = 0;
    Config().clinic = "Norq Vets";
    Config().units[6] = 1;
    patient.info.species = "Canine";
    patient.info.weight = "12";
    patient.info.weightUnit = "kgs";
    recording->StartRecording(patient, false);
    ASSERT_TRUE(recording->IsRecording());
    EXPECT_EQ(statuses, std::vector<std::string>{"Rex_Kay_20240131_140509.qre"});

    SampleFrame frames[3];
    frames[0].ecg = 100;
    frames[0].flags = 1;
    frames[0].co2Valid = 1;
    frames[0].co2 = 40;
    frames[1].ecg = -5;
    frames[1].flags = 3;
    frames[1].event.Init(CEcgEvent::kMarker, g_liveData, 1, 0, 0);
    frames[2].ecg = 7;
    for (SampleFrame& f : frames)
        recording->HandFrame(f);
    EXPECT_EQ(frames[1].event.position, 1u);  // stamped in the ring frame
    const CEcgEvent marker = frames[1].event;
    Close();

    QreImage image;
    image.Text(0, 4, "QRE");
    image.U32(4, 3);
    image.F64(8, now.Value());
    image.Text(16, 80, "Norq Vets");
    image.Text(656, 40, "Rex");
    image.Text(696, 40, "Ann Kay");
    image.Text(736, 40, "Canine");
    image.Text(896, 40, "12 kgs");
    image.Text(936, 4096, "Tarvik Captured: 01/31/2024 14:05:09\r\n");
    image.U8(5033, 1);
    image.U8(5034, 1);
    image.U8(5035, 2);
    image.U8(5037, 1);
    image.U16(5044, 400);
    image.U32(5048, 3);
    image.U32(5052, 3);
    image.U16(5056, kEcgAndCo2);
    image.U32(5060, 1);
    for (int i = 0; i < 9; ++i)
        image.U8(5064 + i, uint8_t(Config().units[i]));
    image.AppendSample(100, 0x0001 | 0x0020 | (40 << 6));
    image.AppendSample(uint16_t(-5), 0x0003);
    image.AppendSample(7, 0);
    image.AppendEvent(RecordOf(marker, 1));

    const std::string path = Path("Rex_Kay_20240131_140509.qre");
    EXPECT_EQ(FirstMismatch(ReadWholeFile(path), image.bytes), "");
    ASSERT_EQ(recording->Episodes().size(), 1u);
    EXPECT_EQ(recording->Episodes()[0].path, path);
    EXPECT_EQ(recording->Episodes()[0].text, "01/31/2024 14:05:09  *ECG  Rex / Ann Kay");
    EXPECT_EQ(statuses.back(), "Ready");
    EXPECT_EQ(logs.back(), "Closing Recording File: Rex_Kay_20240131_140509.qre at location: " + folder + "/");
}

TEST_F(LiveRecordingTest, AnEpisodeIsKeptOnlyWhenItHoldsSomething)
{
    const struct {
        const char* what;
        int32_t startMode;   // "RecordMode" at the start
        int32_t laterMode;   // changed in the dialog mid-episode
        int frames;
        uint8_t event;
        bool kept;
        uint8_t kind;
        uint32_t samples;
    } cases[] = {
        {"waveforms, closed at once", 1, 1, 0, 0, false, 0, 0},
        {"vitals only, no event", 0, 0, 50, 0, false, 0, 0},
        {"vitals only, one marker", 0, 0, 50, CEcgEvent::kMarker, true, 0, 0},
        {"waveforms", 1, 1, 50, 0, true, 1, 50},
        {"waveforms, then mode 0", 1, 0, 50, 0, true, 1, 50},
        {"vitals only, then mode 1", 0, 1, 50, CEcgEvent::kMarker, true, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(folder);
        g_liveData.featureBits = kFeatureEcg;
        Config().recordMode = c.startMode;
        const std::size_t listed = recording->Episodes().size();
        recording->StartRecording(patient, false);
        Config().recordMode = c.laterMode;
        Frames(c.frames, c.event);
        Close();
        const auto names = FilesIn(folder);
        ASSERT_EQ(names.size(), c.kept ? 1u : 0u);
        EXPECT_EQ(recording->Episodes().size(), listed + (c.kept ? 1 : 0));
        if (!c.kept)
            continue;
        const QreContents file = ReadQre(ReadWholeFile(Path(names[0])));
        EXPECT_TRUE(file.sizesAgree);
        EXPECT_EQ(file.recordingKind, c.kind);
        EXPECT_EQ(file.sampleTicks, uint32_t(c.frames));
        EXPECT_EQ(file.sampleCount, c.samples);
        EXPECT_EQ(file.samples.size(), c.samples);
        EXPECT_EQ(file.eventCount, c.event != 0 ? 1u : 0u);
        now = now.AddDays(1);
    }
}

TEST_F(LiveRecordingTest, PeriodicVitalsFollowEventCaptureAcrossTheTickWrap)
{
    const struct {
        int32_t seconds;
        uint64_t startTick;
        int expected;
    } cases[] = {
        {60, 5'000'000, 5},
        {0, 5'000'000, 5},                   // below 1 counts as 60
        {30, 5'000'000, 10},
        {60, (uint64_t(1) << 32) - 100'000, 5},  // where a 32-bit tick wraps
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        Config().eventCapture = c.seconds;
        tick = c.startTick;
        recording->StartRecording(patient, false);
        Frames(400 * 330);  // 5 min 30 s
        EXPECT_EQ(EventsCoded(CEcgEvent::kVitals), c.expected);
        EXPECT_EQ(recording->RecordTicks(), 400u * 330u);
        Close();
        now = now.AddDays(1);
    }
}

TEST_F(LiveRecordingTest, NamesAreNeverTakenFromAnotherFile)
{
    // Two starts in one second: the second file takes "_2" and keeps it.
    for (int i = 0; i < 2; ++i) {
        recording->StartRecording(patient, false);
        Frames(10);
        Close();
    }
    EXPECT_EQ(FilesIn(folder),
              (std::vector<std::string>{"Rex_Kay_20240131_140509.qre", "Rex_Kay_20240131_140509_2.qre"}));
    EXPECT_EQ(recording->Episodes().back().path, Path("Rex_Kay_20240131_140509_2.qre"));

    // Renamed at the close after the patient's data changed; the start
    // time stays.
    now = COleDate::FromDate(2024, 2, 1, 9, 0, 0);
    recording->StartRecording(patient, false);
    Frames(10);
    patient.info.name = "Max";
    Close();
    const auto names = FilesIn(folder);
    EXPECT_NE(std::find(names.begin(), names.end(), "Max_Kay_20240201_090000.qre"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "Rex_Kay_20240201_090000.qre"), names.end());
    EXPECT_EQ(recording->Episodes().back().path, Path("Max_Kay_20240201_090000.qre"));
}

TEST_F(LiveRecordingTest, ARenameOntoAnotherFileKeepsBothAndListsTheRealOne)
{
    std::filesystem::create_directories(folder);
    const std::string other = Path("Max_Kay_20240131_140509.qre");
    std::ofstream(other) << "another animal";
    recording->StartRecording(patient, false);
    Frames(10);
    patient.info.name = "Max";
    Close();
    EXPECT_EQ(ReadWholeFile(other).size(), std::string("another animal").size());
    EXPECT_EQ(ReadQre(ReadWholeFile(Path("Rex_Kay_20240131_140509.qre"))).sampleCount, 10u);
    EXPECT_EQ(recording->Episodes().back().path, Path("Rex_Kay_20240131_140509.qre"));
}

TEST_F(LiveRecordingTest, TheListKeepsTheNewestHundred)
{
    for (int i = 0; i < 101; ++i) {
        recording->StartRecording(patient, false);
        Frames(1);
        Close();
        now = now.AddDays(1);
    }
    ASSERT_EQ(recording->Episodes().size(), 100u);
    EXPECT_EQ(recording->Episodes().front().path, Path("Rex_Kay_20240201_140509.qre"));
    EXPECT_EQ(FilesIn(folder).size(), 101u);
}

TEST_F(LiveRecordingTest, AFailedRecorderIsToldOnceRestartedAndRecordsAgain)
{
    files->failWith = ENOSPC;
    recording->StartRecording(patient, false);
    Frames(10);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    std::optional<RecordingFailure> failure;
    while (!failure && std::chrono::steady_clock::now() < deadline)
        failure = recording->TakeFailure();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->boxText, "Recording has stopped because of error. Error code 0xd, Exception "
                                "CFileException::diskFull. \nPlease restart recording.  File will be saved "
                                "to directory " + folder + ". \n");
    EXPECT_FALSE(recording->TakeFailure());
    EXPECT_FALSE(recording->IsRecording());

    files->failWith = 0;
    now = now.AddDays(1);
    recording->StartRecording(patient, false);
    EXPECT_EQ(std::count(logs.begin(), logs.end(),
                         "NorqFileRecorder Error: State RECORDER_ERROR. Error msg CFileException::diskFull, "
                         "Code 13.  Resetting State."),
              1);
    Frames(10);
    Close();
    EXPECT_EQ(ReadQre(ReadWholeFile(Path("Rex_Kay_20240201_140509.qre"))).sampleCount, 10u);
    // The failed episode's file stays where it was, unfinished.
    EXPECT_TRUE(std::filesystem::exists(Path("Rex_Kay_20240131_140509.qre")));
}

TEST_F(LiveRecordingTest, SelvoCommandsAndTheRecordModeAfterTheClose)
{
    const struct {
        int32_t kind;
        uint16_t features;
        int32_t modeBefore;
        int32_t modeRecording;
        int32_t modeAfter;
    } cases[] = {
        {kDeviceSelvo, kFeatureEcg, 0, 1, 0},          // back to the stored 0
        {kDeviceSelvo, kFeatureTemp, 0, 0, 0},
        {kDeviceSelvo, kFeatureSpO2 | kFeatureTemp, 1, 1, 0},
        {kDeviceBrindle, kFeatureNibp, 1, 1, 0},
        {kDeviceTarvik, kFeatureEcg, 1, 1, 1},
    };
    env.app.m_storedConfig.recordMode = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind * 100 + c.features);
        g_liveData.deviceKind = c.kind;
        g_liveData.featureBits = c.features;
        Config().recordMode = c.modeBefore;
        commands.clear();
        recording->StartRecording(patient, false);
        EXPECT_EQ(Config().recordMode, c.modeRecording);
        Frames(5, CEcgEvent::kMarker);
        // A close nested in the close does nothing but tell the Selvo.
        onStatus = [&] { recording->CloseRecording(patient.info, false); };
        Close();
        onStatus = nullptr;
        EXPECT_EQ(Config().recordMode, c.modeAfter);
        const bool selvo = c.kind == kDeviceSelvo;
        EXPECT_EQ(commands, selvo ? (std::vector<std::string>{"\rRD 1\r", "\rRD 0\r", "\rRD 0\r"})
                                  : std::vector<std::string>{});
        now = now.AddDays(1);
    }
    EXPECT_EQ(FilesIn(folder).size(), 5u);
}

TEST_F(LiveRecordingTest, WithoutAUsableFolderNothingIsRecorded)
{
    env.app.SetRecordFolder("/proc/no-such/records");
    env.app.SetEpisodeFolder("/proc/no-such/episodes");
    recording->StartRecording(patient, false);
    EXPECT_FALSE(recording->IsRecording());
    EXPECT_EQ(env.app.RecordFolder(), "/proc/no-such/episodes");
    ASSERT_EQ(prompter.Prompts().size(), 1u);
    EXPECT_EQ(prompter.Prompts()[0].text, "No recording path available.\nPlease check permissions.");
    EXPECT_EQ(logs.back(), "Even Default recording path \"/proc/no-such/episodes\" is unavailable");

    // Nor while the start-up holds recordings back.
    env.app.SetRecordFolder(folder);
    recording->StartRecording(patient, true);
    EXPECT_FALSE(recording->IsRecording());
}

TEST_F(LiveRecordingOnFakeDisk, AStartWhileTheEpisodeBeforeIsSavedFollowsItWithoutABox)
{
    const std::string first = Path("Rex_Kay_20240131_140509.qre");
    const auto closeHeld = [&] {
        Frames(10);
        ASSERT_TRUE(Written(recorder->GetFilePath(), kQreHeaderSize + 40));
        {
            std::lock_guard lock(disk->mutex);
            disk->blockAtCall = disk->writeCalls + 1;
            disk->blocked = disk->released = false;
        }
        recording->CloseRecording(patient.info, false);
        ASSERT_TRUE(disk->WaitBlocked());
    };
    recording->StartRecording(patient, false);
    closeHeld();
    EXPECT_EQ(recording->StartRecording(patient, false), RecordingStart::kWaiting);
    EXPECT_EQ(statuses.back(),
              "Please Wait until all data from previous episode has been saved. This may take a few minutes.");
    EXPECT_EQ(recording->RetryStart(patient, false), RecordingStart::kWaiting);
    EXPECT_FALSE(recording->IsRecording());
    disk->Release();
    EXPECT_FALSE(NextEnd());
    EXPECT_EQ(recording->RetryStart(patient, false), RecordingStart::kStarted);
    EXPECT_EQ(recorder->GetFilePath(), Path("Rex_Kay_20240131_140509_2.qre"));
    EXPECT_EQ(ReadQre(disk->Image(first)).sampleCount, 10u);

    // A close calls off a start that waits; so does a wait beyond two
    // minutes, with a line in the log.
    closeHeld();
    EXPECT_EQ(recording->StartRecording(patient, false), RecordingStart::kWaiting);
    recording->CloseRecording(patient.info, false);
    EXPECT_EQ(recording->RetryStart(patient, false), RecordingStart::kNotStarted);
    EXPECT_EQ(recording->StartRecording(patient, false), RecordingStart::kWaiting);
    tick += CLiveRecording::kStartWaitMs;
    EXPECT_EQ(recording->RetryStart(patient, false), RecordingStart::kNotStarted);
    EXPECT_FALSE(recording->StartWaiting());
    EXPECT_EQ(logs.back(), "The previous episode is still being saved; the recording was not started");
    disk->Release();
    EXPECT_TRUE(prompter.Prompts().empty());
}

TEST_F(LiveRecordingOnFakeDisk, ADiskThatFillsAtTheCloseIsToldAndItsEpisodeLeftOutOfTheList)
{
    const std::string path = Path("Rex_Kay_20240131_140509.qre");
    recording->StartRecording(patient, false);
    Frames(10, CEcgEvent::kMarker);
    ASSERT_TRUE(Written(path, kQreHeaderSize + 40));
    {
        std::lock_guard lock(disk->mutex);
        disk->failSize = kQreHeaderSize;  // the final header
        disk->failErrno = ENOSPC;
    }
    patient.info.name = "Max";  // listed under the name it was to be given
    recording->CloseRecording(patient.info, false);
    ASSERT_EQ(recording->Episodes().size(), 1u);
    const auto failure = NextEnd();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->boxText, "Recording has stopped because of error. Error code 0xd, Exception "
                                "CFileException::diskFull. \nPlease restart recording.  File will be saved "
                                "to directory " + folder + ". \n");
    EXPECT_EQ(failure->logLine, " QRE File Rex_Kay_20240131_140509.qre has unexpectedly stopped recording!  Error "
                                "CFileException::diskFull, code 0xd!");
    EXPECT_TRUE(recording->Episodes().empty());
    EXPECT_FALSE(recording->TakeFailure()) << "told once";
    // The file and its journal stay, for the next start to finish.
    const std::string renamed = Path("Max_Kay_20240131_140509.qre");
    ASSERT_TRUE(disk->WaitFor([&] { return disk->names.count(renamed) != 0; }));
    EXPECT_EQ(disk->names.count(JournalPathOf(renamed)), 1u);
}

TEST_F(LiveRecordingOnFakeDisk, AFolderThatTakesNoFileGivesWayToTheEpisodeFolderOnce)
{
    const std::string episodes = env.app.EpisodeFolder();
    const struct {
        const char* what;
        bool episodesRefuse;
        std::vector<std::string> prompts;
    } cases[] = {
        {"the recording folder refuses", false,
         {"The recording folder \"" + folder + "\" cannot be written.\nEpisodes are saved to \"" + episodes +
          "\" instead."}},
        {"both refuse", true,
         {"Recording has stopped because of error. Error code 0x5, Exception CFileException::accessDenied. \n"
          "Please restart recording.  File will be saved to directory " + episodes + ". \n"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        env.app.SetRecordFolder(folder);
        disk->refusingFolders = {{folder, EROFS}};
        if (c.episodesRefuse)
            disk->refusingFolders[episodes] = EACCES;
        const std::size_t promptsBefore = prompter.Prompts().size();
        recording->StartRecording(patient, false);
        EXPECT_EQ(recording->IsRecording(), !c.episodesRefuse);
        EXPECT_EQ(env.app.RecordFolder(), episodes) << "for the rest of the run";
        ASSERT_EQ(prompter.Prompts().size(), promptsBefore + 1);
        EXPECT_EQ(prompter.Prompts().back().text, c.prompts[0]);
        if (c.episodesRefuse)
            continue;
        EXPECT_EQ(recorder->GetFilePath(), episodes + "/Rex_Kay_20240131_140509.qre");
        Frames(5);
        Close();
        now = now.AddDays(1);
        recording->StartRecording(patient, false);
        EXPECT_TRUE(recording->IsRecording());
        EXPECT_EQ(prompter.Prompts().size(), promptsBefore + 1) << "said once";
        Close();
        now = now.AddDays(1);
    }
}

TEST_F(LiveRecordingTest, ARealReadOnlyFolderGivesWayToTheEpisodeFolder)
{
    std::filesystem::create_directories(folder);
    ::chmod(folder.c_str(), 0555);
    if (::access(folder.c_str(), W_OK) == 0)
        GTEST_SKIP() << "this user may write into a read-only folder (root)";
    recording->StartRecording(patient, false);
    ::chmod(folder.c_str(), 0755);
    ASSERT_TRUE(recording->IsRecording());
    ASSERT_EQ(prompter.Prompts().size(), 1u);
    EXPECT_NE(prompter.Prompts()[0].text.find(folder), std::string::npos);
    Frames(5);
    Close();
    EXPECT_TRUE(ReadQre(ReadWholeFile(env.app.EpisodeFolder() + "/Rex_Kay_20240131_140509.qre")).sizesAgree);
    EXPECT_TRUE(FilesIn(folder).empty());
}
