#include <algorithm>
#include <cmath>

#include "app/RemoteConfiguration.h"
#include "link/AgentCodes.h"
#include "link/LiveData.h"
#include "view/ParameterColors.h"
#include "view/ViewLayout.h"

namespace {

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kPatientGreen = 0x00C800;
constexpr COLORREF kStatusTextColor = 0x40FFFF;

// The order of the groups down the pane.
constexpr int kPaneOrder[] = {
    kGroupHeartRate, kGroupBloodPressure, kGroupSpO2, kGroupCO2, kGroupRespiration, kGroupTemperature,
    kGroupO2, kGroupN2O, kGroupPrimaryAgent, kGroupSecondaryAgent, kGroupStatus,
};

constexpr const char* kCuffCaptions[7] = {
    " BP (mmHg)   Cuff: #1", " BP (mmHg)   Cuff: #2", " BP (mmHg)   Cuff: #3", " BP (mmHg)   Cuff: #4",
    " BP (mmHg) Cuff: #5-7", " BP (mmHg)   Cuff: #8", " BP (mmHg) Cuff: Adult",
};

// The widest texts the changing boxes show: every digit is as wide as 8.
constexpr char kLimitSample[] = "888.8";
constexpr char kDateSample[] = "Date: 88/88/8888 - 88:88:88";
constexpr char kStatusSample[] = "Alarm Tone Snooze";
constexpr char kSpeciesSample[] = "Species: Canine";
constexpr char kHeartRateCaptionSample[] = "  PR (bpm) - from SpO2";

// Temperature and the gases are shown with one decimal.
bool Decimals(int slot)
{
    return slot == kParamTemperature || slot >= kParamCO2Ins;
}

bool Native(const RemoteConfiguration& config, int unit)
{
    return LoadRelaxed(config.units[unit]) != 0;
}

// An agent code as the pane shows it: codes outside 1..5 fall back to the
// group's own agent, for the caption and the slots alike.
int ShownAgent(uint8_t code, int fallback)
{
    return IsAgentCode(code) ? code : fallback;
}

bool GroupPresent(int group, const NumericsInput& in, const RemoteConfiguration& config)
{
    const uint16_t f = in.featureBits;
    switch (group) {
    case kGroupHeartRate: return HasFeatureBit(f, 0) || (in.deviceKind == kDeviceSelvo && HasFeatureBit(f, 2));
    case kGroupBloodPressure: return HasFeatureBit(f, 4);
    case kGroupSpO2: return HasFeatureBit(f, 2);
    case kGroupCO2: return HasFeatureBit(f, 5) && in.deviceKind != kDeviceBrindle;
    case kGroupRespiration: return HasFeatureBit(f, 1) && !HasFeatureBit(f, 5);
    case kGroupTemperature: return HasFeatureBit(f, 3);
    case kGroupO2: return HasFeatureBit(f, 6) && in.deviceKind != kDeviceBrindle;
    case kGroupN2O: return HasFeatureBit(f, 7) && LoadRelaxed(config.showN2O) != 0;
    case kGroupPrimaryAgent: return HasFeatureBit(f, 8);
    case kGroupSecondaryAgent: return HasFeatureBit(f, 9);
    case kGroupStatus: return true;
    default: return false;
    }
}

std::string Caption(int group, const NumericsInput& in, const RemoteConfiguration& config)
{
    switch (group) {
    case kGroupHeartRate:
        return in.heartRateSource == 1   ? "  PR (bpm) - from SpO2"
               : in.heartRateSource == 2 ? "  PR (bpm) - from BP"
                                         : "  HR (bpm) - ECG";
    case kGroupBloodPressure: {
        const int32_t species = std::clamp(in.species, 0, kSpeciesCount - 1);
        const int32_t cuff = std::clamp(LoadRelaxed(config.cuffSize[species]), 0, 6);
        return kCuffCaptions[cuff];
    }
    case kGroupSpO2: return "  SpO2 (%)";
    case kGroupCO2: return Native(config, kUnitCO2) ? "  CO2 (%)" : "  CO2 (mmHg)";
    case kGroupRespiration: return "  RR (bpm) from ECG";
    case kGroupTemperature: return Native(config, kUnitTemp) ? "  TEMP (\u00B0F)" : "  TEMP (\u00B0C)";
    case kGroupO2: return Native(config, kUnitO2) ? "   O2 (%)" : "   O2 (mmHg)";
    case kGroupN2O: return Native(config, kUnitN2O) ? "  N2O (%)" : "  N2O (mmHg)";
    case kGroupPrimaryAgent:
    case kGroupSecondaryAgent: {
        const int agent = group == kGroupPrimaryAgent ? ShownAgent(in.primaryAgent, 4) : ShownAgent(in.secondaryAgent, 3);
        // The agents' unit selectors follow their codes (Halothane first).
        return std::string("  ") + AgentName(agent) + (Native(config, agent) ? " (%)" : " (mmHg)");
    }
    case kGroupStatus: return "  Status";
    default: return {};
    }
}

std::string CO2SweepText(const RemoteConfiguration& config)
{
    const int32_t sweep = LoadRelaxed(config.co2Sweep);
    std::string text = sweep == 1 ? "6.25 mm/sec  " : sweep == 4 ? "25 mm/sec    " : "12.5 mm/sec  ";
    const bool percent = Native(config, kUnitCO2);
    if (LoadRelaxed(config.co2Scale) != 0)
        text += percent ? "1.25 (%)/div" : "10 mmHg/div";
    else
        text += percent ? "0.5 (%)/div" : "4 mmHg/div";
    return text;
}

// Places the boxes of one group from its top-left corner.
class GroupBuilder {
public:
    GroupBuilder(NumericsLayout& out, const BoxMetrics& m, const NumericsInput& in, int group, int32_t left,
                 int32_t top, int32_t width)
        : m_out(out), m_m(m), m_in(in), m_group(group), m_left(left), m_top(top), m_width(width), m_y(top),
          m_color(GroupColor(group))
    {
    }

    void Caption(const std::string& text)
    {
        // The heart-rate caption follows the rate's source without a relayout.
        Add(BoxKind::Caption, m_group, RectAt(m_left, m_y, m_width, m_m.captionHeight), kFontCaption, text, kBlack,
            m_color, true, false, m_group == kGroupHeartRate ? kHeartRateCaptionSample : "");
        m_y += m_m.captionHeight;
    }

    // A row of 32-pixel pictures under the caption: one at the left, one at
    // the right edge of the group.
    void IconRow(std::initializer_list<std::pair<BoxKind, int>> leftItems,
                 std::initializer_list<std::pair<BoxKind, int>> rightItems, bool leftVisible,
                 std::initializer_list<bool> rightVisible)
    {
        const int32_t leftX = m_left + RoundHalfUp(3 * m_m.scale);
        for (const auto& [kind, index] : leftItems)
            Add(kind, index, RectAt(leftX, m_y, kIconSize, kIconSize), kFontSmall, {}, kBlack, kBlack, leftVisible,
                false);
        const bool* visible = rightVisible.begin();
        for (const auto& [kind, index] : rightItems)
            Add(kind, index, RectAt(m_left + m_width - kIconSize, m_y, kIconSize, kIconSize), kFontSmall, {},
                kBlack, kBlack, *visible++, false);
        m_y += kIconSize;
    }

    // A value with its label and its two limit boxes; returns its box.
    LayoutRect Value(int slot, bool large, int label = -1, const char* labelText = nullptr)
    {
        const int32_t height = large ? m_m.largeValueHeight : m_m.valueHeight;
        const int32_t limitLeft = m_left + m_m.limitOffset + m_m.valueWidth;
        // The limits begin a little before the value's width ends (the
        // label is wider than the limit offset): the value ends there.
        const int32_t valueLeft = m_left + m_m.labelWidth;
        const LayoutRect value{valueLeft, m_y, std::min(valueLeft + m_m.valueWidth, limitLeft), m_y + height};
        Add(BoxKind::Value, slot, value, large ? kFontLargeValue : kFontValue, "---", m_color, kBlack, true, true,
            Decimals(slot) ? "888.8" : "888");
        if (label >= 0)
            Add(BoxKind::Label, label,
                RectAt(m_left, m_y + (height - m_m.labelHeight) / 2, m_m.labelWidth, m_m.labelHeight), kFontLabel,
                labelText, m_color, kBlack, true, true);
        const bool limitFont = slot == kParamHeartRate || slot == kParamTemperature || slot == kParamSpO2 ||
                               (slot == kParamRespRate && !HasFeatureBit(m_in.featureBits, 5));
        // A limit in the limit font is as high as that font's line.
        const int32_t limitHeight = large || limitFont ? m_m.limitBoxHeight : m_m.smallTextHeight;
        const int limitFontId = limitFont ? kFontLimit : kFontSmall;
        Add(BoxKind::Limit, 2 * slot, RectAt(limitLeft, m_y, m_m.limitBoxWidth, limitHeight), limitFontId, {},
            m_color, kBlack, false, true, kLimitSample);
        Add(BoxKind::Limit, 2 * slot + 1,
            RectAt(limitLeft, value.bottom - limitHeight, m_m.limitBoxWidth, limitHeight), limitFontId, {}, m_color,
            kBlack, false, true, kLimitSample);
        m_y = value.bottom + 2;
        return value;
    }

    // A line of small text across the group.
    void TextRow(int box, const std::string& text, COLORREF textColor, COLORREF backColor, bool visible,
                 int font = kFontSmall, int32_t width = -1, std::string sample = {})
    {
        const int32_t height = font == kFontSmall ? m_m.smallTextHeight : m_m.captionHeight;
        Add(BoxKind::Single, box, RectAt(m_left, m_y, width < 0 ? m_width : width, height), font, text, textColor,
            backColor, visible, false, std::move(sample));
        m_y += height;
    }

    void Add(BoxKind kind, int index, LayoutRect rect, int font, std::string text, COLORREF textColor,
             COLORREF backColor, bool visible, bool centred, std::string sample = {})
    {
        PlannedBox box;
        box.kind = kind;
        box.index = index;
        box.group = m_group;
        box.rect = rect;
        box.font = font;
        box.text = std::move(text);
        box.sample = std::move(sample);
        box.textColor = textColor;
        box.backColor = backColor;
        box.visible = visible;
        box.centred = centred;
        m_out.boxes.push_back(std::move(box));
    }

    int32_t Left() const { return m_left; }
    int32_t Width() const { return m_width; }
    int32_t Y() const { return m_y; }
    void Skip(int32_t pixels) { m_y += pixels; }
    COLORREF Color() const { return m_color; }
    LayoutRect Rect() const { return LayoutRect{m_left, m_top, m_left + m_width, m_y}; }

private:
    NumericsLayout& m_out;
    const BoxMetrics& m_m;
    const NumericsInput& m_in;
    int m_group;
    int32_t m_left;
    int32_t m_top;
    int32_t m_width;
    int32_t m_y;
    COLORREF m_color;
};

void BuildGroup(GroupBuilder& g, int group, const NumericsInput& in, const BoxMetrics& m,
                const RemoteConfiguration& config, NumericsLayout& out)
{
    g.Caption(Caption(group, in, config));
    const bool co2 = HasFeatureBit(in.featureBits, 5);
    switch (group) {
    case kGroupHeartRate:
        g.IconRow({{BoxKind::Picture, kPictureBeat}}, {{BoxKind::Picture, kPictureTone}}, false, {true});
        g.Value(kParamHeartRate, true);
        g.TextRow(kBoxSweepGain, in.sweepGainText, g.Color(), kBlack, true);
        // Gain and filter share a line; both start hidden.
        g.Add(BoxKind::Single, kBoxGain, RectAt(g.Left(), g.Y(), g.Width() / 2, m.smallTextHeight), kFontSmall,
              in.gainText, g.Color(), kBlack, false, false);
        g.Add(BoxKind::Single, kBoxFilter,
              RectAt(g.Left() + g.Width() / 2, g.Y(), g.Width() - g.Width() / 2, m.smallTextHeight), kFontSmall,
              in.filterText, g.Color(), kBlack, false, false);
        g.Skip(m.smallTextHeight);
        break;
    case kGroupBloodPressure:
        g.IconRow({}, {{BoxKind::Animation, kBpPauseAnimation}, {BoxKind::Animation, kBpCycleAnimation},
                       {BoxKind::Picture, kPictureBpOff}},
                  false, {false, false, true});
        g.Value(kParamSystolic, false, 0, "Sys");
        g.Value(kParamDiastolic, false, 1, "Dia");
        g.Value(kParamMean, false, 2, "MAP");
        break;
    case kGroupSpO2: {
        const LayoutRect value = g.Value(kParamSpO2, true);
        const int32_t barLeft = g.Left() + m.limitOffset + m.valueWidth + m.limitBoxWidth + 4;
        const int32_t barRight = std::max(g.Left() + g.Width() - 4, barLeft + 8);
        out.spo2BarRect = LayoutRect{barLeft, value.top, barRight, value.bottom};
        break;
    }
    case kGroupCO2: {
        const LayoutRect rr = g.Value(kParamRespRate, !co2, 3, "RR");
        // The apnea indicator lies over the middle of the respiration value.
        const int32_t w = m.limitBoxWidth;
        const int32_t h = m.smallTextHeight;
        g.Add(BoxKind::Limit, kApneaIndicatorBox,
              RectAt(rr.left + (rr.Width() - w) / 2, rr.top + (rr.Height() - h) / 2, w, h), kFontSmall, "AP", kBlack,
              kRed, false, true);
        g.Value(kParamCO2Ins, false, 4, "Ins");
        g.Value(kParamCO2Exp, false, 5, "Exp");
        g.TextRow(kBoxCO2Sweep, CO2SweepText(config), g.Color(), kBlack, true);
        break;
    }
    case kGroupRespiration:
        g.Value(kParamRespRate, !co2);
        break;
    case kGroupTemperature:
        g.Value(kParamTemperature, false);
        break;
    case kGroupO2:
        g.Value(kParamO2Ins, false, 6, "Ins");
        g.Value(kParamO2Exp, false, 7, "Exp");
        break;
    case kGroupN2O:
        g.Value(kParamN2OIns, false, 8, "Ins");
        g.Value(kParamN2OExp, false, 9, "Exp");
        break;
    case kGroupPrimaryAgent:
    case kGroupSecondaryAgent: {
        const bool primary = group == kGroupPrimaryAgent;
        const int agent = primary ? ShownAgent(in.primaryAgent, 4) : ShownAgent(in.secondaryAgent, 3);
        const int label = primary ? 10 : 12;
        g.Value(AgentInsSlot(agent), false, label, "Ins");
        g.Value(AgentExpSlot(agent), false, label + 1, "Exp");
        break;
    }
    case kGroupStatus: {
        // The clock writes date and time here: two lines, so that the time
        // fits beside the date whatever the pane's width.
        g.Add(BoxKind::Single, kBoxDate, RectAt(g.Left(), g.Y(), g.Width(), 2 * m.captionHeight), kFontDate,
              in.dateText, kWhite, GroupColor(kGroupStatus), true, false, kDateSample);
        g.Skip(2 * m.captionHeight);
        const int32_t batteryTop = g.Y();
        g.Add(BoxKind::Picture, kPictureBattery,
              RectAt(g.Left() + g.Width() - kIconSize, batteryTop, kIconSize, kIconSize), kFontSmall, {}, kBlack,
              kBlack, false, false);
        // Species and patient beside the battery, the status under it. A
        // species typed for "Other" or a patient's name may be longer than
        // any column: the box cuts it; the built-in names fit.
        g.TextRow(kBoxSpecies, in.speciesText, kPatientGreen, kBlack, true, kFontSmall, g.Width() - kIconSize - 2,
                  kSpeciesSample);
        g.TextRow(kBoxPatient, "Patient: " + in.patientId, kPatientGreen, kBlack, false, kFontSmall,
                  g.Width() - kIconSize - 2);
        g.Skip(std::max<int32_t>(batteryTop + kIconSize - g.Y(), 0));
        // Two lines: the snooze notice takes both.
        const int32_t statusWidth = std::max<int32_t>(g.Width() - 52, g.Width() / 2);
        const int32_t statusHeight = 2 * m.smallTextHeight;
        g.Add(BoxKind::Single, kBoxStatusText, RectAt(g.Left(), g.Y(), statusWidth, statusHeight), kFontSmall,
              in.snoozing ? "Alarm Tone Snooze" : "Connecting:", kStatusTextColor, kBlack, false, false,
              kStatusSample);
        g.Add(BoxKind::Animation, kConnectAnimation, RectAt(g.Left() + statusWidth + 2, g.Y(), 48, 24), kFontSmall, {},
              kBlack, kBlack, false, false);
        g.Skip(std::max<int32_t>(statusHeight, 24));
        break;
    }
    default:
        break;
    }
}

}  // namespace

COLORREF GroupColor(int group)
{
    static constexpr COLORREF kColors[kViewGroupCount] = {
        kHeartRateColor, kTemperatureColor, kRespColor,         kSpO2Color,           kBloodPressureColor, kCO2Color,
        kO2Color,        kN2OColor,         kPrimaryAgentColor, kSecondaryAgentColor, kStatusColor,
    };
    return group >= 0 && group < kViewGroupCount ? kColors[group] : kBlack;
}

const PlannedBox* NumericsLayout::Find(BoxKind kind, int index) const
{
    for (const PlannedBox& box : boxes)
        if (box.kind == kind && box.index == index)
            return &box;
    return nullptr;
}

const PlannedGroup* NumericsLayout::FindGroup(int group) const
{
    for (const PlannedGroup& g : groups)
        if (g.group == group)
            return &g;
    return nullptr;
}

NumericsLayout PlanNumerics(const NumericsInput& in, const BoxMetrics& m, const RemoteConfiguration& config)
{
    NumericsLayout out;
    if (in.height <= 0)
        return out;
    out.r = in.height / 881.0;
    const int32_t bandLimit = RoundHalfUp(600 * out.r);

    // Which groups go to the band: the agents always, and every group after
    // the one whose bottom passes the mark. The band has five columns: when
    // more want it, the first of them stay in the pane, under the group that
    // passed the mark, so that the status and the agents keep their columns.
    struct Placed {
        int group;
        bool agent;
        bool inBand;
        int32_t height;
    };
    std::vector<Placed> placed;
    int32_t y = 0;
    bool toBand = false;
    int wanting = 0;
    for (const int group : kPaneOrder) {
        if (!GroupPresent(group, in, config))
            continue;
        const bool agent = group == kGroupPrimaryAgent || group == kGroupSecondaryAgent;
        NumericsLayout scratch;
        GroupBuilder measure(scratch, m, in, group, 0, 0, m.paneWidth);
        BuildGroup(measure, group, in, m, config, scratch);
        const bool inBand = toBand || agent;
        placed.push_back(Placed{group, agent, inBand, measure.Y()});
        if (inBand) {
            ++wanting;
            continue;
        }
        y += measure.Y();
        if (y > bandLimit)
            toBand = true;
    }
    int32_t tallest = 0;
    for (Placed& p : placed) {
        if (wanting > 5 && p.inBand && !p.agent) {
            p.inBand = false;
            --wanting;
        }
        if (p.inBand)
            tallest = std::max(tallest, p.height);
    }
    // The band is as high as its tallest group needs on a short window,
    // where the status group's pictures keep their size.
    const int32_t bandHeight = std::max(RoundHalfUp(150 * out.r), tallest + 8);
    const int32_t bandTop = in.height - bandHeight + 8;

    y = 0;
    int bandColumns = 0;
    int32_t statusBottom = -1;
    for (const Placed& p : placed) {
        const int32_t left = p.inBand ? m.paneWidth + 4 + bandColumns * (m.bandColumnWidth + 4) : 0;
        const int32_t top = p.inBand ? bandTop : y;
        GroupBuilder builder(out, m, in, p.group, left, top, p.inBand ? m.bandColumnWidth : m.paneWidth);
        BuildGroup(builder, p.group, in, m, config, out);
        out.groups.push_back(PlannedGroup{p.group, p.inBand, builder.Rect(), GroupColor(p.group)});
        if (p.inBand) {
            ++bandColumns;
            continue;
        }
        y = builder.Y();
        if (p.group == kGroupStatus)
            statusBottom = y;
    }
    if (bandColumns > 0) {
        out.bandHeight = bandHeight;
        out.bandTop = bandTop;
    }

    // The banners go under the status group, or under the pane's last group
    // when the status group lies in the band.
    const int32_t paneBottom = statusBottom >= 0 ? statusBottom : y;
    out.bannerX = static_cast<int32_t>(7.5 * m.scale);
    out.bannerY = paneBottom;
    return out;
}
