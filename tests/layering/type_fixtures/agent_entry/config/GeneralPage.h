#pragma once
// Two headers of one library, each with its own type of one name.
struct AgentEntry {
    const char* name;
    int code;
};
std::vector<AgentEntry> GeneralAgentList(uint8_t gasModuleKind);
