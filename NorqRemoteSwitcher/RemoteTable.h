#pragma once
// The switcher's list of remotes, kept in "Defaults\Remotes" as `RNum` and,
// numbered from 1, `RType`, `RName` and `RPort`.
#include <array>
#include <cstdint>
#include <string>

#include "NorqRemoteSwitcher/RegistryModule.h"

inline constexpr int kMaxRemotes = 10;
inline constexpr int kRemoteTypeCount = 5;

// The switcher's own numbering, Moval first.
enum RemoteType : int16_t { kRemoteMoval, kRemoteTarvik, kRemoteTarvikPlus, kRemoteSelvo, kRemoteBrindle };

struct RemoteEntry {
    int16_t type = 0;
    std::string name;
    int16_t port = 0;
    std::string label;
};

struct RemoteTable {
    std::array<RemoteEntry, kMaxRemotes + 1> entries{};
    int16_t count = 0;
};

// "Moval", "Tarvik", "Tarvik+", "Selvo", "Brindle".
const char* RemoteTypeText(int type);
// As loaded: the type padded to 9 characters, ":   ", the name.
std::string RemoteLabel(int type, const std::string& name);
// As the configuration form makes it: Moval as above, the others with
// three blanks after the type.
std::string EditedRemoteLabel(int type, const std::string& name);

// False when there is no store to read.
bool LoadRemotes(const CRegistryModule& registry, RemoteTable& table);
// Writes the count and the entries, removes what lies beyond them, and
// flushes; false when any of it failed.
bool SaveRemotes(CRegistryModule& registry, const RemoteTable& table);
