// The live recording as the view drives it: the record command, a link
// that drops and returns, a Selvo that changes what it measures, and a
// recorder that fails while the view paints.
#include <gtest/gtest.h>

#include "app/MenuCommands.h"
#include "recording/QreImage.h"
#include "recording/QreReader.h"
#include "recording/RecordingTestFiles.h"
#include "tests/view/qt/ViewFixture.h"

namespace {

class ViewRecording : public QuorinViewTest {
protected:
    CQuorinView& OpenRecordingView()
    {
        ViewServices services;
        services.recordFiles = m_files;
        CQuorinView& view = Open(800, 600, std::move(services));
        view.m_rec.startupPending = false;
        EXPECT_TRUE(WaitForIdleRecorder(view.Recorder()));
        m_promptsAtOpen = m_prompter.Prompts().size();  // the start-up's own
        return view;
    }
    std::size_t FilesWritten() const { return FilesIn(m_app.RecordFolder()).size(); }

    std::shared_ptr<WatchedFiles> m_files = std::make_shared<WatchedFiles>();
    std::size_t m_promptsAtOpen = 0;
};

}  // namespace

TEST_F(ViewRecording, TheRecordCommandTheLinkAndASelvoStartAndEndEpisodes)
{
    CQuorinView& view = OpenRecordingView();
    g_liveData.deviceKind = kDeviceTarvik;
    m_app.m_config.recordMode = 0;

    view.RunCommand(menu::kRecord);
    EXPECT_TRUE(view.IsRecording());
    EXPECT_EQ(m_app.m_config.recordMode, 1);  // the command records waveforms
    view.RunCommand(menu::kRecord);
    EXPECT_FALSE(view.IsRecording());
    ASSERT_TRUE(WaitForIdleRecorder(view.Recorder()));

    // A dropped link closes the episode; its return starts the next.
    view.RunCommand(menu::kRecord);
    view.SetConnectionStatus(3);
    EXPECT_FALSE(view.IsRecording());
    ASSERT_TRUE(WaitForIdleRecorder(view.Recorder()));
    g_liveData.deviceKind = kDeviceTarvik;
    view.SetConnectionStatus(2);
    EXPECT_TRUE(view.IsRecording());
    view.RunCommand(menu::kRecord);

    // A Selvo that leaves its ECG for SpO2 gets a new episode once the old
    // one is saved, without the display waiting for it.
    g_liveData.deviceKind = kDeviceSelvo;
    g_liveData.featureBits = uint16_t(kFeatureEcg | kFeatureTemp);
    g_liveData.handledFeatureBits = g_liveData.featureBits;
    ASSERT_TRUE(WaitForIdleRecorder(view.Recorder()));
    view.RunCommand(menu::kRecord);
    ASSERT_TRUE(view.IsRecording());
    g_liveData.featureBits = uint16_t(kFeatureSpO2 | kFeatureTemp);
    view.ApplyFeatureChange();
    EXPECT_FALSE(view.IsRecording());
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.IsRecording(); }, 5000));
    EXPECT_EQ(m_prompter.Prompts().size(), m_promptsAtOpen);
}

TEST_F(ViewRecording, ARecorderThatFailsIsToldOnceAtTheNextPaint)
{
    CQuorinView& view = OpenRecordingView();
    g_liveData.deviceKind = kDeviceTarvik;
    m_files->failWith = EIO;
    view.RunCommand(menu::kRecord);
    ASSERT_TRUE(view.IsRecording());
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.Recorder().State() == CNorqFileRecorder::kError; }, 5000));
    Paint();
    Paint();
    ASSERT_EQ(m_prompter.Prompts().size(), m_promptsAtOpen + 1);
    EXPECT_EQ(m_prompter.Prompts().back().caption, "QRE File Recording Failed!");
    EXPECT_NE(m_prompter.Prompts().back().text.find("Error code 0xa, Exception CFileException::hardIO."),
              std::string::npos);
    EXPECT_FALSE(view.IsRecording());
    // Unfinished, but on disk with its journal, for the next start to finish.
    EXPECT_EQ(FilesWritten(), 2u);

    // A disk that fills as the next episode closes: told once more, and the
    // episode is not offered for review.
    m_files->failWith = 0;
    view.RunCommand(menu::kRecord);
    ASSERT_TRUE(view.IsRecording());
    for (int i = 0; i < 10; ++i) {
        SampleFrame frame;
        view.Recording().HandFrame(frame);
    }
    m_files->failWith = ENOSPC;
    view.RunCommand(menu::kRecord);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_prompter.Prompts().size() == m_promptsAtOpen + 2; }, 5000));
    EXPECT_NE(m_prompter.Prompts().back().text.find("CFileException::diskFull"), std::string::npos);
    EXPECT_FALSE(view.HasEpisodes());
    Paint();
    EXPECT_EQ(m_prompter.Prompts().size(), m_promptsAtOpen + 2);
}

TEST_F(ViewRecording, AnEpisodeCutShortLastTimeIsFinishedAndListedAtTheStart)
{
    std::filesystem::create_directories(m_app.EpisodeFolder());
    const std::string path = m_app.EpisodeFolder() + "/Rex_20240131_140509.qre";
    QreImage image;
    image.Text(0, 4, "QRE");
    image.U8(5035, 1);
    for (uint16_t i = 0; i < 10; ++i)
        image.AppendSample(i, 1);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.bytes.data()), std::streamsize(image.bytes.size()));
    std::ofstream(path + ".journal", std::ios::binary);

    CQuorinView& view = OpenRecordingView();
    ASSERT_EQ(view.Recording().Episodes().size(), 1u);
    EXPECT_EQ(view.Recording().Episodes()[0].path, path);
    const QreContents qre = ReadQre(ReadWholeFile(path));
    EXPECT_TRUE(qre.sizesAgree);
    EXPECT_EQ(qre.sampleCount, 10u);
    EXPECT_FALSE(std::filesystem::exists(path + ".journal"));
}
