// The recording file: the header against an image built from the layout,
// text cuts and code page, flags, sample and event records, the notes, the
// recording kind and the finish, and whole files read back.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "QreImage.h"
#include "QreReader.h"
#include "recording/QreFile.h"

namespace {

const COleDate kStart = COleDate::FromDate(2024, 5, 6, 7, 8, 9);

RemoteConfiguration Practice()
{
    RemoteConfiguration config;
    config.clinic = "Hill Vets";
    config.address1 = "1 Main St";
    config.address2 = "Suite 2";
    config.city = "Ayr";
    config.state = "SC";
    config.zip = "KA7";
    config.phone = "555-0100";
    config.email = "desk@hill.example";
    config.notch = 1;
    config.bandwidth = 1;
    for (int i = 0; i < 9; ++i)
        config.units[i] = 0x100 + i;  // only the low byte is stored
    return config;
}

CPatientInfo Rex()
{
    CPatientInfo info;
    info.patientId = info.name = "Rex";
    info.speciesCode = 1;
    info.species = "Feline";
    info.breed = "Siamese";
    info.birthDateText = "03/04/2020";
    info.sex = "Male";
    info.breedNumber = "12";
    info.weight = "4.5";
    info.weightUnit = "kgs";
    info.clientFirstName = "Ann";
    info.clientLastName = "Lee";
    return info;
}

struct Moval : LiveData {
    Moval() { deviceKind = 3, sampleRate = 500; }
};

std::vector<uint8_t> Header(CPatientInfo& patient, const RemoteConfiguration& config, bool esophageal = false)
{
    std::vector<uint8_t> header(5080, 0xEE);
    CQre3File::FillHeader(patient, header.data(), kStart, esophageal, config, Moval());
    return header;
}

std::string Field(const std::vector<uint8_t>& header, std::size_t offset, std::size_t size)
{
    return std::string(header.begin() + offset, header.begin() + offset + size);
}

} // namespace

TEST(QreFile, AFullPatientsHeaderMatchesTheLayout)
{
    CPatientInfo patient = Rex();
    const std::vector<uint8_t> header = Header(patient, Practice(), true);

    QreImage image;
    image.Text(0, 4, "QRE");
    image.U32(4, 3);
    image.F64(8, kStart.Value());
    const char* practice[] = {"Hill Vets", "1 Main St", "Suite 2", "Ayr", "SC", "KA7", "555-0100", "desk@hill.example"};
    for (int i = 0; i < 8; ++i)
        image.Text(16 + 80 * i, 80, practice[i]);
    image.Text(656, 40, "Rex");
    image.Text(696, 40, "Ann Lee");
    image.Text(736, 40, "Feline");
    image.Text(776, 40, "Siamese");
    image.Text(816, 40, "03/04/2020");
    image.Text(856, 40, "Male");
    image.Text(896, 40, "4.5 kgs");
    image.U8(5032, 1);
    image.U8(5033, 3);
    image.U8(5034, 0x0F);
    image.U16(5044, 500);
    EXPECT_EQ(FirstMismatch(header, image.bytes), "");
    EXPECT_NEAR(ReadQre(header).startTime, 45418 + (7 * 3600 + 8 * 60 + 9) / 86400.0, 1e-9);

    CQre3File::FillHeader(patient, nullptr, kStart, false, Practice(), Moval());  // nothing to fill
}

TEST(QreFile, TextsAreCutConvertedAndJoined)
{
    using Edit = std::function<void(RemoteConfiguration&, CPatientInfo&)>;
    const std::string hundred(100, 'c');
    const struct {
        const char* rule;
        Edit edit;
        std::size_t offset, size;
        std::string expected;
    } cases[] = {
        {"clinic cut to 79", [&](auto& c, auto&) { c.clinic = hundred; }, 16, 80, hundred.substr(0, 79)},
        {"email cut to 79", [&](auto& c, auto&) { c.email = hundred; }, 576, 80, hundred.substr(0, 79)},
        {"breed cut to 39", [](auto&, auto& p) { p.breed = std::string(60, 'b'); }, 776, 40, std::string(39, 'b')},
        {"weight joined and cut", [](auto&, auto& p) { p.weight = std::string(38, '9'); }, 896, 40,
         std::string(38, '9') + " "},
        {"client names empty", [](auto&, auto& p) { p.clientFirstName = p.clientLastName = ""; }, 696, 40, " "},
        {"name in the code page", [](auto&, auto& p) { p.name = "M\u00FCller \u20AC \u72AC"; }, 656, 40,
         "M\xFC" "ller \x80 ?"},
        {"cut counts stored bytes", [](auto&, auto& p) {
             p.sex.clear();
             for (int i = 0; i < 45; ++i) p.sex += "\u00E9";
         }, 856, 40, std::string(39, '\xE9')},
    };
    for (const auto& c : cases) {
        RemoteConfiguration config = Practice();
        CPatientInfo patient = Rex();
        c.edit(config, patient);
        EXPECT_EQ(Field(Header(patient, config), c.offset, c.size), c.expected + std::string(c.size - c.expected.size(), '\0'))
            << c.rule;
    }
}

TEST(QreFile, AnUnnamedPatientIsNamedAndIdentifiedByTheStartDate)
{
    const struct {
        const char* name;
        std::string storedName, id;
    } cases[] = {{"", "20240506", "20240506"}, {"Rex", "Rex", "Rex"}};
    for (const auto& c : cases) {
        CPatientInfo patient = Rex();
        patient.name = c.name;
        const std::vector<uint8_t> header = Header(patient, Practice());
        EXPECT_EQ(ReadQre(header).patientName, c.storedName);
        EXPECT_EQ(patient.patientId, c.id);
    }
}

TEST(QreFile, FilterFlagsFollowTheSettingsAndTheProbe)
{
    const struct {
        int32_t notch, bandwidth, tempUnit;
        bool esophageal;
        uint8_t expected;
    } cases[] = {
        {0, 0, 0, false, 0x00}, {60, 0, 0, false, 0x01}, {0, -1, 0, false, 0x02},
        {0, 0, 1, false, 0x04}, {0, 0, 0, true, 0x08},   {1, 1, 1, true, 0x0F},
    };
    for (const auto& c : cases) {
        RemoteConfiguration config = Practice();
        config.notch = c.notch;
        config.bandwidth = c.bandwidth;
        config.units[0] = c.tempUnit;
        CPatientInfo patient = Rex();
        EXPECT_EQ(ReadQre(Header(patient, config, c.esophageal)).filterFlags, c.expected)
            << c.notch << c.bandwidth << c.tempUnit << c.esophageal;
    }
}

TEST(QreFile, SampleRecordsCarryEcgMarksAndLimitedCo2)
{
    const struct {
        int16_t ecg;
        uint8_t flags;
        int16_t co2;
        uint8_t co2Valid;
        uint16_t bits;
    } cases[] = {
        {100, 0x00, 2000, 1, 0x0020 | 1023 << 6},
        {-1, 0x00, -1, 1, 0x0020 | 1023 << 6},
        {-12345, 0x03, 500, 7, 0x0023 | 500 << 6},
        {7, 0x01, 2000, 0, 0x0001},
        {0, 0x02, 0, 0, 0x0002},
        {0, 0xFF, 0, 0, 0x0003},
    };
    for (const auto& c : cases) {
        SampleFrame frame;
        frame.ecg = c.ecg;
        frame.flags = c.flags;
        frame.co2 = c.co2;
        frame.co2Valid = c.co2Valid;
        QreImage image;
        image.bytes.clear();
        image.AppendSample(uint16_t(c.ecg), c.bits);
        const QreSampleRecord record = EncodeSampleRecord(frame);
        EXPECT_EQ(std::vector<uint8_t>(record.begin(), record.end()), image.bytes) << c.ecg << " co2 " << c.co2;
    }
}

TEST(QreFile, EventRecordsAreTheEventsBytesWithoutATime)
{
    CEcgEvent event;
    event.code = CEcgEvent::kAlarmHigh | kParamSpO2;
    event.position = 0x01020304;
    event.featureBits = 0x0025;
    event.numerics[kParamSpO2] = -2;
    event.reservedTime[0] = event.reservedTime[7] = 0x55;
    event.unitNative = 1;
    const QreEventRecord record = EncodeEventRecord(event);
    const std::vector<uint8_t> bytes(record.begin(), record.end());
    std::vector<uint8_t> expected(84, 0);
    expected[0] = 0x83;
    expected[4] = 4, expected[5] = 3, expected[6] = 2, expected[7] = 1;
    expected[8] = 0x25;
    expected[10 + 2 * 3] = 0xFE, expected[11 + 2 * 3] = 0xFF;
    expected[82] = 1;
    EXPECT_EQ(bytes, expected);
}

TEST(QreFile, NotesNameTheModelAndTheMoment)
{
    const std::string when = "05/06/2024 07:08:09\r\n";
    const struct {
        int32_t kind;
        std::string expected;
    } cases[] = {
        {0, ""}, {1, "Tarvik Captured: " + when}, {2, "Tarvik+ Captured: " + when}, {3, "Moval Captured: " + when},
        {4, "Selvo Captured: " + when}, {5, "BP-Brindle Captured: " + when}, {6, ""}, {-1, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LiveCaptureNote(c.kind, kStart), c.expected) << c.kind;
    EXPECT_EQ(PrintNote(kStart), "Wireless Remote Printed: " + when);
}

TEST(QreFile, TheLiveKindNeedsWaveformsAndForCo2TheSettingAndAMeasurement)
{
    using K = QreRecordingKind;
    const struct {
        int32_t recordMode, co2Save;
        uint16_t eventKinds, featureBits;
        K expected;
    } cases[] = {
        {0, 1, 0x20, 0x20, K::VitalsOnly}, {1, 0, 0x20, 0x20, K::Waveform}, {1, 1, 0x1F, 0xFFDF, K::Waveform},
        {1, 1, 0x20, 0x00, K::WaveformWithCo2}, {1, 1, 0x00, 0x20, K::WaveformWithCo2}, {2, 1, 0, 0x21, K::WaveformWithCo2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LiveRecordingKind(c.recordMode, c.co2Save, c.eventKinds, c.featureBits), c.expected)
            << c.recordMode << c.co2Save << ' ' << c.eventKinds << ' ' << c.featureBits;
}

TEST(QreFile, TheFinishWritesKindCountsNoteAndSelectors)
{
    const std::string longNote(5000, 'n');
    const struct {
        QreFinish finish;
        uint8_t co2Saved;
        std::string note;
    } cases[] = {
        {{1000, QreRecordingKind::WaveformWithCo2, 1000, 0x0021, 2, "Moval Captured: x\r\n", true}, 1, "Moval Captured: x\r\n"},
        {{24000, QreRecordingKind::Waveform, 24000, 0, 0, "Printed \u20AC", false}, 0, "Printed \x80"},
        {{77, QreRecordingKind::VitalsOnly, 0, 0x0001, 1, longNote, true}, 0, longNote.substr(0, 4095)},
    };
    for (const auto& c : cases) {
        CPatientInfo patient = Rex();
        std::vector<uint8_t> header = Header(patient, Practice());
        header[5036] = 0xFF;
        WriteFinish(header.data(), c.finish, Practice());
        const QreContents read = ReadQre(header);
        EXPECT_EQ(read.recordingKind, uint8_t(c.finish.recordingKind));
        EXPECT_EQ(header[5036], 0);
        EXPECT_EQ(read.co2Saved, c.co2Saved);
        EXPECT_EQ(read.sampleTicks, c.finish.sampleTicks);
        EXPECT_EQ(read.sampleCount, c.finish.sampleCount);
        EXPECT_EQ(read.eventKinds, c.finish.eventKinds);
        EXPECT_EQ(read.eventCount, c.finish.eventCount);
        EXPECT_EQ(read.note, c.note);
        EXPECT_TRUE(read.textsEndInZero);
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(read.unitSelectors[i], c.finish.unitSelectors ? i : 0) << i;
    }
    WriteFinish(nullptr, cases[0].finish, Practice());  // nothing to finish
}

TEST(QreFile, AssembledFilesPutEventsRightAfterTheirSamples)
{
    CEcgEvent marker;
    marker.code = CEcgEvent::kMarker;
    marker.featureBits = 0x0021;
    marker.position = 1;
    for (const uint32_t samples : {3u, 0u}) {
        CPatientInfo patient = Rex();
        std::vector<uint8_t> file = Header(patient, Practice());
        QreImage image;
        image.bytes = file;
        SampleFrame frame;
        frame.flags = SampleFrame::kFlagBeat;
        for (uint32_t i = 0; i < samples; ++i) {
            frame.ecg = int16_t(i * 10);
            const QreSampleRecord record = EncodeSampleRecord(frame);
            file.insert(file.end(), record.begin(), record.end());
            image.AppendSample(uint16_t(i * 10), 0x0002);
        }
        const QreEventRecord event = EncodeEventRecord(marker);
        file.insert(file.end(), event.begin(), event.end());
        image.AppendEvent(event);
        const QreRecordingKind kind = samples != 0 ? QreRecordingKind::Waveform : QreRecordingKind::VitalsOnly;
        WriteFinish(file.data(), {5, kind, samples, marker.featureBits, 1, LiveCaptureNote(3, kStart), true}, Practice());
        image.U8(5035, uint8_t(kind));
        image.U32(5048, 5);
        image.U32(5052, samples);
        image.U16(5056, 0x0021);
        image.U32(5060, 1);
        image.Text(936, 4096, "Moval Captured: 05/06/2024 07:08:09\r\n");
        for (int i = 0; i < 9; ++i)
            image.U8(5064 + i, uint8_t(i));
        EXPECT_EQ(FirstMismatch(file, image.bytes), "") << samples;

        const QreContents read = ReadQre(file);
        EXPECT_TRUE(read.sizesAgree);
        EXPECT_EQ(read.samples.size(), samples);
        ASSERT_EQ(read.events.size(), 1u);
        EXPECT_EQ(read.events[0][0], CEcgEvent::kMarker);
        EXPECT_EQ(file[5080 + 4 * samples], CEcgEvent::kMarker);
    }
}
