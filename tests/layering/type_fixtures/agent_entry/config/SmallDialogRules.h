#pragma once
#include <string>

struct AgentEntry {
    std::string text;
    int32_t code = 0;  // 1 halothane ... 5 desflurane
};

struct AgentLists {
    std::vector<AgentEntry> primary;
};
