#pragma once
// What an accepted product configuration does to the view and the remote,
// decided apart from the window that carries it out.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/RemoteConfiguration.h"

inline constexpr char kConfigChangeCaption[] = "Configuration Change";
inline constexpr char kConfigChangeText[] =
    "Critical BP setup parameters may have changed and a measurement is currently in progress.\n"
    "Please stop and restart the BP measurement to use the new setup parameters.";

struct ConfigApplyInputs {
    bool demo = false;
    uint16_t featureBits = 0;
    int32_t deviceKind = 0;
    bool bpRunning = false;        // a blood-pressure measurement runs
    int32_t patientSpecies = 0;    // whose cuff the set-up names
    int32_t speciesBefore = 0;     // "Species" before the dialog
    bool bpSetupChanged = false;
    bool gasSetupChanged = false;
};

struct ConfigApplyActions {
    uint8_t ecgBandwidthFlag = 0;
    std::string filterText;
    std::vector<std::string> commands;   // queue in order
    std::optional<uint8_t> hrDetectMode; // empty: leave it
    bool bpChangeWhileMeasuring = false; // log and show kConfigChangeText
    bool gasSetupResend = false;
    // Only a changed "Species" is the patient's species too: editing the
    // defaults leaves the patient on the screen as it is.
    bool speciesChanged = false;
    bool reapplyFeatures = false;        // not for a Moval
};

ConfigApplyActions PlanConfigApply(const RemoteConfiguration& config, const ConfigApplyInputs& in);

// The defaults an accepted "Edit Default Configuration" stores: the
// settings in force as accepted. In demo mode those carry the demo's own
// choices (markers on, alarm tones off, every agent shown, the exotic
// rates' filter and sweep), which the user never made: there only what
// the dialog changed (`before` to `accepted`) goes over the stored ones.
RemoteConfiguration DefaultsToStore(const RemoteConfiguration& stored, const RemoteConfiguration& before,
                                    const RemoteConfiguration& accepted, bool demo);
