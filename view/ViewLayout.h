#pragma once
// The view's layout as plain arithmetic: the scale of its fonts, the box
// metrics measured with them, the numerics pane (which groups the remote
// shows, where every box, picture and animation goes), the waveform strips
// and the frame's minimum size. The window only creates what this plans.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ColorRef.h"
#include "view/ViewGeometry.h"

class RemoteConfiguration;

// The nine display fonts, all bold.
enum ViewFont : int {
    kFontCaption = 0,     // captions, banners
    kFontMeasure = 1,     // measures the large value width
    kFontLargeValue = 2,  // heart-rate and SpO2 values
    kFontValue = 3,       // all other values
    kFontSmall = 4,       // sweep, gain, filter, patient, species, recording; most limit boxes
    kFontDate = 5,        // date box, recording time
    kFontLimit = 6,       // limit boxes of heart rate, temperature, SpO2 (and respiration without CO2)
    kFontMenu = 7,        // remote-menu items
    kFontLabel = 8,       // value labels, strip labels
    kViewFontCount = 9,
};

struct ViewFontSpec {
    const char* face;
    int size;
};
inline constexpr ViewFontSpec kViewFonts[kViewFontCount] = {
    {"Arial", 14}, {"Arial", 41}, {"Arial", 36}, {"Arial", 27}, {"Courier New", 11},
    {"Arial", 14}, {"Arial", 13}, {"Arial", 16}, {"Arial", 10},
};

// The fonts' scale for a client size and the screen's logical dots per
// inch: 1 at a height of 881 pixels on a 72-dpi screen, shrunk in
// proportion when the client is narrower than 1.2 times its height.
double ViewScale(int32_t width, int32_t height, int32_t logicalDpiY);
// A font's character height in pixels at a scale, half up.
int32_t FontPixelSize(int font, double scale);

// Text sizes in the nine fonts as created at the current scale.
class ITextMeasure {
public:
    virtual ~ITextMeasure() = default;
    // Width and height of a single line of text.
    virtual int32_t TextWidth(int font, std::string_view text) const = 0;
    virtual int32_t TextHeight(int font, std::string_view text) const = 0;
    // The font's full line height (ascent plus descent).
    virtual int32_t LineHeight(int font) const = 0;
};

// The nine fonts, made anew at a scale and then measured.
class IViewFonts : public ITextMeasure {
public:
    virtual void CreateAt(double scale) = 0;
};

struct BoxMetrics {
    double scale = 1.0;
    int32_t valueWidth = 0;        // "888" in the measuring font, plus margins
    int32_t largeValueHeight = 0;  // "88888881" in the measuring font
    int32_t valueHeight = 0;       // two thirds of that, or a line of the value font
    int32_t wideValueWidth = 0;    // "188.8" in the large value font
    int32_t mediumValueWidth = 0;  // "188.8" in the value font
    int32_t captionHeight = 0;
    int32_t labelWidth = 0;        // "MAP" in the label font
    int32_t labelHeight = 0;
    int32_t stripLabelWidth = 0;   // "88" in the label font
    int32_t smallTextHeight = 0;
    int32_t menuItemWidth = 0;
    int32_t menuItemHeight = 0;
    int32_t limitOffset = 0;
    int32_t limitBoxWidth = 0;     // " 888.8 " in the limit font
    int32_t limitBoxHeight = 0;
    int32_t paneWidth = 0;
    int32_t bandColumnWidth = 0;
};

// Measures the boxes for a client size with fonts created at `scale`.
BoxMetrics MeasureBoxes(const ITextMeasure& measure, int32_t width, int32_t height, double scale);

// Bit `bit` of the remote's feature bits: 0 ECG, 1 respiration, 2 SpO2,
// 3 temperature, 4 blood pressure, 5 CO2, 6 O2, 7 N2O, 8 and 9 the agents.
constexpr bool HasFeatureBit(uint16_t bits, int bit)
{
    return (bits >> bit) & 1;
}

// The eleven groups of the numerics pane; the index is also the caption
// box's. The pane places them in another order (PlanNumerics).
enum ViewGroup : int {
    kGroupHeartRate = 0,
    kGroupTemperature = 1,
    kGroupRespiration = 2,
    kGroupSpO2 = 3,
    kGroupBloodPressure = 4,
    kGroupCO2 = 5,
    kGroupO2 = 6,
    kGroupN2O = 7,
    kGroupPrimaryAgent = 8,
    kGroupSecondaryAgent = 9,
    kGroupStatus = 10,
    kViewGroupCount = 11,
};

enum SingleBox : int {
    kBoxCO2Sweep,
    kBoxSweepGain,
    kBoxGain,
    kBoxFilter,
    kBoxDate,
    kBoxPatient,
    kBoxSpecies,
    kBoxStatusText,
    kSingleBoxCount,
};

enum ViewPicture : int {
    kPictureBeat,     // "QRSHeart", bitmap 270
    kPictureTone,     // the alarm-tone state, bitmaps 590, 310, 330
    kPictureBpOff,    // "BP Off", bitmap 640
    kPictureBattery,  // "RemoteBattery", icons 370..420
    kPictureCount,
};

enum ViewAnimation : int {
    kBpPauseAnimation,  // resource 170
    kBpCycleAnimation,  // resource 160
    kConnectAnimation,  // resource 430
    kAnimationCount,
};

inline constexpr int kLabelBoxCount = 20;
inline constexpr int kLimitBoxCount = 48;
// The high limit box of the apnea slot shows the apnea indicator.
inline constexpr int kApneaIndicatorBox = 2 * 4;
inline constexpr int32_t kIconSize = 32;

enum class BoxKind : uint8_t { Caption, Value, Label, Limit, Single, Picture, Animation };

// One control of the pane. `index` is the slot in its kind's array: the
// group for captions, the parameter for values, 2 x parameter (+1 low) for
// limit boxes, SingleBox, ViewPicture, ViewAnimation.
struct PlannedBox {
    BoxKind kind = BoxKind::Value;
    int index = 0;
    int group = 0;
    LayoutRect rect;
    int font = kFontSmall;
    std::string text;
    // The widest text the box is to hold when others replace its first
    // (values, limits, the clock, the status); empty: `text`.
    std::string sample;
    COLORREF textColor = 0;
    COLORREF backColor = 0;
    bool visible = true;
    bool centred = false;
};

struct PlannedGroup {
    int group = 0;
    bool inBand = false;
    LayoutRect rect;
    COLORREF color = 0;
};

// What the layout reads besides the metrics. Texts come ready-made.
struct NumericsInput {
    int32_t width = 0;
    int32_t height = 0;
    int32_t deviceKind = 0;
    uint16_t featureBits = 0;
    uint8_t heartRateSource = 0;
    uint8_t primaryAgent = 0;
    uint8_t secondaryAgent = 0;
    int32_t species = 0;
    bool snoozing = false;
    std::string sweepGainText;
    std::string gainText;
    std::string filterText;
    std::string dateText;
    std::string speciesText;
    std::string patientId;
};

struct NumericsLayout {
    double r = 0.0;  // view height / 881
    int32_t bandHeight = 0;
    int32_t bandTop = -1;
    std::vector<PlannedGroup> groups;
    std::vector<PlannedBox> boxes;
    LayoutRect spo2BarRect;
    int32_t bannerX = 0;
    int32_t bannerY = 0;

    const PlannedBox* Find(BoxKind kind, int index) const;
    const PlannedGroup* FindGroup(int group) const;
};

// Group colours (COLORREF, 0x00BBGGRR).
COLORREF GroupColor(int group);

NumericsLayout PlanNumerics(const NumericsInput& input, const BoxMetrics& metrics, const RemoteConfiguration& config);

// The smallest client the view accepts, the same at every size: there the
// fullest pane still reads (its smallest letters some 7 pixels high on a
// 96-dpi screen) and the frame fits a 1024 x 600 screen.
inline constexpr int32_t kMinViewWidth = 760;
inline constexpr int32_t kMinViewHeight = 480;

// Room kept under the pane's last group for the banners and the recording
// line that the paint writes there.
int32_t PaneReserve(const BoxMetrics& metrics);

// How far a plan overflows its room: at most 1 when every group's boxes lie
// inside its column (the pane, or a band column down to the bottom), every
// box holds its widest text (broken at blanks into the lines it has), and
// the pane with its reserve fits the height; else the largest factor by
// which something needs more than it has.
double LayoutOverflow(const NumericsLayout& layout, const BoxMetrics& metrics, const ITextMeasure& measure,
                      int32_t height);

// The widest line of `text` broken at blanks into at most `lines` lines.
int32_t WrappedTextWidth(const ITextMeasure& measure, int font, std::string_view text, int lines);

struct ViewPlan {
    BoxMetrics metrics;
    NumericsLayout layout;
};

// The pane laid out at the scale of the client's size, or at the largest
// smaller one at which the plan does not overflow; the fonts are left made
// at the scale chosen.
ViewPlan PlanView(IViewFonts& fonts, const NumericsInput& input, int32_t logicalDpiY,
                  const RemoteConfiguration& config);

// The strip area right of the pane, laid out by every paint.
struct StripLayout {
    int32_t count = 0;
    int32_t stripHeight = 0;
    LayoutRect strips[4];
    LayoutRect labels[4];  // the label column right of each strip
    std::vector<LayoutRect> separators;
};

StripLayout PlanStrips(int32_t width, int32_t height, const BoxMetrics& metrics, int32_t bandHeight,
                       int32_t stripCount);

// Size of every strip layer: for each display monitor (at most two) its
// width less the pane and 4, summed, plus 200 with two monitors; the larger
// height less 8.
struct LayerSize {
    int32_t width = 0;
    int32_t height = 0;
};
LayerSize MaxStripLayerSize(const std::vector<LayerSize>& monitors, int32_t paneWidth);
