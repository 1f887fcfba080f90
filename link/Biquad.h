#pragma once
// Integer second-order sections of the ECG chain. The coefficient sets are
// the remote's contract with the display: a one-count difference moves beat
// marks, so the arithmetic is exactly the remote's (32-bit wrapping
// accumulator, arithmetic shifts).
#include <cstdint>

struct BiquadCoefficients {
    int32_t shift;  // extra right shifts of the result
    int32_t b0, b1, b2;
    int32_t a1, a2;  // added, not subtracted
};

struct BiquadHistory {
    int32_t x0 = 0, x1 = 0, x2 = 0;
    int32_t y1 = 0, y2 = 0;
    void Reset() { *this = BiquadHistory(); }
};

namespace biquad_detail {

template <int Q>
inline int32_t Step(int32_t sample, const BiquadCoefficients& c, BiquadHistory& h)
{
    h.x0 = static_cast<int16_t>(sample);
    // Unsigned products wrap like the remote's 32-bit accumulator without
    // signed overflow.
    const uint32_t acc = uint32_t(c.b0) * uint32_t(h.x0) + uint32_t(c.b1) * uint32_t(h.x1)
        + uint32_t(c.b2) * uint32_t(h.x2) + uint32_t(c.a1) * uint32_t(h.y1) + uint32_t(c.a2) * uint32_t(h.y2);
    h.x2 = h.x1;
    h.x1 = h.x0;
    h.y2 = h.y1;
    const int32_t y = (static_cast<int32_t>(acc) >> Q) >> c.shift;
    h.y1 = y;
    return y;
}

} // namespace biquad_detail

// One step; callers take the low 16 bits of the result as a signed sample.
inline int32_t BiquadStepQ16(int32_t sample, const BiquadCoefficients& c, BiquadHistory& h)
{
    return biquad_detail::Step<16>(sample, c, h);
}

inline int32_t BiquadStepQ14(int32_t sample, const BiquadCoefficients& c, BiquadHistory& h)
{
    return biquad_detail::Step<14>(sample, c, h);
}

// The fixed sets, Q16 unless named Q14.
inline constexpr BiquadCoefficients kEcgLowPass400{0, 2704, 5407, 2704, 88406, -33684};
inline constexpr BiquadCoefficients kEcgLowPass500{1, 3652, 7303, 3652, 193394, -76928};
inline constexpr BiquadCoefficients kMovalBaseline{0, 813, 0, 0, 64723, 0};
inline constexpr BiquadCoefficients kRespBaseline{0, 2635, 0, 0, 62901, 0};
inline constexpr BiquadCoefficients kRespSmoothing{0, 109, 217, 109, 123316, -58214};
inline constexpr BiquadCoefficients kCuffSmoothing{0, 3935, 7870, 3935, 78468, -28672};
inline constexpr BiquadCoefficients kQrsBand400Stage1Q14{0, 1223, 0, -1223, 28891, -13939};
inline constexpr BiquadCoefficients kQrsBand400Stage2Q14{0, 1415, 0, -1415, 29190, -13553};
inline constexpr BiquadCoefficients kQrsBandOtherStage1Q14{0, 998, 0, -998, 29839, -14387};
inline constexpr BiquadCoefficients kQrsBandOtherStage2Q14{0, 1156, 0, -1156, 29970, -14073};
