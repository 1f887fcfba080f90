#pragma once
// Which commands of the menu and the tool bar are enabled and checked, from
// the view's state. A command runs only while its rule enables it.
#include <cstdint>

#include "app/RemoteConfiguration.h"
#include "view/AlarmTones.h"

struct CommandContext {
    int32_t deviceKind = 0;
    uint16_t featureBits = 0;
    bool live = false;            // IsLiveOrDemo
    bool demoMode = false;
    bool connected = false;       // the connect toggle
    bool movalTextMode = false;
    bool terminalOpen = false;
    bool remoteStop = false;
    bool recording = false;
    bool bpRunning = false;
    bool tracingsHalted = false;
    bool exoticHeartRates = false;  // the demo option
    bool verboseLogging = false;
    bool hasEpisodes = false;
    int ecgProgramsPresent = 0;     // bit 0 Trellan, bit 1 Vospery
    uint8_t gasModuleKind = 0;
    uint8_t dentalScalarRejection = 0;
    const RemoteConfiguration* config = nullptr;
};

CommandState CommandRule(uint32_t id, const CommandContext& context);

// The review program for "Reviewer": 1 Trellan, 2 Vospery, 0 none found.
int ReviewProgram(int ecgProgramsPresent, int32_t reviewer);

// The model gates of the ECG display commands: true when the gate shuts.
enum class ModelGate { Sweep, Gain, Filter, SweepDialog, Marker, Qrs, Wave };
bool GateShut(ModelGate gate, int32_t deviceKind, uint16_t featureBits);
