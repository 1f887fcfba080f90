#pragma once
// The gas module's periodic work on the view's timer 8: the polls that keep
// the module's apnea limit, O2 compensation and agent in step with the
// settings, and the gas-probe message that tells the user what the module
// reports wrong, once per arming.
#include <cstdint>
#include <string>
#include <vector>

#include "link/LiveData.h"
#include "view/BeatTones.h"

class RemoteConfiguration;

inline constexpr int kGasTimer = 8;
inline constexpr uint32_t kGasTimerMs = 5000;
inline constexpr char kGasProbeCaption[] = "Gas Probe Message";

// The polls for a request, in the order to queue them: "rp 1" with the
// apnea High limit of the species (a code outside 0..3 counts as 3), the O2
// compensation by "O2 Environment" when O2 is not measured, then "rp 02"
// by the module kind (0 and 1 their own agent, 2 "Primary Agent").
std::vector<std::string> GasModulePolls(int32_t species, uint16_t featureBits, uint8_t gasModuleKind,
                                        const RemoteConfiguration& config);

// The gas status as the decoders left it.
struct GasStatusInputs {
    uint8_t moduleType = 0;     // gas-status byte 9: 1 the CO2 message, 2 a Tarvik Plus packet
    uint8_t flags[3] = {};      // gasFlags F0, F1, F2
    bool samplingLine = false;  // co2ProbeState: a sampling-line probe, not an airway adapter
    uint8_t status[4] = {};     // gas-status bytes 4..7
    uint8_t code = 0;           // gas-status byte 8
};

GasStatusInputs ReadGasStatus(const LiveData& live, const Relaxed<uint8_t> (&gasStatus)[kGasStatusSize]);

struct GasProbeText {
    std::string message;     // for the user; empty: nothing to report
    std::string statusLine;  // for the log (a Tarvik Plus packet's status bytes); empty none
};

// The message for the gas status. A type-1 module's message lists every
// condition its flags report, in flag order; a type-2 module's comes from
// its status code.
GasProbeText BuildGasProbeText(const GasStatusInputs& in);

// Whether a gas-probe message may be shown; armed when CO2 is newly
// reported, after a lost connection, at the view's start and when the gas
// status changes. A message shown disarms it, so a fault reported again
// and again shows once.
class CGasProbeArming {
public:
    void Arm() { m_armed = true; }
    bool Armed() const { return m_armed; }
    // The text to show now: the built message while armed, which then
    // disarms; empty otherwise.
    std::string Take(const std::string& message);

private:
    bool m_armed = false;
};

struct GasTimerInputs {
    uint16_t featureBits = 0;
    int32_t deviceKind = 0;
    uint8_t gasModuleKind = 0;
    int32_t species = 0;        // the patient's species code
    bool demo = false;
    bool dataFlows = false;
    bool pollRequested = false; // a gas-service poll is pending
    GasStatusInputs status;
};

struct GasTimerActions {
    TimerCommand timer;               // kKill without CO2
    std::vector<std::string> polls;   // queue in order
    bool clearPollRequest = false;
    std::string statusLine;           // log it
    // Not empty: kill timer 8, log the text, show it in a message box
    // (kGasProbeCaption, exclamation icon), then re-arm timer 8 with
    // kGasTimerMs.
    std::string message;
};

// Timer 8 expired (the caller first clears movalTextMode).
GasTimerActions OnGasTimer(const GasTimerInputs& in, const RemoteConfiguration& config, CGasProbeArming& arming);
