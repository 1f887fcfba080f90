#include <gtest/gtest.h>

#include <set>

#include "app/FrameButtons.h"
#include "app/MenuCommands.h"

TEST(FrameButtons, FirstCallAlwaysUpdatesAndARepeatDoesNothing)
{
    const FrameButton all[] = {FrameButton::RWaveMarker, FrameButton::QrsTone, FrameButton::SilenceAlarm,
                               FrameButton::Alarms,      FrameButton::Recording, FrameButton::Tracings};
    for (bool first : {false, true}) {
        CFrameButtonStates states;
        for (FrameButton button : all) {
            const FrameButtonInfo& info = GetFrameButtonInfo(button);
            EXPECT_EQ(states.Update(button, first), first ? info.imageOn : info.imageOff);
            EXPECT_EQ(states.Update(button, first), std::nullopt);
            EXPECT_EQ(states.Update(button, !first), first ? info.imageOff : info.imageOn);
        }
        EXPECT_EQ(states.State(6), -1) << "the seventh state is kept but unused";
        states.Reset();
        for (int i = 0; i < CFrameButtonStates::kCount; ++i)
            EXPECT_EQ(states.State(i), -1);
    }
}

TEST(FrameButtons, ImagesOfTheToggles)
{
    const FrameButtonInfo& marker = GetFrameButtonInfo(FrameButton::RWaveMarker);
    EXPECT_EQ(marker.commandId, menu::kRWaveMarker);
    EXPECT_EQ(marker.imageOn, 3);
    EXPECT_EQ(marker.imageOff, 20);
    const FrameButtonInfo& tracings = GetFrameButtonInfo(FrameButton::Tracings);
    EXPECT_EQ(tracings.commandId, menu::kPlayHalt);
    EXPECT_EQ(tracings.imageOn, 14);
    EXPECT_EQ(tracings.imageOff, 25);
}

TEST(FrameButtons, EveryToolBarCommandHasATipAndAFreeImage)
{
    std::set<std::uint32_t> ids;
    std::set<int> images;
    for (const ToolBarCommand& command : ToolBarCommands()) {
        EXPECT_TRUE(ids.insert(command.id).second) << command.id;
        EXPECT_TRUE(images.insert(command.image).second) << command.id;
        EXPECT_GE(command.image, 0);
        EXPECT_LT(command.image, kToolBarImageCount);
        EXPECT_FALSE(GetCommandPrompt(command.id).empty()) << command.id;
        EXPECT_FALSE(GetCommandTip(command.id).empty()) << command.id;
    }
    EXPECT_EQ(GetCommandPrompt(menu::kBandwidth), "Set ECG bandwidth 40Hz or 75Hz");
    EXPECT_EQ(GetCommandTip(menu::kBandwidth), "Toggle ECG Bandwidth 40Hz or 75Hz");
    EXPECT_EQ(GetCommandPrompt(menu::kAlarmTones), "Enable\\Disable Alarm tone");
    EXPECT_EQ(GetCommandString(menu::kConnect + 1), nullptr);
    EXPECT_EQ(GetCommandTip(1), "");
}
