#pragma once
// The anaesthetic agents a gas module offers and the rules of choosing
// them, for the General page and the agent dialog alike. What differs
// between the two is only where the display flags and the chosen agents
// are kept (the working copy, or the settings in force).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The agents a display flag may leave out of the lists; isoflurane and
// sevoflurane are always offered.
struct AgentDisplayFlags {
    bool halothane = false;
    bool enflurane = false;
    bool desflurane = false;
};

// One entry of an agent list: its text and agent code (1 halothane ...
// 5 desflurane). A module of one fixed agent lists that agent alone.
struct AgentEntry {
    std::string text;
    int32_t code = 0;
};

// By module kind: 0 "Sevoflurane Only", 1 "Isoflurane Only", 2 the agents
// the module reports in `available`, 3 every agent (both lists), 4 and 5
// none. Halothane, enflurane and desflurane only while their flag is set.
std::vector<AgentEntry> AgentList(uint8_t gasModuleKind, const std::array<uint8_t, 5>& available,
                                  const AgentDisplayFlags& shown);
// The primary list shows for kinds 0 to 3, the secondary only for 3.
bool AgentListShown(uint8_t gasModuleKind, bool secondary);
// The entry of `agent` in `entries`; -1 when it is not listed or the
// module's agent is fixed (its entry is never selected).
int AgentSelection(const std::vector<AgentEntry>& entries, uint8_t gasModuleKind, int32_t agent);
// A choice in the primary or secondary list: true when it is taken into
// `primary` or `secondary`. Only a module of one selectable agent (primary)
// or of two (the two never the same agent) takes a choice.
bool ChooseAgent(uint8_t gasModuleKind, bool secondary, int32_t code, int32_t& primary, int32_t& secondaryAgent);
