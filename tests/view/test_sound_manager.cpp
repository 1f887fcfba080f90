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
        ASSERT_TRUE(sounds.PlayLooped(kSoundAlarm));
        EXPECT_EQ(player.PlayingWave(), sounds.Wave(c.row, kSoundAlarm));
    }
}

TEST(SoundManager, PlaysOnceOrLoopedAndANullCellStopsAnySound)
{
    CRecordingSoundPlayer player;
    CSoundManager sounds(player);
    ASSERT_TRUE(sounds.LoadSounds());
    sounds.SetRow(2);
    sounds.SetWave(2, kSoundBreath, nullptr);

    const struct {
        const char* step;
        std::function<bool()> act;
        bool played;
        Call call;
        WaveImage wave;
    } steps[] = {
        {"beat once", [&] { return sounds.PlayOnce(2, kSoundBeat); }, true, Call::PlayOnce, sounds.Wave(2, kSoundBeat)},
        {"alarm looped", [&] { return sounds.PlayLooped(kSoundAlarm); }, true, Call::PlayLooped,
         sounds.Wave(2, kSoundAlarm)},
        {"null cell once", [&] { return sounds.PlayOnce(2, kSoundBreath); }, false, Call::Stop, nullptr},
        {"alarm again", [&] { return sounds.PlayLooped(kSoundAlarm); }, true, Call::PlayLooped,
         sounds.Wave(2, kSoundAlarm)},
        {"null cell looped", [&] { return sounds.PlayLooped(kSoundBreath); }, false, Call::Stop, nullptr},
        {"stop", [&] { sounds.Stop(); return false; }, false, Call::Stop, nullptr},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        EXPECT_EQ(s.act(), s.played);
        ASSERT_FALSE(player.Calls().empty());
        EXPECT_EQ(player.Calls().back().call, s.call);
        EXPECT_EQ(player.PlayingWave(), s.wave);
    }

    const std::size_t calls = player.Calls().size();
    EXPECT_FALSE(sounds.PlayOnce(4, kSoundBeat));
    EXPECT_FALSE(sounds.PlayOnce(0, 6));
    EXPECT_EQ(player.Calls().size(), calls) << "outside the table nothing is played or stopped";
}
