#include "config/AgentList.h"

#include "link/AgentCodes.h"

namespace {

constexpr int32_t kIsoflurane = 3;
constexpr int32_t kSevoflurane = 4;

bool Shown(const AgentDisplayFlags& shown, int32_t code)
{
    switch (code) {
    case 1: return shown.halothane;
    case 2: return shown.enflurane;
    case 5: return shown.desflurane;
    default: return true;
    }
}

}  // namespace

std::vector<AgentEntry> AgentList(uint8_t gasModuleKind, const std::array<uint8_t, 5>& available,
                                  const AgentDisplayFlags& shown)
{
    switch (gasModuleKind) {
    case 0: return {{"Sevoflurane Only", kSevoflurane}};
    case 1: return {{"Isoflurane Only", kIsoflurane}};
    case 2:
    case 3: {
        std::vector<AgentEntry> list;
        for (int32_t code = 1; code <= kAgentCount; ++code) {
            // Only a one-agent module says which agents it measures.
            if (gasModuleKind == 2 && available[size_t(code - 1)] == 0)
                continue;
            if (Shown(shown, code))
                list.push_back({AgentName(code), code});
        }
        return list;
    }
    default: return {};
    }
}

bool AgentListShown(uint8_t gasModuleKind, bool secondary)
{
    return secondary ? gasModuleKind == 3 : gasModuleKind <= 3;
}

int AgentSelection(const std::vector<AgentEntry>& entries, uint8_t gasModuleKind, int32_t agent)
{
    if (gasModuleKind != 2 && gasModuleKind != 3)
        return -1;
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].code == agent)
            return int(i);
    return -1;
}

bool ChooseAgent(uint8_t gasModuleKind, bool secondary, int32_t code, int32_t& primary, int32_t& secondaryAgent)
{
    if (gasModuleKind == 2 && !secondary) {
        primary = code;
        return true;
    }
    if (gasModuleKind != 3)
        return false;
    int32_t& chosen = secondary ? secondaryAgent : primary;
    const int32_t other = secondary ? primary : secondaryAgent;
    if (code == other)
        return false;
    chosen = code;
    return true;
}
