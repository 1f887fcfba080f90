#include "view/DemoTables.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kSamplesPerMs = 0.4;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// One ECG complex around its R peak: times and widths in ms, heights as a
// share of the R wave.
struct Wave {
    double atMs;
    double widthMs;
    double height;
};

struct EcgShape {
    double amplitude;  // R wave, counts
    Wave waves[5];     // P, Q, R, S, T
};

// A dog: P 90 ms before R, narrow QRS, broad T.
constexpr EcgShape kDogShape{800.0,
                             {{-90.0, 12.0, 0.12}, {-14.0, 4.0, -0.10}, {0.0, 5.0, 1.0}, {14.0, 5.0, -0.22},
                              {160.0, 32.0, 0.25}}};
// A small exotic patient: everything four times closer together.
constexpr EcgShape kExoticShape{700.0,
                                {{-30.0, 5.0, 0.10}, {-5.0, 1.6, -0.08}, {0.0, 2.2, 1.0}, {5.0, 2.0, -0.20},
                                 {45.0, 9.0, 0.22}}};

std::size_t Wrap(long index, std::size_t size)
{
    const long n = static_cast<long>(size);
    return static_cast<std::size_t>(((index % n) + n) % n);
}

// Adds a Gaussian bump centred at `centre` (in samples) to a looped signal.
void AddBump(std::vector<double>& signal, double centre, double sigma, double height)
{
    const long reach = static_cast<long>(std::ceil(5.0 * sigma));
    const long middle = std::lround(centre);
    for (long d = -reach; d <= reach; ++d) {
        const double z = (static_cast<double>(middle + d) - centre) / sigma;
        signal[Wrap(middle + d, signal.size())] += height * std::exp(-0.5 * z * z);
    }
}

// Beats spread evenly over the table, so that it loops without a seam.
DemoEcgTable MakeEcgTable(std::size_t size, int beats, const EcgShape& shape)
{
    std::vector<double> wave(size, 0.0);
    const double spacing = static_cast<double>(size) / beats;
    for (int b = 0; b < beats; ++b) {
        const double r = b * spacing + spacing / 2;
        for (const Wave& w : shape.waves)
            AddBump(wave, r + w.atMs * kSamplesPerMs, w.widthMs * kSamplesPerMs, w.height * shape.amplitude);
    }
    DemoEcgTable table;
    table.samples.resize(size);
    table.markers.assign(size, kDemoMarkerValid);
    for (std::size_t i = 0; i < size; ++i)
        table.samples[i] = static_cast<int16_t>(std::lround(wave[i]));
    return table;
}

// One pulse: a steep systolic rise, the dicrotic notch and a slow decay,
// between 30 and 220.
void MakePleth(std::array<uint8_t, kDemoPlethSize>& out)
{
    std::vector<double> pulse(out.size(), 0.0);
    const double n = static_cast<double>(out.size());
    AddBump(pulse, 0.22 * n, 0.06 * n, 1.0);
    AddBump(pulse, 0.34 * n, 0.10 * n, 0.45);
    AddBump(pulse, 0.52 * n, 0.07 * n, 0.30);
    const auto [low, high] = std::minmax_element(pulse.begin(), pulse.end());
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<uint8_t>(std::lround(30.0 + 190.0 * (pulse[i] - *low) / (*high - *low)));
}

double SmoothStep(double x)
{
    x = std::clamp(x, 0.0, 1.0);
    return x * x * (3.0 - 2.0 * x);
}

// One breath of about two seconds: the inspired baseline, the expiratory
// rise, a slowly rising plateau and the fall at the next inspiration. The
// baseline is the value the CO2 trace reads as zero.
void MakeResp(std::array<int16_t, kDemoRespSize>& out)
{
    constexpr double kBaseline = -2073.0;
    constexpr double kPlateauStart = 1100.0;
    constexpr double kPlateauEnd = 1207.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(out.size());
        double v = kBaseline;
        if (x >= 0.35 && x < 0.45)
            v = kBaseline + (kPlateauStart - kBaseline) * SmoothStep((x - 0.35) / 0.10);
        else if (x >= 0.45 && x < 0.85)
            v = kPlateauStart + (kPlateauEnd - kPlateauStart) * (x - 0.45) / 0.40;
        else if (x >= 0.85 && x < 0.95)
            v = kPlateauEnd + (kBaseline - kPlateauEnd) * SmoothStep((x - 0.85) / 0.10);
        out[i] = static_cast<int16_t>(std::lround(v));
    }
}

// Inflation to 180 mmHg in 1.5 s, a steady deflation to 40 mmHg with the
// arterial pulse (2 per second) riding on it, largest near a mean pressure
// of 95 mmHg, then the dump to zero. Points come at 400 / 6 per second.
void MakeCuff(std::array<int16_t, kDemoCuffPoints>& pressure, std::array<int16_t, kDemoCuffPoints>& oscillation)
{
    constexpr std::size_t kInflate = 100;
    constexpr std::size_t kDump = 80;
    constexpr std::size_t kDeflate = kDemoCuffPoints - kInflate - kDump;
    constexpr double kTop = 1800.0;
    constexpr double kBottom = 400.0;
    constexpr double kMean = 950.0;
    constexpr double kPointsPerBeat = 400.0 / 6.0 / 2.0;
    for (std::size_t i = 0; i < kDemoCuffPoints; ++i) {
        double p = 0.0;
        double osc = 0.0;
        if (i < kInflate) {
            p = kTop * SmoothStep(static_cast<double>(i) / kInflate);
        } else if (i < kInflate + kDeflate) {
            const double j = static_cast<double>(i - kInflate);
            const double base = kTop - (kTop - kBottom) * j / (kDeflate - 1);
            const double z = (base - kMean) / 250.0;
            const double phase = kTwoPi * j / kPointsPerBeat;
            osc = 700.0 * std::exp(-0.5 * z * z) * (std::sin(phase) + 0.35 * std::sin(2.0 * phase));
            p = base + 0.08 * osc;
        } else {
            const double j = static_cast<double>(i - kInflate - kDeflate);
            p = kBottom * (1.0 - SmoothStep(j / (kDump - 1)));
        }
        pressure[i] = static_cast<int16_t>(std::lround(p));
        oscillation[i] = static_cast<int16_t>(std::lround(osc));
    }
}

DemoTables MakeTables()
{
    DemoTables t;
    t.ecgA = MakeEcgTable(kDemoEcgASize, kDemoEcgABeats, kDogShape);
    t.ecgB = MakeEcgTable(kDemoEcgBSize, kDemoEcgBBeats, kExoticShape);
    MakePleth(t.pleth);
    MakeResp(t.resp);
    MakeCuff(t.cuffPressure, t.cuffOscillation);
    return t;
}

} // namespace

const DemoTables& GetDemoTables()
{
    static const DemoTables tables = MakeTables();
    return tables;
}
