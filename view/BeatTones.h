#pragma once
// Beat and breath tones of the waveform intake, paced by the view's timers
// 5 (pulse from SpO2) and 6 (heart rate from ECG): the drawing arms a timer
// and sounds the first beat, each expiry marks the next beat due, and the
// next drawn row pass sounds it.
#include <array>
#include <cstdint>
#include <optional>

inline constexpr int kPulseToneTimer = 5;
inline constexpr int kEcgToneTimer = 6;

struct BeatToneInputs {
    uint8_t heartRateSource = 0;    // 0 ECG, 1 SpO2, 2 blood pressure
    int16_t hrFromEcg = 0;
    int16_t hrFromSpO2 = 0;
    int16_t hrFromBp = 0;
    int32_t qrsTone = 0;            // "QRS Tone"
    int32_t heartRatesAbove400 = 0; // "Heart Rates above 400"
    int32_t respirationTone = 0;    // "Respiration Tone"
    bool alarmLoopAllows = true;    // AlarmLoopAllowsTones
    uint16_t featureBits = 0;
    int32_t deviceKind = 0;
    bool displayLatch = false;      // a breath was reported
};

struct TimerCommand {
    enum class Kind : uint8_t { kNone, kKill, kSet };
    Kind kind = Kind::kNone;
    uint32_t periodMs = 0;          // for kSet
};

enum class BeatIcon : uint8_t {
    kUnchanged,
    kShow,  // and hide it 100 ms from now
    kHide,  // the current source reports no rate
};

struct BeatToneActions {
    TimerCommand pulseTimer;            // timer 5
    TimerCommand ecgTimer;              // timer 6
    std::array<int, 3> play{};          // sound columns of the current row, in order, each once
    int playCount = 0;
    BeatIcon beatIcon = BeatIcon::kUnchanged;
    bool clearDisplayLatch = false;
};

// The beat interval for a rate of 1..799 per minute; none outside (a rate of
// 800 and above is not paced).
std::optional<uint32_t> BeatPeriodMs(int32_t rate);

// The rate of the current heart-rate source; 0 for an unknown source.
int16_t CurrentSourceRate(uint8_t heartRateSource, int16_t hrFromEcg, int16_t hrFromSpO2, int16_t hrFromBp);

class CBeatTones {
public:
    // Once per drawn ECG row pass.
    BeatToneActions Step(const BeatToneInputs& in);

    // Timers 5 and 6 expired: the period to re-arm with (the tone is then
    // due); none leaves the timer's period as it is, with no tone due.
    std::optional<uint32_t> OnPulseTimer(int16_t hrFromSpO2);
    std::optional<uint32_t> OnEcgTimer(int16_t hrFromEcg);

    void Reset() { *this = CBeatTones{}; }

    bool PulseTimerArmed() const { return m_pulseTimerArmed; }
    bool PulseToneDue() const { return m_pulseToneDue; }
    bool EcgTimerArmed() const { return m_ecgTimerArmed; }
    bool EcgToneDue() const { return m_ecgToneDue; }

private:
    bool m_pulseTimerArmed = false;
    bool m_pulseToneDue = false;
    bool m_ecgTimerArmed = false;
    bool m_ecgToneDue = false;
};
