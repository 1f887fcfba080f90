#pragma once
// What must hold before a remote is programmed: a software version the
// remote has reported, and a program file named for the model.
#include <cstdint>
#include <string>

// Whether the remote's answer to "pv" (the terminal's receive buffer)
// holds a software version this program knows.
bool RemoteVersionKnown(const std::string& receiveBuffer);

// A Tarvik Plus whose version text ends in "-OR" has the old radio.
bool ReportsOldRadio(int32_t deviceKind, const std::string& receiveBuffer);

// Whether the file name (the path's last part) ends in a program name for
// the model: "Tarvik+_1.23.rmt", "Tarvik+Old_Radio_1.2.rmt", "Selvo_3.rmt",
// "BPBrindle_2.rmt". Other models have no program file.
bool ProgramFileNameMatches(const std::string& path, int32_t deviceKind, bool oldRadio);

// The refusal of a file name that does not fit the model.
std::string ProgramFileNameMessage(int32_t deviceKind, bool oldRadio);
