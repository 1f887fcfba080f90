#pragma once
// Small exact helpers of the ECG chain: rounding and running rank filters.
#include <array>
#include <cstdint>

// floor(v), unless the fraction is above one half; an exact half goes down.
int32_t RoundHalfDown(double value);

// A running rank window of N 16-bit values kept sorted from highest to
// lowest. It is not a sliding median: a new value pushes out the lowest or
// the highest, by where it lands. A fresh window is all zeros.
template <int N>
struct RankWindow {
    static_assert(N == 3 || N == 5 || N == 7);
    std::array<int16_t, N> values{};
    void Reset() { values.fill(0); }
};

using RankWindow3 = RankWindow<3>;
using RankWindow5 = RankWindow<5>;
using RankWindow7 = RankWindow<7>;

// Each inserts the value and returns the middle of the window.
int16_t Median3(RankWindow3& window, int16_t value);
int16_t Median5(RankWindow5& window, int16_t value);
int16_t Median7(RankWindow7& window, int16_t value);
