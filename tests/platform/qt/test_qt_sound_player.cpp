// The Qt sound player. Headless there is normally no audio output: then every
// Play fails and the silence is reported once. The cases that need an output
// are skipped without one.
#include <gtest/gtest.h>

#include <QAudioDevice>
#include <QMediaDevices>
#include <QTest>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "platform/WaveFile.h"
#include "platform/qt/QtSoundPlayer.h"

namespace {

constexpr int kRate = 22050;

WaveImage Tone(int ms)
{
    std::vector<int16_t> samples(std::size_t(kRate * ms / 1000));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = int16_t(8000 * std::sin(2 * std::numbers::pi * 880 * double(i) / kRate));
    return MakeWaveImage(samples, kRate);
}

WaveImage Bytes(std::vector<uint8_t> bytes)
{
    return std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
}

bool HaveOutput()
{
    return !QMediaDevices::defaultAudioOutput().isNull();
}

class QtSoundPlayer : public ::testing::Test {
protected:
    std::vector<std::string> m_log;
    int m_silentReports = 0;
    CQtSoundPlayer m_player{[this](const std::string& line) { m_log.push_back(line); },
                            [this] { ++m_silentReports; }};
};

} // namespace

TEST_F(QtSoundPlayer, WithoutAnOutputEveryPlayFailsAndTheSilenceIsReportedOnce)
{
    if (HaveOutput())
        GTEST_SKIP() << "an audio output device exists";
    const WaveImage tone = Tone(100);
    for (const bool loop : {true, false, true, true}) {
        EXPECT_FALSE(m_player.Play(tone, loop));
        EXPECT_FALSE(m_player.IsPlaying());
    }
    EXPECT_EQ(m_silentReports, 1);
    ASSERT_EQ(m_log.size(), 1u);
    EXPECT_NE(m_log[0].find("alarm sounds are silent"), std::string::npos) << m_log[0];
}

TEST_F(QtSoundPlayer, AnImageThatIsNotPcmWaveIsRefusedAndLoggedOnce)
{
    std::vector<uint8_t> floatWave = *Tone(100);
    floatWave[20] = 3; // IEEE float samples
    const std::vector<WaveImage> refused{nullptr, Bytes({}), Bytes(std::vector<uint8_t>(64, 0x55)),
                                         Bytes(floatWave)};
    for (const WaveImage& image : refused)
        EXPECT_FALSE(m_player.Play(image, true));
    EXPECT_EQ(m_silentReports, 0) << "a bad image says nothing of the output";
    ASSERT_EQ(m_log.size(), 1u);
    EXPECT_NE(m_log[0].find("not a PCM WAVE"), std::string::npos) << m_log[0];
}

TEST_F(QtSoundPlayer, WithAnOutputALoopPlaysOnUntilStoppedAndASoundOnceEnds)
{
    if (!HaveOutput())
        GTEST_SKIP() << "no audio output device";
    int ended = 0;
    m_player.SetOnceSoundEnded([&] { ++ended; });
    // Fifty rounds of 20 ms: more than the output reads ahead.
    ASSERT_TRUE(m_player.Play(Tone(20), true));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_player.Repeats() >= 50; }, 10000));
    EXPECT_TRUE(m_player.IsPlaying());
    EXPECT_FALSE(m_player.Play(Bytes({1, 2, 3}), false));
    EXPECT_TRUE(m_player.IsPlaying()) << "a refused sound leaves the loop playing";
    m_player.Stop();
    EXPECT_FALSE(m_player.IsPlaying());

    EXPECT_EQ(ended, 0) << "a stopped loop did not end by itself";

    ASSERT_TRUE(m_player.Play(Tone(100), false));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_player.IsPlaying(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended == 1; }, 5000)) << "its listener is told, once";
    EXPECT_EQ(m_silentReports, 0);
}
