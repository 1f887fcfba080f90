#include <gtest/gtest.h>

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

            // Down the pane until a group ends past 600/881 of the height;
            // the rest, and the agents always, side by side in the band.
            const int32_t limit = int32_t(std::floor(600 * height / 881.0 + 0.5));
            bool passed = false;
            int column = 0;
            for (const PlannedGroup& g : layout.groups) {
                const bool agent = g.group == kGroupPrimaryAgent || g.group == kGroupSecondaryAgent;
                EXPECT_EQ(g.inBand, (passed || agent) && column < 5) << kGroupNames[g.group];
                if (g.inBand) {
                    EXPECT_EQ(g.rect.top, layout.bandTop);
                    EXPECT_EQ(g.rect.left, m.paneWidth + 4 + column * (m.bandColumnWidth + 4));
                    EXPECT_EQ(g.rect.Width(), m.bandColumnWidth);
                    ++column;
                } else {
                    EXPECT_EQ(g.rect.left, 0);
                    EXPECT_EQ(g.rect.Width(), m.paneWidth);
                    passed = passed || g.rect.bottom > limit;
                }
            }
            EXPECT_EQ(layout.bandHeight, column > 0 ? int32_t(std::floor(150 * height / 881.0 + 0.5)) : 0);

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
            EXPECT_LE(layout.minHeight, height) << "a relayout never grows the window";

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
