#pragma once
// The product configuration's OK: the working copy checked and written
// into a copy of the settings in force. A refused item keeps its old value
// and gets its own message; everything else of the same OK is written.
#include <string>
#include <vector>

#include "app/RemoteConfiguration.h"
#include "config/ConfigWorkingCopy.h"

inline constexpr char kAlarmLimitErrorCaption[] = "Alarm Limit Error";
inline constexpr char kComPortErrorCaption[] = "Com Port Error";
inline constexpr char kBpSetupErrorCaption[] = "BP Setup Error";

struct ConfigRefusal {
    std::string text;
    std::string caption;  // shown with an exclamation icon
};

struct ConfigValidation {
    RemoteConfiguration config;
    std::vector<ConfigRefusal> refusals;  // in the order to show them
    bool bpSetupChanged = false;          // cuff, interval or initial pressure
    bool gasSetupChanged = false;         // O2 environment or apnea time
    // A Tarvik Plus outside demo mode: its feature bits go back to 9.
    bool resetFeatureBits = false;
};

class ConfigValidator {
public:
    struct Inputs {
        bool demo = false;
        int deviceKind = 0;
    };
    static ConfigValidation Validate(const ConfigWorkingCopy& copy, const RemoteConfiguration& current,
                                     const Inputs& inputs);
};
