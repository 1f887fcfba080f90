#pragma once
// The decisions behind the menu commands' handlers, without a window: the
// display cycles, the blood-pressure captions, the probe
// zeroing's boxes and the version polling.
#include <cstdint>
#include <optional>
#include <string>

// "EcgSweep" after the cycle command: 1, 2, 4, 8, 1, ...; a stored value
// outside those starts again from 1.
int32_t NextSweep(int32_t ecgSweep);
// The gain index after the cycle command: 0..4, then 0.
int32_t NextGain(int32_t gainIndex);

// The blood-pressure caption of a cuff size, demo (table A) or live (table
// B); none above 6. (The "sp" command itself is BpSetupCommand's.)
std::optional<std::string> BpCuffCaption(int32_t cuffSize, bool demo);

// What the zero command shows, and whether it zeroes.
struct ProbeZeroing {
    enum class Box { None, NotReady, Instructions, WarmingUp, Ask } box = Box::None;
    std::string text;
    std::string caption;
    bool sendNow = false;  // the zero command goes after the box without a question
};
inline constexpr char kProbeZeroInstructions[] =
    "Verify that the airway adaptor is correctly inserted into the CO2 probe\nand that both ends of the adaptor "
    "are open to room air.\n\nPress OK to proceed with calibration.";
inline constexpr char kProbeZeroSent[] = "The zeroing command has been sent to the CO2 probe";
inline constexpr char kProbeZeroSentCaption[] = "Verification: Command Sent";
// `gasStatus` the 11 bytes of g_gasStatus; `probeMs` how long CO2 has been
// seen.
ProbeZeroing DecideProbeZeroing(const uint8_t* gasStatus, uint32_t probeMs, uint8_t co2ProbeState);

// Timer 11: keep asking for the version, or stop.
struct VersionPoll {
    bool keepPolling = false;
    uint8_t movalTextMode = 0;
    bool requestText = false;    // queue "\rpv\r"
    bool requestFramed = false;  // g_versionPending := 1
};
VersionPoll DecideVersionPoll(int32_t deviceKind, bool versionMatched);
