#include "link/Respiration.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int32_t kCrossingLevel = 50;
constexpr double kBreathsPerMinuteSamples = 4500.0;  // 60 s x 75 samples/s
constexpr int32_t kLowestRate = 11;
constexpr int32_t kHighestRate = 99;
constexpr int32_t kLargestStep = 7;       // larger jumps of the average are not shown
constexpr int32_t kCardiacMargin = 5;     // a rate this close to the heart rate is the heart
constexpr double kCompression = 300.0;

bool ToCoefficient(float value, int32_t& out)
{
    if (!std::isfinite(value) || std::fabs(value) >= 2147483648.0f)
        return false;
    out = static_cast<int32_t>(value);
    return true;
}

int32_t CompressOnce(int32_t d)
{
    if (d > 0)
        return RoundHalfDown(std::log(double(d)) * kCompression);
    if (d < 0)
        return RoundHalfDown(std::log(-double(d)) * -kCompression);
    return 0;
}

// The compression of every 16-bit value, worked out once: a logarithm per
// sample would be most of the chain's time.
int32_t Compress(int16_t d)
{
    static const std::array<int16_t, 65536> table = [] {
        std::array<int16_t, 65536> t{};
        for (int32_t v = -32768; v <= 32767; ++v)
            t[static_cast<uint16_t>(v)] = static_cast<int16_t>(CompressOnce(v));
        return t;
    }();
    return table[static_cast<uint16_t>(d)];
}

// `fraction`: how far before this sample the trace crossed the level.
void TrackCrossing(RespCrossing& c, bool crossed, double fraction)
{
    if (!crossed) {
        c.ready = 0;
        if (c.counter <= RespCrossing::kMaxCount)
            ++c.counter;
        return;
    }
    if (c.counter >= RespCrossing::kMinCount && c.counter <= RespCrossing::kMaxCount) {
        // The crossing lay `fraction` before this sample and the last one
        // `c.fraction` before its own: the period is counter + 1 samples
        // corrected by both.
        c.rate = kBreathsPerMinuteSamples / (c.counter + 1 - fraction + c.fraction);
        c.ready = 1;
    }
    c.fraction = fraction;
    c.counter = 0;
}

} // namespace

bool ComputeRespirationNotch(int32_t heartRate, BiquadCoefficients& out)
{
    const float k = 150.0f * std::tan(static_cast<float>(heartRate) * 0.0006981316837482154f);
    const float k2 = k * k;
    const float d = k2 * 0.00017777777975425124f + 4.0f;
    const float e = 4.0f * k * 0.02666666731238365f + d;
    const float b0 = d / e;
    const float b1 = (k2 * 0.0003555555595085025f - 8.0f) / e;
    BiquadCoefficients set{};
    if (!ToCoefficient(65536.0f * b0, set.b0) || !ToCoefficient(65536.0f * b1, set.b1)
        || !ToCoefficient(-65536.0f * b1, set.a1) || !ToCoefficient(65536.0f * (1.0f - 2.0f * b0), set.a2))
        return false;
    set.b2 = set.b0;
    out = set;
    return true;
}

void TrackUpCrossing(RespCrossing& c, int32_t previous, int32_t current)
{
    const bool crossed = previous < kCrossingLevel && kCrossingLevel <= current;
    TrackCrossing(c, crossed, crossed ? double(current - kCrossingLevel) / double(current - previous) : 0.0);
}

void TrackDownCrossing(RespCrossing& c, int32_t previous, int32_t current)
{
    const bool crossed = previous > -kCrossingLevel && -kCrossingLevel >= current;
    TrackCrossing(c, crossed, crossed ? double(-kCrossingLevel - current) / double(previous - current) : 0.0);
}

int16_t RespirationStep(RespirationChain& c, int16_t sample, const RespirationInputs& in)
{
    if (!in.active) {
        c.up.Reset();
        c.down.Reset();
        c.respRate = 0;
        return 0;
    }
    if (in.notchRate != 0 && in.notchRate != c.notchRate && ComputeRespirationNotch(in.notchRate, c.notch))
        c.notchRate = in.notchRate;

    const int16_t n = static_cast<int16_t>(BiquadStepQ16(sample, c.notch, c.notchHistory));
    const int16_t lp = static_cast<int16_t>(BiquadStepQ16(n, kRespBaseline, c.baselineHistory));
    const int16_t d = static_cast<int16_t>(n - lp);
    const int32_t cur = static_cast<int16_t>(BiquadStepQ16(Compress(d), kRespSmoothing, c.smoothingHistory));
    const int32_t prev = c.previous;
    c.previous = cur;

    TrackUpCrossing(c.up, prev, cur);
    TrackDownCrossing(c.down, prev, cur);

    if (c.up.counter > RespCrossing::kMaxCount || c.down.counter > RespCrossing::kMaxCount) {
        // The rate is lost, and so is the average it came from: otherwise
        // the old rate would come back with the next crossing.
        c.respRate = 0;
        c.output.Reset();
        c.averageExact = 0.0;
        c.average = 0;
    } else {
        for (RespCrossing* crossing : {&c.up, &c.down}) {
            if (crossing->ready) {
                // Kept with its fraction: a whole-number mean of halves would
                // settle one off a steady rate.
                c.averageExact = (c.averageExact + RoundHalfDown(crossing->rate)) / 2.0;
                c.average = static_cast<int32_t>(std::floor(c.averageExact + 0.5));
                crossing->ready = 0;
            }
        }
    }

    if (c.average < kLowestRate || c.average > kHighestRate) {
        c.respRate = 0;
    } else if (std::abs(c.previousAverage - c.average) < kLargestStep) {
        // A rate at the heart rate is the heart beating in the impedance.
        c.respRate = std::abs(in.heartRate - c.average) <= kCardiacMargin ? 0 : static_cast<int16_t>(c.average);
    }
    c.previousAverage = c.average;
    c.respRate = Median5(c.output, c.respRate);
    return static_cast<int16_t>(cur);
}
