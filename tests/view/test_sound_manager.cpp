// The sound manager: the table of waves by sound set, the row chosen by the
// "Sound Profile", and what reaches the single-voice player.
#include <gtest/gtest.h>

#include <functional>

#include "view/SoundColumns.h"
#include "view/SoundManager.h"
#include "view/WaveSounds.h"

using Call = CRecordingSoundPlayer::Call;

TEST(SoundManager, LoadSoundsFillsEveryCellWithTheWaveOfItsId)
{
    CRecordingSoundPlayer player;
    CSoundManager sounds(player);
    ASSERT_TRUE(sounds.LoadSounds());
    for (int row = 0; row < CSoundManager::kRows; ++row)
        for (int column = 0; column < CSoundManager::kColumns; ++column)
            EXPECT_TRUE(sounds.Wave(row, column)) << row << ", " << column;
    struct Cell {
        int row, column, id;
    };
    for (const Cell& c : {Cell{0, kSoundBeat, 230}, Cell{1, kSoundBeatAbove400, 218}, Cell{3, kSoundBpNotify, 150},
                          Cell{2, kSoundPulseBeat, 225}, Cell{0, kSoundAlarm, 340}, Cell{1, kSoundAlarm, 193},
                          Cell{3, kSoundBreath, 201}})
        EXPECT_EQ(*sounds.Wave(c.row, c.column), *MakeWave(c.id)) << c.id;
    EXPECT_TRUE(player.Calls().empty()) << "loading plays nothing";
}

TEST(SoundManager, TheRowIsTheSoundProfileWhenItNamesASoundSet)
{
    CRecordingSoundPlayer player;
    CSoundManager sounds(player);
    ASSERT_TRUE(sounds.LoadSounds());
    const struct {
        int profile, row;
    } cases[] = {{3, 3}, {7, 0}, {1, 1}, {-1, 0}, {2, 2}, {0, 0}, {3, 3}, {4, 0}}; // each a change of row
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile);
        sounds.SetRow(c.profile);
        EXPECT_EQ(sounds.Row(), c.row);
        sounds.StartAlarmLoop();
        EXPECT_EQ(player.PlayingWave(), sounds.Wave(c.row, kSoundAlarm));
        sounds.StopAlarmLoop();
    }
}

// The one owner of the player: tones stay out of a standing alarm and of a
// chime, a chime plays whole, and a standing alarm comes back after it.
TEST(SoundManager, KnowsWhatPlaysAndBringsTheAlarmBackAfterAChime)
{
    CRecordingSoundPlayer player;
    CSoundManager sounds(player);
    ASSERT_TRUE(sounds.LoadSounds());
    sounds.SetRow(1);
    const WaveImage beat = sounds.Wave(1, kSoundBeat);
    const WaveImage alarm = sounds.Wave(1, kSoundAlarm);
    const WaveImage connected = MakeWave(kConnectedWave);
    const WaveImage lost = MakeWave(kLostConnectionWave);

    const struct {
        const char* step;
        std::function<void()> act;
        WaveImage playing;  // what the speaker sounds afterwards
        bool standing;      // the alarm loop stands
        int calls;          // new calls to the player
    } steps[] = {
        {"a beat", [&] { EXPECT_TRUE(sounds.PlayTone(kSoundBeat)); }, beat, false, 1},
        {"an alarm", [&] { sounds.StartAlarmLoop(); }, alarm, true, 1},
        {"a beat under the alarm", [&] { EXPECT_FALSE(sounds.PlayTone(kSoundBeat)); }, alarm, true, 0},
        {"the alarm again", [&] { sounds.StartAlarmLoop(); }, alarm, true, 0},
        {"the connected chime", [&] { EXPECT_TRUE(sounds.PlayChime(connected)); }, connected, true, 1},
        {"the alarm during the chime", [&] { sounds.StartAlarmLoop(); }, connected, true, 0},
        {"a breath during the chime", [&] { EXPECT_FALSE(sounds.PlayTone(kSoundBreath)); }, connected, true, 0},
        {"the chime ends", [&] { player.EndOnceSound(); }, alarm, true, 1},
        {"the lost chime", [&] { EXPECT_TRUE(sounds.PlayChime(lost)); }, lost, true, 1},
        {"the alarm ends during the chime", [&] { sounds.StopAlarmLoop(); }, lost, false, 0},
        {"the lost chime ends", [&] { player.EndOnceSound(); }, nullptr, false, 0},
        {"an alarm, its wave missing", [&] { sounds.SetWave(1, kSoundAlarm, nullptr); sounds.StartAlarmLoop(); },
         nullptr, true, 1},
        {"a chime refused", [&] { EXPECT_FALSE(sounds.PlayChime(nullptr)); }, nullptr, true, 1},
        {"the alarm ends", [&] { sounds.StopAlarmLoop(); }, nullptr, false, 0},
        {"a tone whose wave is missing", [&] { sounds.SetWave(1, kSoundPulseBeat, nullptr);
                                               EXPECT_FALSE(sounds.PlayTone(kSoundPulseBeat)); },
         nullptr, false, 1},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        const std::size_t before = player.Calls().size();
        s.act();
        EXPECT_EQ(player.PlayingWave(), s.playing);
        EXPECT_EQ(sounds.AlarmLoopStanding(), s.standing);
        EXPECT_EQ(player.Calls().size() - before, std::size_t(s.calls));
    }
    EXPECT_FALSE(sounds.PlayTone(6)) << "outside the table";
}
