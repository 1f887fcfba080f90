// Print episodes written through an in-memory disk and read back by the
// field reader.
#include <gtest/gtest.h>

#include <vector>

#include "recording/FakeRecordFiles.h"
#include "recording/PrintEpisode.h"
#include "recording/QreReader.h"

namespace {

const COleDate kPrintMoment = COleDate::FromDate(2024, 5, 6, 10, 0, 0);

class PrintEpisodes : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_live.sampleRate = 400;
        m_config.co2Save = 1;
        m_patient.name = "Rex";
        m_patient.patientId = "Rex";
        m_patient.clientFirstName = "Ann";
        m_patient.clientLastName = "Kay";
    }
    PrintEpisodeServices Services()
    {
        PrintEpisodeServices s;
        s.config = &m_config;
        s.live = &m_live;
        s.files = m_files;
        s.writers = &m_writers;
        s.addEpisode = [this](const episodeItemType& item) { m_list.push_back(item); };
        s.log = [this](const std::string& line) { m_log.push_back(line); };
        return s;
    }
    void Store(const std::vector<SampleFrame>& frames, const COleDate& moment = kPrintMoment)
    {
        CQre3File::StorePrintEpisode(m_patient, "/episodes", frames.data(), moment, false,
                                     uint32_t(frames.size()), Services());
    }
    static std::vector<SampleFrame> Frames(std::size_t count)
    {
        std::vector<SampleFrame> frames(count);
        for (std::size_t i = 0; i < count; ++i)
            frames[i].ecg = int16_t(i);
        return frames;
    }

    LiveData m_live;
    RemoteConfiguration m_config;
    CPatientInfo m_patient;
    std::shared_ptr<FakeDisk> m_disk = std::make_shared<FakeDisk>();
    std::shared_ptr<FakeFileSystem> m_files = std::make_shared<FakeFileSystem>(m_disk);
    CPrintWriters m_writers;
    std::vector<episodeItemType> m_list;
    std::vector<std::string> m_log;
};

}  // namespace

TEST_F(PrintEpisodes, TimesNamesKindsAndEventsAsStored)
{
    struct Case {
        const char* name;
        std::size_t frames;
        uint16_t features;
        COleDate moment;
        COleDate start;
        uint8_t kind;
    };
    const auto at = [](int h, int m, int s) { return COleDate::FromDate(2024, 5, 6, h, m, s); };
    const Case cases[] = {
        {"a minute at 400/s", 24000, kFeatureEcg, at(10, 0, 0), at(9, 59, 0), 1},
        {"2.5 s rounds up to 3", 1000, kFeatureEcg, at(10, 0, 1), at(9, 59, 58), 1},
        {"with CO2 and CO2 Save", 1000, kFeatureEcg | kFeatureCO2, at(10, 0, 2), at(9, 59, 59), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_live.featureBits = c.features;
        std::vector<SampleFrame> frames = Frames(c.frames);
        frames[10].event.code = CEcgEvent::kPrint;
        frames[10].event.featureBits = c.features;
        frames[10].co2Valid = 1;
        frames[10].co2 = 400;
        const COleDate moment = c.moment;
        const std::size_t listed = m_list.size();
        Store(frames, moment);
        ASSERT_TRUE(m_writers.WaitIdle(std::chrono::seconds(10)));
        ASSERT_EQ(m_list.size(), listed + 1);
        const std::string path = "/episodes/Rex_Kay_" + moment.Format("%Y%m%d_%H%M%S") + ".qre";
        EXPECT_EQ(m_list.back().path, path);
        EXPECT_EQ(m_list.back().text, c.start.Format("%m/%d/%Y %H:%M:%S") + "  *ECG  Rex / Ann Kay");

        const QreContents qre = ReadQre(m_disk->Image(path));
        EXPECT_TRUE(qre.sizesAgree);
        EXPECT_EQ(qre.startTime, c.start.Value());
        EXPECT_EQ(qre.sampleCount, c.frames);
        EXPECT_EQ(qre.sampleTicks, c.frames);
        EXPECT_EQ(qre.recordingKind, c.kind);
        EXPECT_EQ(qre.co2Saved, c.kind == 2 ? 1 : 0);
        EXPECT_EQ(qre.note, "Wireless Remote Printed: " + moment.Format("%m/%d/%Y %H:%M:%S") + "\r\n");
        EXPECT_EQ(qre.samples[c.frames - 1].first, int16_t(c.frames - 1));
        EXPECT_EQ(qre.samples[10].second >> 6, 400);  // the snapshot's own CO2 sample
        ASSERT_EQ(qre.eventCount, 1u);
        EXPECT_EQ(qre.eventKinds, c.features);
        EXPECT_EQ(qre.events[0][0], CEcgEvent::kPrint);
        EXPECT_EQ(qre.events[0][4], 10);  // its position in the episode
    }
}

TEST_F(PrintEpisodes, ACaptureDuringABlockedWriterLeavesItsFileAsPrinted)
{
    std::vector<SampleFrame> snapshot = Frames(800);
    m_disk->blockAtCall = 1;
    Store(snapshot);
    ASSERT_TRUE(m_disk->WaitBlocked());
    for (SampleFrame& frame : snapshot)
        frame.ecg = -1;  // the next capture refills the snapshot
    m_disk->Release();
    ASSERT_TRUE(m_writers.WaitIdle(std::chrono::seconds(10)));
    const QreContents qre = ReadQre(m_disk->Image(m_list.at(0).path));
    ASSERT_EQ(qre.samples.size(), 800u);
    EXPECT_EQ(qre.samples[799].first, 799);
}

TEST_F(PrintEpisodes, NamesClashesAndFailures)
{
    // Two prints in one second (or a print in the second a live episode of
    // the patient started): the later one takes "_2", is written whole and
    // listed, and the first is left as it was.
    Store(Frames(400));
    Store(Frames(300));
    ASSERT_TRUE(m_writers.WaitIdle(std::chrono::seconds(10)));
    ASSERT_EQ(m_list.size(), 2u);
    EXPECT_EQ(m_list[0].path, "/episodes/Rex_Kay_20240506_100000.qre");
    EXPECT_EQ(m_list[1].path, "/episodes/Rex_Kay_20240506_100000_2.qre");
    EXPECT_EQ(ReadQre(m_disk->Image(m_list[0].path)).sampleCount, 400u);
    const QreContents second = ReadQre(m_disk->Image(m_list[1].path));
    EXPECT_EQ(second.sampleCount, 300u);
    EXPECT_TRUE(second.sizesAgree);
    EXPECT_TRUE(m_log.empty());

    // A slash in a name cannot lead the file elsewhere.
    m_patient.name = "Rex / Jr.";
    Store(Frames(400));
    ASSERT_TRUE(m_writers.WaitIdle(std::chrono::seconds(10)));
    ASSERT_EQ(m_list.size(), 3u);
    EXPECT_EQ(m_list[2].path, "/episodes/Rex---Jr-_Kay_20240506_100000.qre");
    EXPECT_TRUE(ReadQre(m_disk->Image(m_list[2].path)).sizesAgree);

    // A write that fails removes the file; the line stays.
    m_patient.name = "Max";
    m_disk->failSize = 400 * kQreSampleRecordSize;
    m_disk->failErrno = ENOSPC;
    Store(Frames(400));
    ASSERT_TRUE(m_writers.WaitIdle(std::chrono::seconds(10)));
    ASSERT_EQ(m_list.size(), 4u);
    ASSERT_EQ(m_disk->removed.size(), 1u);
    EXPECT_EQ(m_disk->removed[0], m_list[3].path);
    EXPECT_EQ(m_disk->names.count(m_list[3].path), 0u);
}
