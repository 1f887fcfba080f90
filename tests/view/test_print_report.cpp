// The report page's texts and geometry, with a fixed-width stand-in for the
// printer's fonts.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "view/PrintReport.h"

namespace {

int32_t FixedWidth(PrintFont, const std::string& text)
{
    return int32_t(text.size()) * 150;
}

std::optional<std::string> ValueOf(const PrintLines& lines, const std::string& label)
{
    for (const auto& [l, v] : lines)
        if (l == label)
            return v;
    return std::nullopt;
}

RemoteConfiguration Config()
{
    RemoteConfiguration config;
    config.units[0] = 1;  // °F
    config.units[6] = 1;  // CO2 in %
    config.clinic = "Rexford Animal Clinic";
    config.city = "Dover";
    config.state = "DE";
    config.zip = "19901";
    config.gridColor = 0x404040;
    return config;
}

}  // namespace

TEST(PrintReport, ValueLinesFollowTheRemoteAndTheUnits)
{
    struct Case {
        const char* name;
        int32_t device;
        uint16_t features;
        std::map<int, int16_t> numerics;
        std::map<int, int32_t> units;   // "Defaults\Units" changed from Config()
        uint8_t source;
        const char* label;
        std::optional<std::string> value;  // none: no such line
    };
    const uint16_t gases = kFeatureCO2 | kFeatureO2;
    const Case cases[] = {
        {"model name", kDeviceTarvikPlus, 0, {}, {}, 0, "Norq Remote: ", "Tarvik+"},
        {"heart rate from ECG", kDeviceTarvik, 0, {{kParamHeartRate, 72}}, {}, 0, "HR from ECG:", "72 (bpm)"},
        {"pulse from SpO2", kDeviceSelvo, 0, {{kParamHeartRate, 90}}, {}, 1, "PR from SpO2:", "90 (bpm)"},
        {"no rate", kDeviceTarvik, 0, {}, {}, 2, "PR from BP:", "---"},
        {"rate past 800", kDeviceTarvik, 0, {{kParamHeartRate, 801}}, {}, 0, "HR from ECG:", "---"},
        {"BP measured",
         kDeviceBrindle,
         kFeatureNibp,
         {{kParamSystolic, 120}, {kParamDiastolic, 80}, {kParamMean, 93}},
         {},
         2,
         "BP [Sys, Dia,  MAP]: ",
         "120,  80,  93 (mmHg)"},
        {"BP not yet measured", kDeviceBrindle, kFeatureNibp, {}, {}, 2, "BP [Sys, Dia,  MAP]: ",
         "---,  ---,  --- (mmHg)"},
        {"a remote without BP", kDeviceTarvik, kFeatureEcg, {{kParamSystolic, 120}}, {}, 0, "BP [Sys, Dia,  MAP]: ",
         std::nullopt},
        {"a Brindle prints no CO2", kDeviceBrindle, gases, {{kParamCO2Exp, 40}}, {}, 2, "CO2 [Ins, Exp]: ",
         std::nullopt},
        {"a Brindle prints no O2", kDeviceBrindle, gases, {{kParamO2Exp, 40}}, {}, 2, "O2   [Ins, Exp]: ",
         std::nullopt},
        {"SpO2", kDeviceSelvo, kFeatureSpO2, {{kParamSpO2, 97}}, {}, 1, "SpO2: ", "97 (%)"},
        {"SpO2 missing", kDeviceSelvo, kFeatureSpO2, {}, {}, 1, "SpO2: ", "--- (%)"},
        {"respiration", kDeviceTarvik, kFeatureResp, {{kParamRespRate, 14}}, {}, 0, "Respiration Rate: ", "14 (bpm)"},
        {"CO2 in %", kDeviceTarvikPlus, gases, {{kParamCO2Ins, 3}, {kParamCO2Exp, 52}}, {}, 0, "CO2 [Ins, Exp]: ",
         "0.3,  5.2 (%)"},
        {"CO2 in mmHg at standard pressure", kDeviceTarvikPlus, gases, {{kParamCO2Ins, 0}, {kParamCO2Exp, 50}},
         {{6, 0}}, 0, "CO2 [Ins, Exp]: ", "0.0,  38.0 (mmHg)"},
        {"CO2 without an expired value", kDeviceTarvikPlus, gases, {{kParamCO2Ins, 5}}, {{6, 0}}, 0,
         "CO2 [Ins, Exp]: ", "---,  --- (mmHg)"},
        {"O2 in %", kDeviceTarvikPlus, gases, {{kParamO2Ins, 980}, {kParamO2Exp, 950}}, {{7, 1}}, 0,
         "O2   [Ins, Exp]: ", "98.0,  95.0 (%)"},
        {"temperature in F", kDeviceTarvik, 0, {{kParamTemperature, 1015}}, {}, 0, "Temperature: ",
         "101.5 (\u00B0F)"},
        {"temperature in C", kDeviceTarvik, 0, {{kParamTemperature, 1013}}, {{0, 0}}, 0, "Temperature: ",
         "38.5 (\u00B0C)"},
        {"no temperature", kDeviceTarvik, 0, {}, {{0, 0}}, 0, "Temperature: ", "--- (\u00B0C)"},
        {"the primary agent", kDeviceTarvikPlus, 0x0100, {{kParamIsoIns, 12}, {kParamIsoExp, 11}}, {{3, 1}}, 0,
         "Isoflurane [Ins, Exp]: ", "1.2,  1.1 (%)"},
        {"agents not measured", kDeviceTarvikPlus, 0, {{kParamIsoExp, 11}}, {}, 0, "Isoflurane [Ins, Exp]: ",
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoteConfiguration config = Config();
        for (const auto& [unit, value] : c.units)
            config.units[unit] = value;
        PrintValues v;
        v.deviceKind = c.device;
        v.featureBits = c.features;
        v.heartRateSource = c.source;
        v.primaryAgent = 3;
        v.ambientPressure = 10.1325f;
        for (const auto& [index, value] : c.numerics)
            v.numerics[std::size_t(index)] = value;
        EXPECT_EQ(ValueOf(ValueLines(v, config), c.label), c.value);
    }
}

TEST(PrintReport, PracticeAndPatientBlocks)
{
    RemoteConfiguration config = Config();
    EXPECT_EQ(PracticeLines(config),
              (std::vector<std::string>{"Rexford Animal Clinic", "Dover, DE 19901", "", ""}));
    config.state.clear();
    config.address1 = "1 Main St";
    EXPECT_EQ(PracticeLines(config)[2], "Dover 19901");

    CPatientInfo patient;
    patient.patientId = "Rex";
    patient.clientFirstName = "Ann";
    patient.clientLastName = "Kay";
    patient.weight = "12";
    patient.weightUnit = "kgs";
    PrintReportInput in;
    in.config = &config;
    in.patient = &patient;
    in.sweep = 2;
    in.gainIndex = 2;
    in.esophageal = true;
    in.values.deviceKind = kDeviceTarvik;
    in.values.featureBits = kFeatureEcg;
    in.printTime = COleDate::FromDate(2024, 5, 6, 10, 0, 0);
    in.printCount = 9600;
    in.first = 4800;
    const PrintLines lines = PatientLines(in, PrintPageTime(in));
    EXPECT_EQ(ValueOf(lines, "Time: "), "09:59:48");  // the page's first frame, 12 s before the print
    EXPECT_EQ(ValueOf(lines, "Date: "), "05/06/2024");
    EXPECT_EQ(ValueOf(lines, "Owner: "), "Ann Kay");
    EXPECT_EQ(ValueOf(lines, "Weight: "), "12 kgs");
    EXPECT_EQ(ValueOf(lines, "Sweep Rate: "), "50mm/sec");
    EXPECT_EQ(ValueOf(lines, "Gain: "), "(x2.0) 20mm/mV");
    EXPECT_EQ(ValueOf(lines, "ECG Filter / Notch: "), "High / 50Hz");
    EXPECT_EQ(ValueOf(lines, "ECG Probe: "), "Esophogeal");

    // The name the vet typed; the ID, a date stamp, only when none was.
    patient.patientId = "20261209";
    for (const std::string name : {"Rex", ""}) {
        patient.name = name;
        EXPECT_EQ(ValueOf(PatientLines(in, PrintPageTime(in)), "Patient Name/ID: "),
                  name.empty() ? patient.patientId : name);
    }
}

TEST(PrintReport, StripsTracesMarksAndEventsStayInTheirPlaces)
{
    RemoteConfiguration config = Config();
    CPatientInfo patient;
    std::vector<SampleFrame> frames(9600);
    for (std::size_t i = 0; i < frames.size(); ++i)
        frames[i].ecg = int16_t(i % 400 == 0 ? 30000 : -30000);  // clamped both ways
    frames[400].flags = SampleFrame::kFlagBeat;
    frames[3199].event.code = CEcgEvent::kMarker;  // at the first strip's end: its text goes left

    for (const bool co2 : {false, true}) {
        SCOPED_TRACE(co2 ? "with CO2" : "ECG only");
        PrintReportInput in;
        in.config = &config;
        in.patient = &patient;
        in.frames = frames.data();
        in.frameCount = 9600;
        in.printCount = 19200;
        in.page = 2;
        in.pageCount = 2;
        in.rMarker = true;
        in.co2Trace = co2;
        in.makerLine = "Norq Technology Quorin 3.0";
        const PrintPage page = BuildPrintPage(in, FixedWidth);

        ASSERT_EQ(page.strips.size(), 3u);
        for (const PrintRect& strip : page.strips) {
            EXPECT_EQ(strip.right - strip.left, 20000);
            EXPECT_EQ(strip.left, (215 - 200) * 100 / 2);  // centred on Letter paper
            EXPECT_EQ(strip.bottom - strip.top, co2 ? 5500 : 5000);
            EXPECT_GT(strip.top, std::max(page.values.bottom, page.patient.bottom));
        }
        EXPECT_LE(page.strips.back().bottom, page.pageRect.bottom);

        std::map<PrintRole, int> counts;
        std::string pageText;
        std::vector<const PrintItem*> eventTexts;
        for (const PrintItem& item : page.items) {
            ++counts[item.role];
            if (item.role == PrintRole::kFooter && item.kind == PrintItemKind::kText)
                pageText += item.text + "|";
            if (item.role == PrintRole::kEvent && item.kind == PrintItemKind::kText)
                eventTexts.push_back(&item);
            if (item.role == PrintRole::kTrace || item.role == PrintRole::kCo2Trace || item.role == PrintRole::kBeat) {
                const bool inside = std::any_of(page.strips.begin(), page.strips.end(), [&](const PrintRect& s) {
                    return std::all_of(item.points.begin(), item.points.end(),
                                       [&](PrintPoint p) { return s.Contains(p); });
                });
                EXPECT_TRUE(inside);
            }
        }
        EXPECT_EQ(counts[PrintRole::kTrace], 3);  // 3200 frames a strip at 400/s and 25 mm/s
        EXPECT_EQ(counts[PrintRole::kCo2Trace], co2 ? 3 : 0);
        EXPECT_EQ(counts[PrintRole::kBeat], 1);
        EXPECT_EQ(pageText, "N|orq Technology Quorin 3.0|Page 2 of 2|");
        ASSERT_EQ(eventTexts.size(), 1u);
        EXPECT_EQ(eventTexts[0]->text, "Marker");
        EXPECT_LT(eventTexts[0]->points[0].x + FixedWidth(kPrintFontEvent, "Marker"), page.strips[0].right);
    }
}

TEST(PrintReport, EveryPageHoldsTheWholeReportInsideWhatThePrinterReaches)
{
    struct Case {
        const char* name;
        int32_t width;
        int32_t height;
        int32_t edge;     // the printer's unprintable edge on every side
        bool fullSize;    // laid out as it stands, millimetre for millimetre
    };
    const Case cases[] = {
        {"Letter portrait", 21590, 27940, 0, true},
        {"A4 portrait", 21000, 29700, 0, true},
        {"A4 landscape", 29700, 21000, 0, false},
        {"Letter landscape", 27940, 21590, 0, false},
        {"A5, narrower than a strip", 14800, 21000, 0, false},
        {"A4 on a printer with 6 mm edges", 21000, 29700, 600, false},
    };
    RemoteConfiguration config = Config();
    config.email = "reception@rexford-animal-clinic.example";
    CPatientInfo patient;
    patient.name = "Rex";
    std::vector<SampleFrame> frames(9600);  // a page: 24 s at 400 samples/s
    for (std::size_t i = 0; i < frames.size(); ++i)
        frames[i].ecg = int16_t(i % 400 < 8 ? 900 : 0);

    for (const Case& c : cases) {
        for (const bool co2 : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (co2 ? ", with CO2" : ""));
            PrintReportInput in;
            in.config = &config;
            in.patient = &patient;
            in.paperWidth = c.width;
            in.paperHeight = c.height;
            in.printable = {c.edge, c.edge, c.width - c.edge, c.height - c.edge};
            in.frames = frames.data();
            in.frameCount = uint32_t(frames.size());
            in.printCount = in.frameCount;
            in.co2Trace = co2;
            in.makerLine = "Norq Technology Quorin 3.0";
            in.values.featureBits = kFeatureNibp | kFeatureSpO2 | kFeatureResp | kFeatureCO2 | kFeatureO2;
            const PrintPage page = BuildPrintPage(in, FixedWidth);

            EXPECT_EQ(page.scale == 1.0, c.fullSize) << page.scale;
            const auto paper = [&](const PrintRect& r) {
                const PrintPoint a = page.ToPaper({r.left, r.top});
                const PrintPoint b = page.ToPaper({r.right, r.bottom});
                return PrintRect{a.x, a.y, b.x, b.y};
            };
            const auto inside = [&](const PrintRect& r) {
                const PrintRect p = paper(r);
                return in.printable.Contains({p.left, p.top}) && in.printable.Contains({p.right, p.bottom});
            };
            int traceLines = 0;
            std::size_t tracePoints = 0;
            std::string note;
            for (const PrintItem& item : page.items) {
                PrintRect extent{item.points[0].x, item.points[0].y, item.points[0].x, item.points[0].y};
                for (const PrintPoint& p : item.points)
                    extent = {std::min(extent.left, p.x), std::min(extent.top, p.y), std::max(extent.right, p.x),
                              std::max(extent.bottom, p.y)};
                if (item.kind == PrintItemKind::kText) {
                    extent.right += FixedWidth(item.font, item.text);
                    extent.bottom += kPrintFontHeights[item.font];
                    if (item.role == PrintRole::kFooter && item.text.rfind("Printed at", 0) == 0)
                        note = item.text;
                }
                EXPECT_TRUE(inside(extent)) << item.text;
                if (item.role == PrintRole::kTrace) {
                    ++traceLines;
                    tracePoints += item.points.size();
                }
            }
            // Nothing of the stretch is lost: three strips take all 24 s.
            EXPECT_EQ(traceLines, kPrintStripsPerPage);
            EXPECT_EQ(tracePoints, frames.size());
            EXPECT_EQ(note, page.scale < 1.0 ? ScaleNoteText(page.scale) : "");
            // No block over another, no strip over a block or the footer.
            EXPECT_LE(page.values.right, page.patient.left);
            EXPECT_LE(page.practice.bottom, page.values.top);
            ASSERT_EQ(page.strips.size(), std::size_t(kPrintStripsPerPage));
            EXPECT_GT(page.strips.front().top, std::max(page.values.bottom, page.patient.bottom));
            for (std::size_t k = 1; k < page.strips.size(); ++k)
                EXPECT_GT(page.strips[k].top, page.strips[k - 1].bottom);
            EXPECT_LT(page.strips.back().bottom, page.footer.top);
            EXPECT_EQ(page.strips.front().right - page.strips.front().left, kPrintStripWidth);
        }
    }
}
