#include "link/RemoteCommands.h"

#include <cstdio>

std::string FormatBpSetupCommand(int cuffSize, int interval, int initialPressure)
{
    char text[64];
    std::snprintf(text, sizeof text, kCmdBpSetupFormat, kCmdBpSetupVerb, cuffSize, interval, initialPressure);
    return text;
}

std::string FormatRpCommand(const char* verb, int value)
{
    char text[64];
    std::snprintf(text, sizeof text, kCmdRpValueFormat, verb != nullptr ? verb : "", value);
    return text;
}
