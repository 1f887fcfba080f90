#include "sim/SyntheticSignals.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace {

double Gauss(double t, double centre, double width)
{
    const double z = (t - centre) / width;
    return std::exp(-0.5 * z * z);
}

int16_t Clamp16(double v)
{
    return static_cast<int16_t>(std::lround(std::clamp(v, -32768.0, 32767.0)));
}

// The waves of one beat, placed by its R wave.
struct BeatShape {
    explicit BeatShape(const SyntheticEcgSpec& shape)
        : rr(60.0 / shape.beatsPerMinute),
          w(shape.qrsWidthMs / 1000.0),
          // The T wave follows at 0.45 of the interval, at most 280 ms.
          tOffset(std::min(0.45 * rr, 0.28)),
          tWidth(std::min(0.1 * rr, 0.045)),
          pOffset(std::min(0.2 * rr, 0.16)),
          sign(shape.inverted ? -1.0 : 1.0),
          amplitude(shape.amplitude)
    {
    }

    // Adds the beat whose R wave lies at `b` to the sample at `t`.
    void Add(double& v, double t, double b) const
    {
        v += sign * amplitude * (Gauss(t, b, w) - 0.12 * Gauss(t, b - 2.5 * w, w) - 0.25 * Gauss(t, b + 2.5 * w, w));
        v += 0.25 * amplitude * Gauss(t, b + tOffset, tWidth);
        v += 0.08 * amplitude * Gauss(t, b - pOffset, 0.02);
    }

    double rr, w, tOffset, tWidth, pOffset, sign, amplitude;
};

} // namespace

SyntheticEcg MakeSyntheticEcg(const SyntheticEcgSpec& shape, int sampleCount)
{
    SyntheticEcg out;
    out.samples.resize(sampleCount);
    const double fs = shape.sampleRate;
    const double rr = 60.0 / shape.beatsPerMinute;
    std::vector<double> beats;
    for (double t = shape.firstBeatSeconds; t < sampleCount / fs + rr; t += rr)
        beats.push_back(t);
    for (double t : beats) {
        const int index = static_cast<int>(std::lround(t * fs));
        if (index < sampleCount)
            out.rPeaks.push_back(index);
    }

    const BeatShape beat(shape);
    std::mt19937 gen(shape.seed);
    std::normal_distribution<double> noise(0.0, shape.noise > 0 ? shape.noise : 1.0);
    std::size_t first = 0;
    for (int n = 0; n < sampleCount; ++n) {
        const double t = n / fs;
        while (first < beats.size() && beats[first] < t - 0.5)
            ++first;
        double v = 0.0;
        for (std::size_t k = first; k < beats.size() && beats[k] < t + 0.5; ++k)
            beat.Add(v, t, beats[k]);
        v += shape.mainsHum * std::sin(2 * std::numbers::pi * 50.0 * t);
        v += shape.baselineWander * std::sin(2 * std::numbers::pi * 0.15 * t + 0.7);
        if (shape.noise > 0)
            v += noise(gen);
        out.samples[n] = Clamp16(v);
    }
    return out;
}

int16_t SteadyEcgSample(const SyntheticEcgSpec& shape, long n)
{
    const BeatShape beat(shape);
    const double t = double(n) / shape.sampleRate;
    // Every beat within half a second of the sample, as above.
    double v = 0.0;
    const long from = long(std::ceil((t - 0.5 - shape.firstBeatSeconds) / beat.rr));
    for (long k = from;; ++k) {
        const double b = shape.firstBeatSeconds + double(k) * beat.rr;
        if (b >= t + 0.5)
            break;
        if (b >= t - 0.5)
            beat.Add(v, t, b);
    }
    v += shape.mainsHum * std::sin(2 * std::numbers::pi * 50.0 * t);
    v += shape.baselineWander * std::sin(2 * std::numbers::pi * 0.15 * t + 0.7);
    return Clamp16(v);
}

std::vector<int16_t> MakeBreathing(const BreathingSpec& shape, int sampleCount)
{
    std::vector<int16_t> out(sampleCount);
    std::mt19937 gen(shape.seed);
    std::normal_distribution<double> noise(0.0, shape.noise > 0 ? shape.noise : 1.0);
    double phase = 0.0;  // in breaths
    for (int n = 0; n < sampleCount; ++n) {
        const std::size_t breath = static_cast<std::size_t>(phase) % shape.periodsSeconds.size();
        double v = shape.offset + shape.amplitude * std::sin(2 * std::numbers::pi * phase);
        if (shape.noise > 0)
            v += noise(gen);
        out[n] = Clamp16(v);
        phase += 1.0 / (shape.periodsSeconds[breath] * kImpedanceRate);
    }
    return out;
}
