#pragma once
// The anaesthetic agents by the code the remote sends and the settings keep:
// 1 Halothane to 5 Desflurane; 0 is none.
#include "link/LiveData.h"

inline constexpr int kAgentCount = 5;

constexpr bool IsAgentCode(int code)
{
    return code >= 1 && code <= kAgentCount;
}

// Null outside 1..5.
constexpr const char* AgentName(int code)
{
    constexpr const char* kNames[kAgentCount] = {"Halothane", "Enflurane", "Isoflurane", "Sevoflurane",
                                                 "Desflurane"};
    return IsAgentCode(code) ? kNames[code - 1] : nullptr;
}

// The live values' slots of an agent code.
constexpr int AgentInsSlot(int code)
{
    return kParamHalIns + code - 1;
}
constexpr int AgentExpSlot(int code)
{
    return kParamHalExp + code - 1;
}
