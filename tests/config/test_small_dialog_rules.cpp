// The rules of the small dialogs the menu commands open: the waveform boxes
// a remote offers, the demo model form and its OK, the agent lists.
#include <gtest/gtest.h>

#include "app/RemoteConfiguration.h"
#include "config/SmallDialogRules.h"
#include "link/LiveData.h"

namespace {

bool Same(const WaveBoxes& a, const WaveBoxes& b)
{
    return a.ecg == b.ecg && a.spo2 == b.spo2 && a.resp == b.resp && a.o2 == b.o2;
}

std::vector<DemoBox> CheckedBoxes(const CDemoConfigForm& form)
{
    std::vector<DemoBox> boxes;
    for (int i = 0; i < kDemoBoxCount; ++i)
        if (form.Checked(DemoBox(i)))
            boxes.push_back(DemoBox(i));
    return boxes;
}

std::vector<std::string> Texts(const std::vector<AgentEntry>& entries)
{
    std::vector<std::string> texts;
    for (const AgentEntry& entry : entries)
        texts.push_back(entry.text);
    return texts;
}

}  // namespace

TEST(WaveformDialog, TheBoxesFollowTheModelAndItsFeatures)
{
    const struct {
        int32_t kind;
        uint16_t bits;
        WaveBoxes shown;
    } cases[] = {
        {kDeviceTarvik, 0x7F, {true, true, true, false}},
        {kDeviceTarvikPlus, 0x00, {true, true, true, false}},
        {kDeviceTarvikPlus, 0x40, {true, true, true, true}},
        {kDeviceSelvo, 0x01, {true, false, false, false}},
        {kDeviceSelvo, 0x24, {false, true, true, false}},
        {kDeviceSelvo, 0x42, {false, false, true, true}},
        {kDeviceMoval, 0x7F, {}},
        {kDeviceBrindle, 0x7F, {}},
        {kDeviceUnknown, 0x7F, {}},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(Same(ShownWaveBoxes(c.kind, c.bits), c.shown)) << c.kind << " " << c.bits;
}

TEST(DemoDialog, OpensOnTheCurrentModelAndItsModule)
{
    const struct {
        int32_t kind;
        uint16_t bits;
        uint8_t module;
        std::vector<DemoBox> checked;
    } cases[] = {
        {kDeviceMoval, 0x30, 3, {kDemoMoval}},
        {kDeviceTarvikPlus, 0x10, 3, {kDemoTarvikPlus, kDemoBloodPressure}},
        {kDeviceTarvikPlus, 0x20, 0, {kDemoTarvikPlus, kDemoGasOrSevo}},
        {kDeviceTarvikPlus, 0x20, 1, {kDemoTarvikPlus, kDemoGasOrIso}},
        {kDeviceTarvikPlus, 0x60, 2, {kDemoTarvikPlus, kDemoGasOrSelectable}},
        {kDeviceTarvikPlus, 0x20, 2, {kDemoTarvikPlus, kDemoGasAx}},
        {kDeviceTarvikPlus, 0x30, 3, {kDemoTarvikPlus, kDemoBloodPressure, kDemoGasOrPlus}},
        {kDeviceTarvikPlus, 0x60, 5, {kDemoTarvikPlus, kDemoGasIcu}},
        {kDeviceTarvikPlus, 0x20, 5, {kDemoTarvikPlus, kDemoGasCo2Only}},
        {kDeviceTarvikPlus, 0x20, 4, {kDemoTarvikPlus}},
        {kDeviceUnknown, 0x30, 3, {}},
    };
    for (const auto& c : cases) {
        CDemoConfigForm form;
        form.Click(kDemoExotic, true);
        form.OnInitDialog(c.module, c.bits, c.kind);
        EXPECT_EQ(CheckedBoxes(form), c.checked) << c.kind << " " << c.bits << " " << int(c.module);
        EXPECT_FALSE(form.OnOK().exoticHeartRates) << "always unchecked when it opens";
    }
}

TEST(DemoDialog, OkTurnsTheFirstCheckedModelAndItsOptionsIntoTheRemote)
{
    const struct {
        std::vector<DemoBox> clicks;
        int32_t kind;
        uint16_t bits;
        uint8_t module;
    } cases[] = {
        {{kDemoMoval}, kDeviceMoval, 0x09, 5},
        {{kDemoTarvik}, kDeviceTarvik, 0x0F, 5},
        {{kDemoTarvikPlus}, kDeviceTarvikPlus, 0x0F, 5},
        {{kDemoSelvo}, kDeviceSelvo, 0x0B, 5},
        {{kDemoBrindle}, kDeviceBrindle, 0x71, 5},
        {{kDemoBloodPressure}, kDeviceTarvikPlus, 0x1F, 5},
        {{kDemoGasOrPlus}, kDeviceTarvikPlus, 0x3EF, 3},
        {{kDemoGasOrIso}, kDeviceTarvikPlus, 0x1EF, 1},
        {{kDemoGasOrSevo}, kDeviceTarvikPlus, 0x1EF, 0},
        {{kDemoGasOrSelectable}, kDeviceTarvikPlus, 0x1EF, 2},
        {{kDemoGasAx}, kDeviceTarvikPlus, 0x1AF, 2},
        {{kDemoGasIcu}, kDeviceTarvikPlus, 0x6F, 5},
        {{kDemoGasCo2Only, kDemoBloodPressure}, kDeviceTarvikPlus, 0x3F, 5},
        // A gas module while Tarvik is the model makes it Tarvik+.
        {{kDemoTarvik, kDemoGasOrIso}, kDeviceTarvikPlus, 0x1EF, 1},
        // A model click clears the options; one module at a time.
        {{kDemoGasOrIso, kDemoBloodPressure, kDemoTarvikPlus}, kDeviceTarvikPlus, 0x0F, 5},
        {{kDemoGasOrIso, kDemoGasIcu}, kDeviceTarvikPlus, 0x6F, 5},
    };
    for (const auto& c : cases) {
        CDemoConfigForm form;
        form.OnInitDialog(0, 0x01, kDeviceUnknown);
        for (const DemoBox box : c.clicks)
            form.Click(box, !form.Checked(box));
        const DemoModelChoice choice = form.OnOK();
        EXPECT_EQ(choice.deviceKind, c.kind) << c.clicks.back();
        EXPECT_EQ(choice.featureBits, c.bits) << c.clicks.back();
        EXPECT_EQ(choice.gasModuleKind, c.module) << c.clicks.back();
    }

    // Unchecking the only module leaves Tarvik+ without one.
    CDemoConfigForm form;
    form.OnInitDialog(1, 0x20, kDeviceTarvikPlus);
    form.Click(kDemoGasOrIso, false);
    EXPECT_EQ(form.OnOK().featureBits, 0x0F);

    // No model checked: model 0, the rest as it came.
    form.OnInitDialog(2, 0x1A3, kDeviceUnknown);
    form.Click(kDemoExotic, true);
    const DemoModelChoice none = form.OnOK();
    EXPECT_EQ(none.deviceKind, 0);
    EXPECT_EQ(none.featureBits, 0x1A3);
    EXPECT_EQ(none.gasModuleKind, 2);
    EXPECT_TRUE(none.exoticHeartRates);
}

TEST(AgentDialog, ListsFollowTheModuleTheReportAndTheShownAgents)
{
    RemoteConfiguration config;
    config.showHalothane = 1;
    config.showEnflurane = 0;
    config.showDesflurane = 1;
    config.primaryAgent = 5;
    config.secondaryAgent = 3;
    const std::array<uint8_t, 5> available{1, 1, 0, 1, 1};
    const struct {
        uint8_t module;
        bool primaryShown, secondaryShown;
        std::vector<std::string> primary, secondary;
        int primarySelection, secondarySelection;
    } cases[] = {
        {0, true, false, {"Sevoflurane Only"}, {}, -1, -1},
        {1, true, false, {"Isoflurane Only"}, {}, -1, -1},
        {2, true, false, {"Halothane", "Sevoflurane", "Desflurane"}, {}, 2, -1},
        {3, true, true, {"Halothane", "Isoflurane", "Sevoflurane", "Desflurane"},
         {"Halothane", "Isoflurane", "Sevoflurane", "Desflurane"}, 3, 1},
        {4, false, false, {}, {}, -1, -1},
        {5, false, false, {}, {}, -1, -1},
    };
    for (const auto& c : cases) {
        const CAgentChoice choice(c.module, available, config, false);
        const AgentLists& lists = choice.Lists();
        EXPECT_EQ(lists.primaryShown, c.primaryShown) << int(c.module);
        EXPECT_EQ(lists.secondaryShown, c.secondaryShown) << int(c.module);
        EXPECT_EQ(Texts(lists.primary), c.primary) << int(c.module);
        EXPECT_EQ(Texts(lists.secondary), c.secondary) << int(c.module);
        EXPECT_EQ(lists.primarySelection, c.primarySelection) << int(c.module);
        EXPECT_EQ(lists.secondarySelection, c.secondarySelection) << int(c.module);
    }
}

TEST(AgentDialog, ChoicesAreHeldUntilOkAndTheTwoAgentsStayApart)
{
    RemoteConfiguration config;
    config.showHalothane = 1;
    config.showEnflurane = 1;
    config.showDesflurane = 1;
    config.primaryAgent = 3;
    config.secondaryAgent = 4;
    const std::array<uint8_t, 5> available{1, 1, 1, 1, 1};

    CAgentChoice two(3, available, config, true);
    two.SelectPrimary(3);  // sevoflurane: the secondary agent, ignored
    EXPECT_EQ(two.PrimaryAgent(), 3);
    EXPECT_EQ(two.Lists().primarySelection, 2) << "the list shows the agent kept";
    two.SelectSecondary(2);  // isoflurane: the primary agent, ignored
    EXPECT_EQ(two.SecondaryAgent(), 4);
    two.SelectPrimary(0);
    two.SelectSecondary(4);
    EXPECT_FALSE(two.LivePrimary()) << "the live agent follows only a one-list module";
    EXPECT_EQ(config.primaryAgent, 3) << "nothing is written before OK";
    two.Apply(config);
    EXPECT_EQ(config.primaryAgent, 1);
    EXPECT_EQ(config.secondaryAgent, 5);

    for (const bool demo : {false, true}) {
        CAgentChoice one(2, available, config, demo);
        one.SelectPrimary(4);
        EXPECT_EQ(one.PrimaryAgent(), 5);
        EXPECT_EQ(one.LivePrimary().has_value(), demo);
    }
    // A module of one fixed agent lists it by its code, and choosing it
    // changes nothing.
    for (const auto& [module, code] : {std::pair<uint8_t, int32_t>{0, 4}, {1, 3}}) {
        CAgentChoice fixed(module, available, config, true);
        ASSERT_EQ(fixed.Lists().primary.size(), 1u);
        EXPECT_EQ(fixed.Lists().primary[0].code, code);
        fixed.SelectPrimary(0);
        EXPECT_EQ(fixed.PrimaryAgent(), 1);
        EXPECT_EQ(fixed.Lists().primarySelection, -1);
        EXPECT_FALSE(fixed.LivePrimary());
    }
    EXPECT_EQ(CuffSelection(6), 6);
    EXPECT_EQ(CuffSelection(7), -1);
    EXPECT_EQ(CuffSelection(-1), -1);
}
