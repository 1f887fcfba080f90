#pragma once
// The beat detector: band-pass, derivative, moving-window integral, peak
// picking with adaptive thresholds, search back and re-learning. It reports
// how many samples back a detected beat lies.
#include <cstdint>

#include "link/Biquad.h"

// Durations of one detect mode, in samples at the detector's rate.
struct QrsTiming {
    int32_t window = 0;       // integration window
    int32_t preBlank = 0;     // how long a peak is held for a larger one
    int32_t filterDelay = 0;  // delay of the filters and the pre-blank
    int32_t derivLength = 0;  // length of the raw-derivative buffer
};

struct QrsDetector {
    // Buffers are sized for this range; other rates are clamped into it.
    static constexpr int32_t kMinRate = 100;
    static constexpr int32_t kMaxRate = 1000;
    static constexpr int32_t kDefaultRate = 400;
    static constexpr int kDiffCapacity = 8;       // ms(5) at the highest rate
    static constexpr int kIntegralCapacity = 64;  // ms(64) at the highest rate
    static constexpr int kDerivCapacity = 1024;   // longest derivative buffer
    static constexpr int kHistory = 8;

    int32_t fs = kDefaultRate;
    int32_t ms5 = 0, ms25 = 0, ms64 = 0, ms95 = 0, ms150 = 0, ms220 = 0, ms360 = 0, ms1500 = 0;
    QrsTiming timing[3];  // by mode: 0 normal, 1 rates above 400, 2 equine

    // QrsFilter
    BiquadHistory stage1, stage2;
    int32_t diffRing[kDiffCapacity] = {};
    int32_t diffPos = 0;
    int32_t integralRing[kIntegralCapacity] = {};
    int32_t integralPos = 0;
    int32_t integralSum = 0;
    int32_t integralLength = 0;

    // QrsPeak
    int32_t peakMax = 0;
    int32_t peakLast = 0;
    int32_t peakAge = 0;  // samples since the maximum, 0 = not started

    // raw-input derivative and its buffer for the baseline-shift check
    int32_t rawRing[kDiffCapacity] = {};
    int32_t rawPos = 0;
    int32_t derivBuffer[kDerivCapacity] = {};
    int32_t derivPos = 0;

    // pre-blanking
    int32_t heldPeak = 0;
    int32_t preBlankCount = 0;

    // thresholds and intervals
    int32_t qrsPeaks[kHistory] = {};
    int32_t noisePeaks[kHistory] = {};
    int32_t rrEntries[kHistory] = {};
    int32_t peakEntries = 0;  // learned one-second maxima, 8 = detecting
    int32_t qrsMean = 0, noiseMean = 0, rrMean = 0, threshold = 0;
    int32_t count = 0;
    int32_t searchBackLimit = 0;
    int32_t searchBackPeak = 0;
    int32_t searchBackPos = 0;

    // one-second maxima for learning and re-learning
    int32_t secondTicks = 0;
    int32_t secondMax = 0;
    int32_t relearnCount = 0;
    int32_t relearnPeaks[kHistory] = {};

    // The state before any initialisation, at the default rate.
    QrsDetector();
    void Reset() { *this = QrsDetector(); }
    const QrsTiming& Timing(int32_t mode) const { return timing[mode == 1 || mode == 2 ? mode : 0]; }
};

// One sample; with a non-zero initialisation rate it initialises the
// detector at that rate instead and returns 0. Otherwise returns how many
// samples back a detected beat lies, 0 for none.
int32_t DetectQrs(QrsDetector& d, int32_t sample, int32_t initRate, int32_t mode);

// The pieces, for tests.
int32_t QrsFilter(QrsDetector& d, int32_t sample, int32_t mode);
int32_t QrsMovingWindowIntegral(QrsDetector& d, int32_t value, int32_t mode);
int32_t QrsPeak(QrsDetector& d, int32_t value);
// 0 accepts the peak, 1 rejects it as a baseline shift or a T wave.
int32_t QrsBaselineShiftCheck(const QrsDetector& d, int32_t mode);
