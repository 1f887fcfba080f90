#pragma once
// Four hours of trend: every 2 s the view stores seven live values and a
// flag byte at the next position of eight rings. The store lives with the
// view and is never cleared by a reconnect; the trend window and the
// recorder read it on the UI thread.
#include <array>
#include <cstdint>
#include <span>

#include "link/LiveData.h"

inline constexpr int kTrendRingCount = 8;
inline constexpr int kTrendLength = 7200;
inline constexpr uint32_t kTrendSampleMs = 2000;

// The parameter each ring keeps; ring 7 is not used and stays 0.
inline constexpr std::array<int, kTrendRingCount - 1> kTrendRingParameters = {
    kParamHeartRate, kParamMean, kParamSpO2, kParamCO2Exp, kParamRespRate, kParamTemperature, kParamO2Exp,
};

// Flag byte values.
inline constexpr uint8_t kTrendEcgValid = 0x01;
inline constexpr uint8_t kTrendCo2 = 0x80;

class CTrendStore {
public:
    static constexpr int16_t kMaxWraps = INT16_MAX;

    // The flag byte of a sample: 1 when the frame's ECG is valid, otherwise
    // 0x80 with CO2 and 0 without.
    static uint8_t FlagByte(uint8_t frameFlags, uint16_t featureBits);

    // Stores the live values (numerics, in their units) and the flag byte
    // of the current ring frame at the index, then advances the index; past
    // the last position it starts at 0 and counts a wrap.
    void Sample(const LiveData& live, uint8_t frameFlags);

    // One ring in position order; empty for a ring outside 0..7.
    std::span<const int16_t> Ring(int ring) const;
    std::span<const uint8_t, kTrendLength> Flags() const { return m_trendFlags; }
    // The next position, 0..7199.
    int32_t Index() const { return m_trendIndex; }
    // Wraps so far; stays at 32767 once reached (about 15 years of samples)
    // rather than turning negative.
    int16_t Wraps() const { return m_trendWraps; }

private:
    std::array<std::array<int16_t, kTrendLength>, kTrendRingCount> m_trend{};
    std::array<uint8_t, kTrendLength> m_trendFlags{};
    int32_t m_trendIndex = 0;
    int16_t m_trendWraps = 0;
};
