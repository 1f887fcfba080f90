#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/RemoteConfiguration.h"
#include "link/LiveData.h"
#include "view/StripRoles.h"
#include "view/ViewLayout.h"

namespace {

// Text as a fixed-pitch font of the scaled size would measure it.
class FakeMeasure : public ITextMeasure {
public:
    explicit FakeMeasure(double scale) : m_scale(scale) {}
    int32_t TextWidth(int font, std::string_view text) const override
    {
        return int32_t(text.size()) * (FontPixelSize(font, m_scale) * 11 / 20);
    }
    int32_t TextHeight(int font, std::string_view) const override { return LineHeight(font); }
    int32_t LineHeight(int font) const override { return FontPixelSize(font, m_scale) * 23 / 20; }

private:
    double m_scale;
};

// The fake made at the scale the layout asks for.
class FakeFonts : public IViewFonts {
public:
    void CreateAt(double scale) override { m_measure = FakeMeasure(scale); }
    int32_t TextWidth(int font, std::string_view text) const override { return m_measure.TextWidth(font, text); }
    int32_t TextHeight(int font, std::string_view text) const override { return m_measure.TextHeight(font, text); }
    int32_t LineHeight(int font) const override { return m_measure.LineHeight(font); }

private:
    FakeMeasure m_measure{1.0};
};

const char* const kGroupNames[kViewGroupCount] = {"HR", "TEMP", "RESP", "SpO2", "BP", "CO2",
                                                  "O2", "N2O", "AG1", "AG2", "STATUS"};

// The value slots each group shows (agents by the codes the row uses: 3, 4).
std::vector<int> SlotsOf(int group)
{
    switch (group) {
    case kGroupHeartRate: return {kParamHeartRate};
    case kGroupTemperature: return {kParamTemperature};
    case kGroupRespiration: return {kParamRespRate};
    case kGroupSpO2: return {kParamSpO2};
    case kGroupBloodPressure: return {kParamSystolic, kParamDiastolic, kParamMean};
    case kGroupCO2: return {kParamRespRate, kParamCO2Ins, kParamCO2Exp};
    case kGroupO2: return {kParamO2Ins, kParamO2Exp};
    case kGroupN2O: return {kParamN2OIns, kParamN2OExp};
    case kGroupPrimaryAgent: return {kParamIsoIns, kParamIsoExp};
    case kGroupSecondaryAgent: return {kParamSevIns, kParamSevExp};
    default: return {};
    }
}

bool Inside(const LayoutRect& inner, const LayoutRect& outer)
{
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

struct Row {
    const char* name;
    int32_t kind;
    uint16_t features;
    std::string groups;  // present groups, in pane order
};

}  // namespace

TEST(ViewLayout, GroupsBandPaneAndBoxesFollowTheModel)
{
    const Row rows[] = {
        {"not yet reported", kDeviceUnknown, 0x009, "HR TEMP STATUS"},
        {"Tarvik", kDeviceTarvik, 0x00F, "HR SpO2 RESP TEMP STATUS"},
        {"Tarvik Plus with gases and agents", kDeviceTarvikPlus, 0x3FF, "HR BP SpO2 CO2 TEMP O2 N2O AG1 AG2 STATUS"},
        {"Moval", kDeviceMoval, 0x009, "HR TEMP STATUS"},
        {"Selvo, temperature only", kDeviceSelvo, 0x008, "TEMP STATUS"},
        {"Selvo, ECG", kDeviceSelvo, 0x001, "HR STATUS"},
        {"Selvo, SpO2 only", kDeviceSelvo, 0x004, "HR SpO2 STATUS"},
        {"Selvo, CO2 only", kDeviceSelvo, 0x020, "CO2 STATUS"},
        {"Brindle", kDeviceBrindle, 0x030, "BP STATUS"},
    };
    const std::pair<int32_t, int32_t> sizes[] = {{1600, 900}, {900, 500}, {300, 140}};

    RemoteConfiguration config;
    config.showN2O = 1;
    for (const Row& row : rows) {
        for (const auto& [width, height] : sizes) {
            SCOPED_TRACE(std::string(row.name) + " at " + std::to_string(width) + "x" + std::to_string(height));
            const double scale = ViewScale(width, height, 96);
            const BoxMetrics m = MeasureBoxes(FakeMeasure(scale), width, height, scale);
            if (height < 151)
                EXPECT_EQ(m.paneWidth, 70);
            else
                EXPECT_EQ(m.paneWidth, m.labelWidth + m.limitOffset + m.valueWidth + 64);

            NumericsInput in;
            in.width = width;
            in.height = height;
            in.deviceKind = row.kind;
            in.featureBits = row.features;
            in.primaryAgent = 3;
            in.secondaryAgent = 4;
            const NumericsLayout layout = PlanNumerics(in, m, config);

            std::string present;
            for (const PlannedGroup& g : layout.groups)
                present += std::string(present.empty() ? "" : " ") + kGroupNames[g.group];
            EXPECT_EQ(present, row.groups);

            // Down the pane until a group ends past 600/881 of the height,
            // further only while more than the band's five columns would be
            // wanted; the rest, and the agents always, side by side in the band.
            const int32_t limit = int32_t(std::floor(600 * height / 881.0 + 0.5));
            bool bandSeen = false;
            int column = 0;
            int32_t paneBottom = 0;
            for (const PlannedGroup& g : layout.groups) {
                const bool agent = g.group == kGroupPrimaryAgent || g.group == kGroupSecondaryAgent;
                if (agent) {
                    EXPECT_TRUE(g.inBand) << kGroupNames[g.group];
                }
                if (g.inBand) {
                    bandSeen = bandSeen || !agent;
                    EXPECT_EQ(g.rect.top, layout.bandTop);
                    EXPECT_EQ(g.rect.left, m.paneWidth + 4 + column * (m.bandColumnWidth + 4));
                    EXPECT_EQ(g.rect.Width(), m.bandColumnWidth);
                    ++column;
                } else {
                    EXPECT_FALSE(bandSeen) << kGroupNames[g.group] << " in the pane after a band group";
                    EXPECT_EQ(g.rect.left, 0);
                    EXPECT_EQ(g.rect.Width(), m.paneWidth);
                    if (paneBottom > limit) {
                        EXPECT_EQ(std::count_if(layout.groups.begin(), layout.groups.end(),
                                                [](const PlannedGroup& x) { return x.inBand; }),
                                  5)
                            << kGroupNames[g.group] << " under the mark with a column free";
                    }
                    paneBottom = g.rect.bottom;
                }
            }
            EXPECT_LE(column, 5);
            // 150/881 of the height, or what its tallest group needs.
            int32_t tallest = 0;
            for (const PlannedGroup& g : layout.groups)
                tallest = std::max(tallest, g.inBand ? g.rect.Height() : 0);
            EXPECT_EQ(layout.bandHeight,
                      column > 0 ? std::max(int32_t(std::floor(150 * height / 881.0 + 0.5)), tallest + 8) : 0);

            // Every value of a present group has its box and two limit boxes
            // inside the group; no other value box exists.
            std::vector<bool> expected(kParameterCount, false);
            for (const PlannedGroup& g : layout.groups)
                for (const int slot : SlotsOf(g.group)) {
                    expected[slot] = true;
                    for (const PlannedBox* box : {layout.Find(BoxKind::Value, slot), layout.Find(BoxKind::Limit, 2 * slot),
                                                  layout.Find(BoxKind::Limit, 2 * slot + 1)}) {
                        ASSERT_NE(box, nullptr) << "slot " << slot;
                        EXPECT_TRUE(Inside(box->rect, g.rect)) << "slot " << slot;
                    }
                }
            for (int slot = 0; slot < kParameterCount; ++slot)
                EXPECT_EQ(layout.Find(BoxKind::Value, slot) != nullptr, bool(expected[slot])) << "slot " << slot;
            EXPECT_EQ(layout.Find(BoxKind::Limit, kApneaIndicatorBox) != nullptr, present.find("CO2") != std::string::npos);
            EXPECT_NE(layout.Find(BoxKind::Single, kBoxDate), nullptr);

            // The strips share the height above the band.
            StripRoles roles = AssignStripRoles(row.kind, row.features, config);
            const StripLayout strips = PlanStrips(width, height, m, layout.bandHeight, roles.stripCount);
            ASSERT_EQ(strips.count, roles.stripCount);
            for (int k = 0; k < strips.count; ++k) {
                EXPECT_EQ(strips.strips[k].left, m.paneWidth + 4);
                EXPECT_EQ(strips.strips[k].right, width - m.stripLabelWidth);
                EXPECT_LE(strips.strips[k].bottom, height - layout.bandHeight);
                EXPECT_GT(strips.strips[k].Height(), 0);
            }
        }
    }
}

TEST(ViewLayout, ScaleFollowsHeightAndShrinksForANarrowWindow)
{
    const double wide = ViewScale(1600, 900, 96);
    EXPECT_DOUBLE_EQ(wide, 900 * 96 / 63432.0);
    // 1.2 times as wide as high is the last unshrunk shape.
    EXPECT_DOUBLE_EQ(ViewScale(1080, 900, 96), wide);
    EXPECT_DOUBLE_EQ(ViewScale(900, 900, 96), wide * (900.0 / 900.0) / 1.2);
    EXPECT_EQ(FontPixelSize(kFontLargeValue, 1.25), 45) << "36 x 1.25 = 45";
    EXPECT_EQ(FontPixelSize(kFontCaption, 1.25), 18) << "14 x 1.25 = 17.5, half up";
    EXPECT_EQ(ViewScale(1600, 0, 96), 0.0);
}

TEST(ViewLayout, StripLayersCoverEveryMonitorBesideThePane)
{
    EXPECT_EQ(MaxStripLayerSize({{1920, 1080}}, 300).width, 1920 - 304);
    const LayerSize two = MaxStripLayerSize({{1920, 1080}, {1280, 1024}}, 300);
    EXPECT_EQ(two.width, (1920 - 304) + (1280 - 304) + 200);
    EXPECT_EQ(two.height, 1072);
    EXPECT_EQ(MaxStripLayerSize({{800, 600}, {800, 600}, {4000, 3000}}, 100).height, 592) << "two monitors at most";
}

namespace {

bool Overlap(const LayoutRect& a, const LayoutRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool SharesItsPlace(const PlannedBox& a, const PlannedBox& b)
{
    auto is = [](const PlannedBox& box, BoxKind kind, int index) { return box.kind == kind && box.index == index; };
    auto bpPicture = [&](const PlannedBox& box) {
        return is(box, BoxKind::Animation, kBpPauseAnimation) || is(box, BoxKind::Animation, kBpCycleAnimation) ||
               is(box, BoxKind::Picture, kPictureBpOff);
    };
    auto apneaOverRate = [&](const PlannedBox& x, const PlannedBox& y) {
        return is(x, BoxKind::Limit, kApneaIndicatorBox) && is(y, BoxKind::Value, kParamRespRate);
    };
    // The three blood-pressure pictures take turns; the apnea mark lies over
    // the rate on purpose.
    return (bpPicture(a) && bpPicture(b)) || apneaOverRate(a, b) || apneaOverRate(b, a);
}

// Lines `text` takes broken at blanks in `width`; 0 when a word is wider.
int WrappedLines(const ITextMeasure& measure, int font, const std::string& text, int32_t width)
{
    int lines = 0;
    std::string line;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string word = text.substr(start, end - start);
        start = end + 1;
        if (word.empty())
            continue;
        if (measure.TextWidth(font, word) > width)
            return 0;
        const std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && measure.TextWidth(font, longer) <= width) {
            line = longer;
        } else {
            line = word;
            ++lines;
        }
    }
    return lines;
}

std::string Describe(const PlannedBox& box)
{
    static const char* const kinds[] = {"caption", "value", "label", "limit", "single", "picture", "animation"};
    return std::string(kinds[int(box.kind)]) + " " + std::to_string(box.index) + " of " + kGroupNames[box.group];
}

}  // namespace

// At every size the frame allows, for every model's set of groups: no two
// boxes overlap, every box lies in its group's room, every text fits its
// box, the pane leaves room for the banners, and the letters stay readable.
TEST(ViewLayout, EveryModelReadsAtEverySizeTheFrameAllows)
{
    struct Model {
        const char* name;
        int32_t kind;
        uint16_t features;
    };
    const Model models[] = {
        {"not yet reported", kDeviceUnknown, 0x009},
        {"Tarvik", kDeviceTarvik, 0x00F},
        {"Tarvik Plus, everything", kDeviceTarvikPlus, 0x3FF},
        {"Tarvik Plus, one agent", kDeviceTarvikPlus, 0x1FF},
        {"Tarvik Plus, gases without blood pressure", kDeviceTarvikPlus, 0x3EF},
        {"Tarvik Plus, CO2 and O2", kDeviceTarvikPlus, 0x07F},
        {"Moval", kDeviceMoval, 0x009},
        {"Selvo, temperature only", kDeviceSelvo, 0x008},
        {"Selvo, SpO2 only", kDeviceSelvo, 0x004},
        {"Selvo, CO2 and O2", kDeviceSelvo, 0x060},
        {"Brindle", kDeviceBrindle, 0x030},
    };
    // Screens, the client the frame's bars leave on them, odd shapes, and
    // the minimum.
    const std::pair<int32_t, int32_t> sizes[] = {
        {1024, 600}, {1024, 768}, {1280, 800}, {1366, 768}, {1600, 900}, {1920, 1080},
        {1024, 512}, {1024, 680}, {1280, 712}, {1366, 680}, {1600, 812}, {1920, 992},
        {kMinViewWidth, 1000}, {1920, kMinViewHeight}, {kMinViewWidth, kMinViewHeight},
    };

    RemoteConfiguration config;  // every unit converted: the longest captions
    config.showN2O = 1;
    config.cuffSize[0] = 6;
    FakeFonts fonts;
    for (const Model& model : models) {
        for (const auto& [width, height] : sizes) {
            for (const bool snoozing : {false, true}) {
                SCOPED_TRACE(std::string(model.name) + " at " + std::to_string(width) + "x" + std::to_string(height) +
                             (snoozing ? ", snoozing" : ""));
                ASSERT_GE(width, kMinViewWidth);
                ASSERT_GE(height, kMinViewHeight);
                NumericsInput in;
                in.width = width;
                in.height = height;
                in.deviceKind = model.kind;
                in.featureBits = model.features;
                in.primaryAgent = 4;
                in.secondaryAgent = 5;
                in.snoozing = snoozing;
                in.sweepGainText = "200mm/sec  (x4.0) Dental";
                in.dateText = "Date: 12/31/2024";
                in.speciesText = "Species: Canine";
                in.patientId = "20241231";
                const ViewPlan plan = PlanView(fonts, in, 96, config);
                const BoxMetrics& m = plan.metrics;
                const NumericsLayout& layout = plan.layout;
                fonts.CreateAt(m.scale);

                for (int font = 0; font < kViewFontCount; ++font)
                    EXPECT_GE(FontPixelSize(font, m.scale), 7) << "font " << font << " too small to read";
                EXPECT_LE(layout.bannerY + PaneReserve(m), height) << "room for the banners under the pane";

                for (std::size_t i = 0; i < layout.boxes.size(); ++i) {
                    const PlannedBox& box = layout.boxes[i];
                    const PlannedGroup* group = layout.FindGroup(box.group);
                    ASSERT_NE(group, nullptr) << Describe(box);
                    const LayoutRect room = group->inBand ? LayoutRect{group->rect.left, layout.bandTop,
                                                                       group->rect.left + m.bandColumnWidth, height}
                                                          : LayoutRect{0, 0, m.paneWidth, height};
                    EXPECT_TRUE(Inside(box.rect, room)) << Describe(box) << " leaves its group's room";
                    for (std::size_t j = i + 1; j < layout.boxes.size(); ++j) {
                        if (!SharesItsPlace(box, layout.boxes[j])) {
                            EXPECT_FALSE(Overlap(box.rect, layout.boxes[j].rect))
                                << Describe(box) << " over " << Describe(layout.boxes[j]);
                        }
                    }

                    const bool neverShown = box.kind == BoxKind::Single && (box.index == kBoxGain ||
                                                                            box.index == kBoxFilter ||
                                                                            box.index == kBoxPatient);
                    if (neverShown || box.kind == BoxKind::Picture || box.kind == BoxKind::Animation)
                        continue;
                    for (const std::string& text : {box.text, box.sample}) {
                        if (text.empty())
                            continue;
                        const int lines = WrappedLines(fonts, box.font, text, box.rect.Width());
                        EXPECT_TRUE(lines > 0 && lines * fonts.LineHeight(box.font) <= box.rect.Height())
                            << Describe(box) << ": \"" << text << "\" in " << box.rect.Width() << "x"
                            << box.rect.Height();
                    }
                }

                const StripRoles roles = AssignStripRoles(model.kind, model.features, config);
                const StripLayout strips = PlanStrips(width, height, m, layout.bandHeight, roles.stripCount);
                for (int k = 0; k < strips.count; ++k)
                    EXPECT_GT(strips.strips[k].Height(), 3 * fonts.LineHeight(kFontLabel)) << "strip " << k;
            }
        }
    }
}

// Where the pane fitted at the height's own scale it still does: the
// layout there is the one it always was.
TEST(ViewLayout, ScaleComesDownOnlyWhereThePaneDoesNotFit)
{
    RemoteConfiguration config;
    config.showN2O = 1;
    FakeFonts fonts;
    NumericsInput in;
    in.deviceKind = kDeviceTarvikPlus;
    in.featureBits = 0x3FF;
    in.speciesText = "Species: Canine";
    auto planAt = [&](double scale) {
        fonts.CreateAt(scale);
        const BoxMetrics m = MeasureBoxes(fonts, in.width, in.height, scale);
        const NumericsLayout layout = PlanNumerics(in, m, config);
        return std::pair{layout, LayoutOverflow(layout, m, fonts, in.height)};
    };
    const std::pair<int32_t, int32_t> sizes[] = {
        {1600, 812}, {1920, 992}, {1024, 680}, {800, 621}, {kMinViewWidth, 1000}};
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        in.width = width;
        in.height = height;
        const double own = ViewScale(width, height, 96);
        const auto [unfitted, over] = planAt(own);
        const ViewPlan plan = PlanView(fonts, in, 96, config);
        EXPECT_EQ(over > 1.0, width <= 800) << "only the narrow ones overflow";
        if (over <= 1.0) {
            EXPECT_EQ(plan.metrics.scale, own);
            ASSERT_EQ(plan.layout.boxes.size(), unfitted.boxes.size());
            for (std::size_t i = 0; i < unfitted.boxes.size(); ++i)
                EXPECT_EQ(plan.layout.boxes[i].rect, unfitted.boxes[i].rect) << Describe(unfitted.boxes[i]);
        } else {
            EXPECT_LT(plan.metrics.scale, own);
            EXPECT_GT(planAt(plan.metrics.scale * 1.05).second, 1.0) << "no smaller than it must be";
        }
    }
}

TEST(ViewLayout, WrappedTextTakesTheNarrowestWidthForItsLines)
{
    const FakeMeasure measure(1.0);  // font 4: 11 px, 6 px a character
    EXPECT_EQ(WrappedTextWidth(measure, kFontSmall, "Alarm Tone Snooze", 1), 17 * 6);
    EXPECT_EQ(WrappedTextWidth(measure, kFontSmall, "Alarm Tone Snooze", 2), 10 * 6) << "\"Snooze\" below";
    EXPECT_EQ(WrappedTextWidth(measure, kFontSmall, "Alarm Tone Snooze", 3), 6 * 6) << "one word a line";
    EXPECT_EQ(WrappedTextWidth(measure, kFontSmall, "Connecting:", 2), 11 * 6) << "one word cannot break";
    EXPECT_EQ(WrappedTextWidth(measure, kFontSmall, "", 2), 0);
}
