#include "link/HeartRate.h"

void HeartRateChain::Reset()
{
    *this = HeartRateChain();
}

void TrackBeat(HeartRateChain& c, int32_t result, bool enabled, uint8_t detectMode,
               const BeatLimits& limits, RankWindow3& rates)
{
    if (result >= 1 && result <= 399) {
        c.previousResult = c.lastResult;
        c.lastResult = result;
        if (!c.previousBeatSeen) {
            c.previousBeatSeen = 1;
        } else {
            const int32_t rr = c.previousResult - c.lastResult + c.counter;
            const int32_t refractory = limits.refractory[detectMode <= 2 ? detectMode : 0];
            if (rr >= refractory && rr <= limits.maxInterval) {
                c.heartRate = Median3(rates, static_cast<int16_t>(limits.rateNumerator / rr));
                c.beatFlag = 1;
            } else if (rr > limits.maxInterval) {
                c.heartRate = 0;
                rates.Reset();
            }
            // A beat inside the refractory period only becomes the reference.
        }
        c.counter = 0;
    } else {
        c.beatFlag = 0;
    }

    ++c.counter;
    if (c.counter >= limits.maxInterval || !enabled) {
        c.counter = limits.maxInterval;
        c.previousBeatSeen = 0;
        c.heartRate = 0;
        rates.Reset();
    }
}

namespace {

// The detector sees the raw signal above 400 bpm (narrow complexes), the
// inverted filtered one for horses, else the filtered one.
int32_t DetectorInput(int16_t raw, int32_t filtered, uint8_t mode)
{
    return mode == 1 ? raw : mode == 2 ? -filtered : filtered;
}

// A pending reset initialises the detector; the sample passes unchanged.
bool ConsumeReset(HeartRateChain& c, const EcgOptions& options)
{
    c.beatFlag = 0;
    c.qrsOutput = 0;
    if (!c.resetRequest)
        return false;
    c.resetRequest = 0;
    c.counter = 0;
    c.previousBeatSeen = 0;
    c.heartRate = 0;
    DetectQrs(c.detector, c.lastFiltered, options.sampleRate, options.detectMode);
    return true;
}

} // namespace

int16_t HeartRateStep(HeartRateChain& c, int16_t sample, bool enabled, const EcgOptions& options)
{
    if (ConsumeReset(c, options))
        return sample;
    const int16_t filtered = static_cast<int16_t>(BiquadStepQ16(sample, kEcgLowPass400, c.lowPass400));
    c.lastFiltered = filtered;
    c.qrsOutput = DetectQrs(c.detector, DetectorInput(sample, filtered, options.detectMode), 0, options.detectMode);
    TrackBeat(c, c.qrsOutput, enabled, options.detectMode, kBeatLimits400, c.rates400);
    return options.showFiltered ? filtered : sample;
}

int16_t HeartRateStepMoval(HeartRateChain& c, int16_t sample, bool enabled, const EcgOptions& options)
{
    if (ConsumeReset(c, options))
        return sample;
    int16_t hp = sample;
    if (!options.demoMode) {
        const int16_t baseline = static_cast<int16_t>(BiquadStepQ16(sample, kMovalBaseline, c.baseline500));
        hp = static_cast<int16_t>(sample - baseline);
    }
    const int16_t filtered = static_cast<int16_t>(BiquadStepQ16(hp, kEcgLowPass500, c.lowPass500));
    c.lastFiltered = filtered;
    c.qrsOutput = DetectQrs(c.detector, DetectorInput(sample, filtered, options.detectMode), 0, options.detectMode);
    TrackBeat(c, c.qrsOutput, enabled, options.detectMode, kBeatLimits500, c.rates500);
    return options.showFiltered ? filtered : hp;
}
