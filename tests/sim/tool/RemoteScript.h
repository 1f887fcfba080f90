#pragma once
// What sim_remote plays: a model with chosen values, its link, and a
// schedule of drops and button presses, read from the command line.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/RemoteModels.h"

struct ScheduledDrop {
    double at = 0.0;    // seconds from the start
    double span = 0.0;  // seconds
    bool hangUp = false;  // the line goes away, else it only falls silent
};

struct ScheduledPress {
    double at = 0.0;
    uint16_t stateCode = 0;
    std::string name;  // as given
};

struct RemoteScript {
    RemoteModel model = RemoteModel::Selvo;
    std::string link;  // a symbolic link to the line's device; empty: none
    RemoteReport report;  // report.notch: the mains filter each link starts with
    int notchRetries = 0;  // notch set-ups ignored at each link before one takes
    std::vector<ScheduledDrop> drops;  // in time order, not overlapping
    std::vector<ScheduledPress> presses;  // in time order
    double duration = 0.0;  // seconds; 0: until stopped
};

struct ParsedScript {
    std::optional<RemoteScript> script;
    std::string error;  // why there is none, unless help was asked for
    bool help = false;
};

ParsedScript ParseRemoteScript(const std::vector<std::string>& args);

std::string RemoteUsage();

// "Selvo", "Tarvik Plus", ...
std::string ModelName(RemoteModel model);
