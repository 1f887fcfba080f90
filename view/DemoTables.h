#pragma once
// The demo generator's signals: two ECG recordings with their marker bytes,
// a pulse (plethysmogram), a breath and a blood-pressure cuff's deflation.
// Each is made once by a small generator, then read in a loop.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr std::size_t kDemoEcgASize = 48007;
inline constexpr std::size_t kDemoEcgBSize = 54401;
inline constexpr std::size_t kDemoPlethSize = 229;
inline constexpr std::size_t kDemoRespSize = 816;
inline constexpr std::size_t kDemoCuffPoints = 1420;

// The beats in each ECG table: A a dog at 120 bpm, B a small exotic
// patient (a rat or a small bird) at 480 bpm, for "Exotic Heart Rates".
inline constexpr int kDemoEcgABeats = 240;
inline constexpr int kDemoEcgBBeats = 1088;

// A marker byte whose two low bits are both set marks a valid sample.
inline constexpr uint8_t kDemoMarkerValid = 0x03;
constexpr bool DemoSampleValid(uint8_t marker) { return (marker & 0x03) == 0x03; }

struct DemoEcgTable {
    std::vector<int16_t> samples;
    std::vector<uint8_t> markers;
};

struct DemoTables {
    DemoEcgTable ecgA;
    DemoEcgTable ecgB;
    std::array<uint8_t, kDemoPlethSize> pleth{};
    std::array<int16_t, kDemoRespSize> resp{};
    // Cuff pressure (0.1 mmHg) and the oscillometric signal at each point.
    std::array<int16_t, kDemoCuffPoints> cuffPressure{};
    std::array<int16_t, kDemoCuffPoints> cuffOscillation{};
};

// Made on first use; safe from any thread.
const DemoTables& GetDemoTables();
