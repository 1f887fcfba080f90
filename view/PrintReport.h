#pragma once
// One page of the printed waveform report as a list of things to draw, in
// hundredths of a millimetre (y down): footer, practice block, current
// values, patient and settings, and the ECG strips on their millimetre grid.
// The report is laid out on the part of the paper the printer reaches; when
// it does not fit there it is laid out on a larger page of the same shape
// and printed scaled down, so that no strip or text is lost. The window
// only paints the list.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/RemoteConfiguration.h"
#include "link/LiveData.h"
#include "patient/PatientInfo.h"
#include "platform/ColorRef.h"
#include "platform/OleDate.h"

enum PrintFont : uint8_t {
    kPrintFontText = 0,     // "Arial", weight 400
    kPrintFontLabel = 1,    // weight 700
    kPrintFontTitle = 2,    // weight 700, larger: the clinic
    kPrintFontSeconds = 3,  // bold italic, 3 mm
    kPrintFontEvent = 4,    // 3 mm
    kPrintFontCount = 5,
};

// Character heights (0.01 mm).
inline constexpr std::array<int32_t, kPrintFontCount> kPrintFontHeights = {300, 300, 420, 300, 300};
inline constexpr int32_t kPrintLineHeight = 380;

// Fixed parts of the page (0.01 mm).
inline constexpr int32_t kPrintMargin = 1270;         // half an inch
inline constexpr int32_t kPrintLogoWidth = 3810;      // 1.5 inch
inline constexpr int32_t kPrintLogoHeight = 1905;     // 0.75 inch
inline constexpr int32_t kPrintStripWidth = 20000;
inline constexpr int32_t kPrintStripHeight = 5000;
inline constexpr int32_t kPrintCo2StripHeight = 5500;
inline constexpr int32_t kPrintStripGap = 400;
inline constexpr int32_t kPrintStripsPerPage = 3;
// Room kept beside the strips, so that their edges are never cut.
inline constexpr int32_t kPrintStripSideRoom = 100;
// Between the values and the patient block.
inline constexpr int32_t kPrintBlockGap = 300;

// Colours (COLORREF, 0x00BBGGRR).
inline constexpr COLORREF kPrintMakerFirstColor = 0x0000FF;
inline constexpr COLORREF kPrintMakerColor = 0xC80000;
inline constexpr COLORREF kPrintMarkColor = 0x404040;       // beat marks and event flags
inline constexpr COLORREF kPrintTraceColor = 0xFF4040;      // colour printers
inline constexpr COLORREF kPrintCo2TraceColor = 0x0282B9;   // colour printers
inline constexpr COLORREF kPrintGridMonoColor = 0xE0E0E0;
inline constexpr COLORREF kPrintGridBoldColor = 0x4040FF;   // colour printers
inline constexpr COLORREF kPrintGridBoldMonoColor = 0xB0B0B0;

struct PrintPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const PrintPoint&, const PrintPoint&) = default;
};

struct PrintRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool Contains(PrintPoint p) const { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; }
};

enum class PrintItemKind : uint8_t {
    kText,         // points[0]: top-left
    kLine,         // a polyline
    kPolygon,      // filled and outlined in the colour
    kLogo,         // points: top-left, bottom-right
    kDemoPicture,  // the same
};

enum class PrintRole : uint8_t { kFooter, kPractice, kValues, kPatient, kGrid, kScale, kTrace, kCo2Trace, kBeat, kEvent, kPicture };

struct PrintItem {
    PrintItemKind kind = PrintItemKind::kLine;
    PrintRole role = PrintRole::kGrid;
    std::vector<PrintPoint> points;
    int32_t pen = 0;  // width; 0: the finest line the device draws
    COLORREF color = 0;
    PrintFont font = kPrintFontText;
    std::string text;
};

struct PrintPage {
    std::vector<PrintItem> items;   // in layout units
    PrintRect pageRect;             // inside the margins
    PrintRect practice;             // the blocks as laid out
    PrintRect values;
    PrintRect patient;
    PrintRect footer;
    std::vector<PrintRect> strips;
    // Where the layout lands on the paper: a layout point p prints at
    // origin + p x scale (the printable area's corner, and 1 when the report
    // fits as it is).
    PrintPoint origin;
    double scale = 1.0;
    PrintPoint ToPaper(PrintPoint p) const;
};

// The values block's inputs: the live values when the page is printed.
struct PrintValues {
    int32_t deviceKind = 0;
    uint16_t featureBits = 0;
    uint8_t heartRateSource = 0;
    std::array<int16_t, kParameterCount> numerics{};
    uint8_t primaryAgent = 0;
    float ambientPressure = 10.1325f;
    bool dental = false;
    static PrintValues FromLive(const LiveData& live);
};

struct PrintReportInput {
    int32_t paperWidth = 21590;     // 0.01 mm
    int32_t paperHeight = 27940;
    PrintRect printable;            // what the printer reaches; empty: all the paper
    bool colour = true;
    bool logo = false;              // a logo image was loaded
    bool demoPicture = false;       // demo mode with its picture
    int page = 1;
    int pageCount = 1;
    std::string makerLine;          // the footer's maker text and version

    // The capture and this page's stretch of it.
    const SampleFrame* frames = nullptr;  // the page's first frame
    uint32_t first = 0;
    uint32_t frameCount = 0;
    uint32_t printCount = 0;
    uint16_t sampleRate = 400;
    int32_t sweep = 1;
    int32_t gainIndex = 1;
    bool rMarker = false;
    bool co2Trace = false;          // CO2 was measured at the capture
    COleDate printTime;

    PrintValues values;
    const RemoteConfiguration* config = nullptr;
    const CPatientInfo* patient = nullptr;
    bool esophageal = false;
};

// Text width in 0.01 mm for a font.
using PrintTextWidth = std::function<int32_t(PrintFont font, const std::string& text)>;

// The report's texts, each a (label, value) pair in order.
using PrintLines = std::vector<std::pair<std::string, std::string>>;
std::vector<std::string> PracticeLines(const RemoteConfiguration& config);
PrintLines ValueLines(const PrintValues& values, const RemoteConfiguration& config);
PrintLines PatientLines(const PrintReportInput& in, const COleDate& pageTime);
std::string PageNumberText(int page, int pageCount);
// The footer's note on a report printed smaller than full size.
std::string ScaleNoteText(double scale);

// The time of the page's first frame.
COleDate PrintPageTime(const PrintReportInput& in);

// One page: footer, optional demo picture, then the report, fitted to the
// printable area.
PrintPage BuildPrintPage(const PrintReportInput& in, const PrintTextWidth& width);
