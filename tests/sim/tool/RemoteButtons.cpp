#include "sim/tool/RemoteButtons.h"

#include <array>
#include <utility>

namespace {

// The PC's actions on a remote status code, 1 to 13, by name.
constexpr std::array<const char*, 14> kActions = {
    "",       "up",    "down",   "select", "silence", "mark",   "freeze",
    "print",  "review", "gain",  "record", "bp",      "trend",  "sweep",
};

using CodeTable = std::array<std::pair<uint16_t, int>, 11>;  // state code -> action; zero pairs unused

// Which state code of each model means which action.
constexpr CodeTable kTarvikClassic = {{{1, 3}, {2, 2}, {4, 1}, {8, 7}, {16, 6}, {32, 4}}};
constexpr CodeTable kTarvikPlus = {
    {{1, 8}, {2, 9}, {3, 2}, {4, 10}, {5, 6}, {6, 3}, {7, 11}, {8, 12}, {9, 1}, {11, 4}, {12, 7}}};
constexpr CodeTable kMoval = {{{1, 7}, {2, 6}, {4, 5}, {8, 3}, {16, 2}, {32, 1}}};
constexpr CodeTable kSelvo = {{{2, 8}, {3, 10}, {5, 13}, {6, 9}, {8, 6}, {9, 7}}};

const CodeTable& TableOf(RemoteModel model)
{
    switch (model) {
    case RemoteModel::TarvikClassic: return kTarvikClassic;
    case RemoteModel::Moval: return kMoval;
    case RemoteModel::Selvo: return kSelvo;
    case RemoteModel::TarvikPlus:
    case RemoteModel::Brindle: break;
    }
    return kTarvikPlus;
}

}  // namespace

std::optional<uint16_t> ButtonStateCode(RemoteModel model, const std::string& name)
{
    for (const auto& [code, action] : TableOf(model))
        if (code != 0 && name == kActions[std::size_t(action)])
            return code;
    return std::nullopt;
}

std::string ButtonOfStateCode(RemoteModel model, uint16_t stateCode)
{
    for (const auto& [code, action] : TableOf(model))
        if (code != 0 && code == stateCode)
            return kActions[std::size_t(action)];
    return {};
}

std::string ButtonNames(RemoteModel model)
{
    std::string names;
    for (std::size_t action = 1; action < kActions.size(); ++action) {
        if (!ButtonStateCode(model, kActions[action]))
            continue;
        names += names.empty() ? "" : ", ";
        names += kActions[action];
    }
    return names;
}
