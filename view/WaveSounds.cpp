#include "view/WaveSounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

#include "platform/WaveFile.h"
#include "view/SoundColumns.h"

namespace {

using Samples = std::vector<double>;

struct RowKey {
    double beatHz;
    double alarmHz;
    double breathHz; // centre of the whoosh's band
};

constexpr std::array<RowKey, 4> kRowKeys{{
    {880.0, 784.0, 500.0},
    {987.8, 880.0, 650.0},
    {1108.7, 740.0, 800.0},
    {1244.5, 830.6, 950.0},
}};

std::size_t SampleAt(double ms)
{
    return std::size_t(std::lround(ms * kWaveSampleRate / 1000.0));
}

// Raised-cosine fades at both ends: the tone starts and ends at rest.
double Envelope(std::size_t i, std::size_t length, std::size_t fadeIn, std::size_t fadeOut)
{
    const auto ramp = [](double x) { return 0.5 - 0.5 * std::cos(std::numbers::pi * x); };
    double gain = 1.0;
    if (i < fadeIn)
        gain = ramp(double(i) / double(fadeIn));
    const std::size_t fromEnd = length - 1 - i;
    if (fromEnd < fadeOut)
        gain = std::min(gain, ramp(double(fromEnd) / double(fadeOut)));
    return gain;
}

struct Tone {
    double startMs;
    double lengthMs;
    double hz;
    double amplitude; // the peak
    double fadeInMs;
    double fadeOutMs;
    int harmonics = 1; // falling as 1/k, which the ear locates and hears through noise
};

double HarmonicSum(double phase, int harmonics)
{
    double v = 0.0;
    for (int k = 1; k <= harmonics; ++k)
        v += std::sin(k * phase) / k;
    return v;
}

double HarmonicPeak(int harmonics)
{
    constexpr int kSteps = 4096;
    double peak = 0.0;
    for (int i = 0; i < kSteps; ++i)
        peak = std::max(peak, std::abs(HarmonicSum(2.0 * std::numbers::pi * i / kSteps, harmonics)));
    return peak;
}

void AddTone(Samples& s, const Tone& t)
{
    const std::size_t start = SampleAt(t.startMs);
    const std::size_t length = SampleAt(t.lengthMs);
    const std::size_t fadeIn = SampleAt(t.fadeInMs);
    const std::size_t fadeOut = SampleAt(t.fadeOutMs);
    const double scale = t.amplitude / HarmonicPeak(t.harmonics);
    s.resize(std::max(s.size(), start + length), 0.0);
    for (std::size_t i = 0; i < length; ++i) {
        const double phase = 2.0 * std::numbers::pi * t.hz * double(i) / kWaveSampleRate;
        s[start + i] += scale * Envelope(i, length, fadeIn, fadeOut) * HarmonicSum(phase, t.harmonics);
    }
}

Samples Beat(const RowKey& key)
{
    Samples s;
    AddTone(s, {0, 80, key.beatHz, 0.5, 5, 10});
    return s;
}

Samples Click(const RowKey& key)
{
    Samples s;
    AddTone(s, {0, 25, key.beatHz, 0.5, 3, 5});
    return s;
}

Samples PulseBeat(const RowKey& key)
{
    Samples s;
    AddTone(s, {0, 100, key.beatHz * 0.75, 0.3, 10, 50});
    return s;
}

Samples BpNotice()
{
    Samples s;
    AddTone(s, {0, 120, 659.3, 0.5, 8, 15});
    AddTone(s, {160, 160, 880.0, 0.5, 8, 30});
    return s;
}

Samples AlarmPhrase(const RowKey& key)
{
    constexpr double kBurstMs = 120;
    constexpr double kPhraseMs = 1600;
    Samples s;
    for (const double at : {0.0, 200.0, 400.0, 800.0, 1000.0})
        AddTone(s, {at, kBurstMs, key.alarmHz, 0.8, 15, 15, 5});
    s.resize(SampleAt(kPhraseMs), 0.0);
    return s;
}

// Band-passed noise under a swell, its band gliding up like a drawn breath.
// The generator is seeded so that the sound is the same on every run.
Samples Breath(const RowKey& key, unsigned seed)
{
    const std::size_t length = SampleAt(450);
    std::mt19937 noise(seed);
    Samples s(length, 0.0);
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double peak = 0.0;
    for (std::size_t i = 0; i < length; ++i) {
        const double progress = double(i) / double(length);
        const double hz = key.breathHz * (0.8 + 0.4 * progress);
        // Band-pass biquad with a Q of 1, coefficients per sample for the glide.
        const double w = 2.0 * std::numbers::pi * hz / kWaveSampleRate;
        const double alpha = std::sin(w) / 2.0;
        const double a0 = 1.0 + alpha;
        const double x = double(noise()) / double(std::mt19937::max()) * 2.0 - 1.0;
        const double y = (alpha * x - alpha * x2 + 2.0 * std::cos(w) * y1 - (1.0 - alpha) * y2) / a0;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        const double swell = std::pow(std::sin(std::numbers::pi * std::pow(progress, 0.8)), 2.0);
        s[i] = y * swell;
        peak = std::max(peak, std::abs(s[i]));
    }
    for (double& v : s)
        v *= 0.3 / peak;
    return s;
}

// The lost connection's two tones the other way up.
Samples Connected()
{
    Samples s;
    AddTone(s, {0, 220, 659.3, 0.6, 8, 20, 2});
    AddTone(s, {280, 400, 987.8, 0.6, 8, 80, 2});
    return s;
}

Samples LostConnection()
{
    Samples s;
    AddTone(s, {0, 220, 987.8, 0.6, 8, 20, 2});
    AddTone(s, {280, 400, 659.3, 0.6, 8, 80, 2});
    return s;
}

WaveImage ToWave(const Samples& s)
{
    std::vector<int16_t> pcm(s.size());
    std::transform(s.begin(), s.end(), pcm.begin(),
                   [](double v) { return int16_t(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0)); });
    return MakeWaveImage(pcm, kWaveSampleRate);
}

} // namespace

WaveImage MakeWave(int resourceId)
{
    if (resourceId == kSoundWaveIds[0][kSoundBpNotify])
        return ToWave(BpNotice());
    if (resourceId == kLostConnectionWave)
        return ToWave(LostConnection());
    if (resourceId == kConnectedWave)
        return ToWave(Connected());
    for (std::size_t row = 0; row < kSoundWaveIds.size(); ++row) {
        const RowKey& key = kRowKeys[row];
        const auto& ids = kSoundWaveIds[row];
        const auto cell = std::find(ids.begin(), ids.end(), resourceId);
        if (cell == ids.end())
            continue;
        switch (cell - ids.begin()) {
        case kSoundBeat: return ToWave(Beat(key));
        case kSoundBeatAbove400: return ToWave(Click(key));
        case kSoundPulseBeat: return ToWave(PulseBeat(key));
        case kSoundAlarm: return ToWave(AlarmPhrase(key));
        case kSoundBreath: return ToWave(Breath(key, unsigned(resourceId)));
        default: break;
        }
    }
    return nullptr;
}
