#pragma once
// Steps shared by every decoder that fills the sample ring: the 32-frame
// block, the ECG step, the respiration filter, rate limits and the end of a
// data cycle.
#include <cstdint>

struct DecodeState;
struct SampleFrame;

constexpr int kBlockFrames = 32;
constexpr int kSlowValues = 6;

// Which of the six slow values (75 per second) serves frame k (0..31) of a
// block of 32 ECG frames (400 per second).
constexpr int SlowIndex(int frame)
{
    return frame < 5 ? 0 : frame < 10 ? 1 : frame < 16 ? 2 : frame < 21 ? 3 : frame < 26 ? 4 : 5;
}

// The ECG signal-valid flag: always with dental scalar rejection on, else
// the remote's status bit 14.
bool EcgSignalValid();

// One ECG sample through the 400/s chain: sets hrFromEcg, marks a reported
// beat, and fills the frame's ecg and flags.
void EcgStep(SampleFrame& frame, int16_t sample, bool valid);

// Six impedance values (u16 each, little-endian) through the respiration
// filter; with dental scalar rejection on the filter is fed 0 and the
// values become 0.
void FilterRespiration(const uint8_t* wire, int16_t out[kSlowValues]);

// A heart or pulse rate as shown: 1..800, anything else 0.
int16_t RateOrZero(int32_t rate);

// End of a data cycle: counts the start-up countdown down, or posts new
// data (and a pending invalidate when allowed).
void CloseCycle(DecodeState& state, uint16_t value, bool allowInvalidate);

// Posts a remote status code (kind 2); 0 means none.
void PostStatusCode(DecodeState& state, int code);

// A good packet or message: the time of the last packet and the flag the
// connection watchdog reads.
void MarkGoodPacket();

// True when `received` is the expected length; otherwise logs the
// handler's line (a format with the expected and the received length) and,
// for the messages that say so, clears packetReceived.
[[nodiscard]] bool CheckMessageLength(DecodeState& state, const char* tag, const char* badLengthFormat,
                                      int expected, int received, bool clearsPacketReceived);

// A message that only a Selvo sends: names the model when it is not known
// as a Selvo yet.
void SelvoCheck(DecodeState& state, const char* tag, bool lineEnd = false);
