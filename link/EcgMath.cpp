#include "link/EcgMath.h"

#include <cmath>

int32_t RoundHalfDown(double value)
{
    const double low = std::floor(value);
    return static_cast<int32_t>(value - low > 0.5 ? std::ceil(value) : low);
}

namespace {

// w[0] >= w[1] >= ... >= w[N-1]. The pivot rank decides which end leaves
// when the new value lands strictly inside.
template <int N, int Pivot>
int16_t RankInsert(std::array<int16_t, N>& w, int16_t x)
{
    if (x >= w[0]) {
        for (int k = N - 1; k > 0; --k)
            w[k] = w[k - 1];
        w[0] = x;
    } else if (x <= w[N - 1]) {
        for (int k = 0; k < N - 1; ++k)
            w[k] = w[k + 1];
        w[N - 1] = x;
    } else {
        // Here w[0] > x > w[N-1]. A value equal to one held leaves the
        // window as it is.
        int i = 0;
        while (!(w[i] > x && x > w[i + 1])) {
            if (w[i + 1] == x)
                return w[(N - 1) / 2];
            ++i;
        }
        if (x > w[Pivot]) {
            // lowest leaves: shift i+1..N-2 down one
            for (int k = N - 1; k > i + 1; --k)
                w[k] = w[k - 1];
            w[i + 1] = x;
        } else {
            // highest leaves: shift 1..i up one
            for (int k = 0; k < i; ++k)
                w[k] = w[k + 1];
            w[i] = x;
        }
    }
    return w[(N - 1) / 2];
}

} // namespace

int16_t Median3(RankWindow3& window, int16_t value) { return RankInsert<3, 1>(window.values, value); }
int16_t Median5(RankWindow5& window, int16_t value) { return RankInsert<5, 3>(window.values, value); }
int16_t Median7(RankWindow7& window, int16_t value) { return RankInsert<7, 4>(window.values, value); }
