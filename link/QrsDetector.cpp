#include "link/QrsDetector.h"

#include <algorithm>
#include <cstdlib>

namespace {

int32_t Ms(double t, int32_t fs) { return static_cast<int32_t>(t / (1000.0 / fs) + 0.5); }

void SetRate(QrsDetector& d, int32_t rate)
{
    const int32_t fs = std::clamp(rate, QrsDetector::kMinRate, QrsDetector::kMaxRate);
    d.fs = fs;
    d.ms5 = Ms(5, fs);
    d.ms25 = Ms(25, fs);
    d.ms64 = Ms(64, fs);
    d.ms95 = Ms(95, fs);
    d.ms150 = Ms(150, fs);
    d.ms220 = Ms(220, fs);
    d.ms360 = Ms(360, fs);
    d.ms1500 = static_cast<int32_t>(1500 / (1000.0 / fs));
    const int32_t ms45 = Ms(45, fs);
    const int32_t ms100 = Ms(100, fs);
    for (int mode = 0; mode < 3; ++mode) {
        QrsTiming& t = d.timing[mode];
        t.window = mode == 1 ? d.ms25 : d.ms64;
        t.preBlank = mode == 1 ? d.ms64 : mode == 2 ? 3 * d.ms150 : d.ms150;
        t.filterDelay = mode == 1 ? static_cast<int32_t>(0.5 * d.ms5 + d.ms25 + d.ms64)
                                  : static_cast<int32_t>(0.5 * d.ms5 + ms45 + t.preBlank);
        t.derivLength = ms100 + t.window + t.filterDelay;
    }
}

int32_t Mean8(const int32_t* v)
{
    int64_t sum = 0;  // intervals after days without a beat are long
    for (int i = 0; i < QrsDetector::kHistory; ++i)
        sum += v[i];
    return static_cast<int32_t>(sum / QrsDetector::kHistory);
}

void Push8(int32_t* v, int32_t value)
{
    for (int i = QrsDetector::kHistory - 1; i > 0; --i)
        v[i] = v[i - 1];
    v[0] = value;
}

void UpdateThreshold(QrsDetector& d)
{
    d.threshold = d.noiseMean + static_cast<int32_t>(0.3125 * (d.qrsMean - d.noiseMean));
}

// After learning or re-learning: thresholds from the qrs peaks alone.
void StartFromLearnedPeaks(QrsDetector& d)
{
    d.qrsMean = Mean8(d.qrsPeaks);
    d.noiseMean = 0;
    d.rrMean = d.fs;
    d.searchBackLimit = d.ms150 + d.ms1500;
    d.threshold = static_cast<int32_t>(d.qrsMean * 0.3125);
}

void ClearRelearning(QrsDetector& d)
{
    d.secondTicks = 0;
    d.secondMax = 0;
    d.relearnCount = 0;
}

void AcceptQrs(QrsDetector& d, int32_t peak, int32_t interval, int32_t window)
{
    Push8(d.qrsPeaks, peak);
    d.qrsMean = Mean8(d.qrsPeaks);
    UpdateThreshold(d);
    Push8(d.rrEntries, interval);
    d.rrMean = Mean8(d.rrEntries);
    d.searchBackLimit = window + d.rrMean + (d.rrMean >> 1);
    d.searchBackPeak = 0;
    ClearRelearning(d);
}

void Initialise(QrsDetector& d, int32_t rate)
{
    d.Reset();
    SetRate(d, rate);
    for (int32_t& rr : d.rrEntries)
        rr = d.fs;
    d.searchBackLimit = d.ms1500;
}

} // namespace

QrsDetector::QrsDetector()
{
    SetRate(*this, kDefaultRate);
    searchBackLimit = ms1500;
}

int32_t QrsMovingWindowIntegral(QrsDetector& d, int32_t value, int32_t mode)
{
    const int32_t length = mode == 1 ? d.ms25 : d.ms64;
    if (length != d.integralLength) {
        // The mode changed the window: the sum restarts from the entries
        // now inside it, so that none is left behind in it for good.
        d.integralLength = length;
        if (d.integralPos >= length)
            d.integralPos = 0;
        d.integralSum = 0;
        for (int32_t i = 0; i < length; ++i)
            d.integralSum += d.integralRing[i];
    }
    d.integralSum += value - d.integralRing[d.integralPos];
    d.integralRing[d.integralPos] = value;
    if (++d.integralPos >= length)
        d.integralPos = 0;
    return std::min(d.integralSum / length, 32000);
}

int32_t QrsFilter(QrsDetector& d, int32_t sample, int32_t mode)
{
    const bool at400 = d.fs == 400;
    const int16_t band1 = static_cast<int16_t>(
        BiquadStepQ14(sample, at400 ? kQrsBand400Stage1Q14 : kQrsBandOtherStage1Q14, d.stage1));
    const int16_t band2 = static_cast<int16_t>(
        BiquadStepQ14(band1, at400 ? kQrsBand400Stage2Q14 : kQrsBandOtherStage2Q14, d.stage2));
    const int32_t diff = band2 - d.diffRing[d.diffPos];
    d.diffRing[d.diffPos] = band2;
    if (++d.diffPos >= d.ms5)
        d.diffPos = 0;
    return QrsMovingWindowIntegral(d, std::abs(diff), mode);
}

int32_t QrsPeak(QrsDetector& d, int32_t value)
{
    int32_t peak = 0;
    if (d.peakAge > 0)
        ++d.peakAge;
    if (value > d.peakLast && value > d.peakMax) {
        d.peakMax = value;
        if (d.peakMax > 2)
            d.peakAge = 1;
    } else if (value < (d.peakMax >> 1) || d.peakAge > d.ms95) {
        peak = d.peakMax;
        d.peakMax = 0;
        d.peakAge = 0;
    }
    d.peakLast = value;
    return peak;
}

int32_t QrsBaselineShiftCheck(const QrsDetector& d, int32_t mode)
{
    const int32_t length = d.Timing(mode).derivLength;
    int32_t max = 0, min = 0, maxAt = 0, minAt = 0;
    int32_t pos = d.derivPos;
    for (int32_t t = 0; t < d.ms220; ++t) {
        const int32_t x = d.derivBuffer[pos];
        if (x > max) {
            max = x;
            maxAt = t;
        } else if (x < min) {
            min = x;
            minAt = t;
        }
        if (++pos >= length)
            pos = 0;
    }
    min = -min;
    const bool pair = max > (min >> 3) && min > (max >> 3) && std::abs(maxAt - minAt) < d.ms150;
    return pair ? 0 : 1;
}

int32_t DetectQrs(QrsDetector& d, int32_t sample, int32_t initRate, int32_t mode)
{
    if (initRate != 0) {
        Initialise(d, initRate);
        return 0;
    }
    const QrsTiming& t = d.Timing(mode);

    int32_t a = QrsPeak(d, QrsFilter(d, sample, mode));
    if (a < (d.fs == 500 ? 5 : 6))
        a = 0;

    // Hold a peak for the pre-blank time in case a larger one follows.
    int32_t p = 0;
    if (a != 0 && d.preBlankCount == 0) {
        d.heldPeak = a;
        d.preBlankCount = t.preBlank;
    } else if (a == 0 && d.preBlankCount != 0) {
        if (--d.preBlankCount == 0)
            p = d.heldPeak;
    } else if (a != 0) {
        if (a > d.heldPeak) {
            d.heldPeak = a;
            d.preBlankCount = t.preBlank;
        } else if (--d.preBlankCount == 0) {
            p = d.heldPeak;
        }
    }

    // Raw derivative, kept for the baseline-shift check.
    const int32_t derivative = sample - d.rawRing[d.rawPos];
    d.rawRing[d.rawPos] = sample;
    if (++d.rawPos >= d.ms5)
        d.rawPos = 0;
    if (d.derivPos >= t.derivLength)
        d.derivPos = 0;
    d.derivBuffer[d.derivPos] = derivative;
    if (++d.derivPos >= t.derivLength)
        d.derivPos = 0;
    // Held below overflow when no beat comes for weeks.
    if (d.count < (1 << 30))
        ++d.count;

    int32_t result = 0;
    if (d.peakEntries < QrsDetector::kHistory) {
        if (p > 0)
            d.count = t.window;
        if (++d.secondTicks >= d.fs) {
            d.qrsPeaks[d.peakEntries++] = d.secondMax;
            d.secondTicks = 0;
            d.secondMax = 0;
            if (d.peakEntries == QrsDetector::kHistory)
                StartFromLearnedPeaks(d);
        }
        // A peak on the closing sample counts towards the next second.
        d.secondMax = std::max(d.secondMax, p);
        return 0;
    }

    if (p >= 1 && QrsBaselineShiftCheck(d, mode) == 0) {
        if (p > d.threshold) {
            AcceptQrs(d, p, d.count - t.window, t.window);
            d.count = t.window;
            result = t.window + t.filterDelay;
        } else {
            Push8(d.noisePeaks, p);
            d.noiseMean = Mean8(d.noisePeaks);
            UpdateThreshold(d);
            // Early peaks may be T waves, which can mask a small QRS.
            if (p > d.searchBackPeak && d.count - t.window >= d.ms360) {
                d.searchBackPeak = p;
                d.searchBackPos = d.count - t.window;
            }
        }
    }

    if (d.count > d.searchBackLimit && d.searchBackPeak > (d.threshold >> 1)) {
        const int32_t position = d.searchBackPos;
        result = d.count + t.filterDelay - position;
        d.count -= position;
        AcceptQrs(d, d.searchBackPeak, position, t.window);
    }

    // Re-learn the thresholds after eight seconds without a detection.
    if (++d.secondTicks >= d.fs) {
        d.relearnPeaks[d.relearnCount++] = d.secondMax;
        d.secondTicks = 0;
        d.secondMax = 0;
        if (d.relearnCount == QrsDetector::kHistory) {
            for (int i = 0; i < QrsDetector::kHistory; ++i) {
                d.qrsPeaks[i] = d.relearnPeaks[i];
                d.noisePeaks[i] = 0;
            }
            StartFromLearnedPeaks(d);
            ClearRelearning(d);
        }
    }
    d.secondMax = std::max(d.secondMax, p);
    return result;
}
