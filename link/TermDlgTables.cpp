#include "link/TermDlgTables.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "link/LiveData.h"
#include "link/RemoteCommands.h"

namespace {

constexpr uint32_t Bit(int32_t kind)
{
    return 1u << kind;
}
constexpr uint32_t kAll = Bit(kDeviceTarvik) | Bit(kDeviceTarvikPlus) | Bit(kDeviceMoval) | Bit(kDeviceSelvo)
    | Bit(kDeviceBrindle);

struct Visibility {
    std::vector<int> restricted;  // hidden without full authority
    std::vector<int> hidden;
    std::vector<int> shown;
};

const Visibility& VisibilityOf(int32_t kind)
{
    static const Visibility classic{
        {730, 790, 890, 880, 830, 820, 840, 850, 910},
        {1368, 940, 950, 960, 970, 980, 990, 995, 1010, 1460},
        {740, 750, 760, 770, 780, 810, 860, 870, 900, 920, 1020},
    };
    static const Visibility plus{
        {730, 790, 890, 880, 830, 820, 840, 850, 940, 950, 960, 970, 980, 990, 995, 910},
        {1368},
        {740, 750, 760, 770, 780, 810, 860, 870, 900, 920, 1010, 1020, 1460},
    };
    static const Visibility brindle{
        {890, 880, 830, 820, 840, 850, 940, 950, 960, 910},
        {730, 790, 1460, 970, 980, 990, 995},
        {1368, 740, 750, 760, 770, 780, 810, 860, 870, 900, 920, 1010, 1020},
    };
    static const Visibility none;
    switch (kind) {
    case kDeviceTarvik:
    case kDeviceMoval: return classic;
    case kDeviceTarvikPlus:
    case kDeviceSelvo: return plus;
    case kDeviceBrindle: return brindle;
    default: return none;
    }
}

struct RowEntry {
    const char* row;
    uint32_t models;
    const char* first;
    const char* second;
    bool hrTimer;
};

const std::array<RowEntry, 14> kRows{{
    {"Voltage Values", kAll, kCmdOutVoltage, nullptr, false},
    {"Keypad Inputs", kAll, kCmdOutKeypad, nullptr, false},
    {"Temperature", Bit(kDeviceTarvikPlus) | Bit(kDeviceSelvo), kCmdOutTemp, nullptr, false},
    {"Temperature", kAll & ~(Bit(kDeviceTarvikPlus) | Bit(kDeviceSelvo)), kCmdOutTempCo2, nullptr, false},
    {"Leads Status", kAll, kCmdOutLeads, nullptr, false},
    {"ADC Values", kAll, kCmdOutAdc, nullptr, false},
    {"Ecg Values", kAll & ~Bit(kDeviceMoval), kCmdOutEcg, nullptr, false},
    {"SpO2 Values", kAll & ~(Bit(kDeviceMoval) | Bit(kDeviceSelvo)), kCmdOutSpO2, nullptr, false},
    {"Pleath Values", kAll & ~(Bit(kDeviceMoval) | Bit(kDeviceSelvo)), kCmdOutPleth, nullptr, false},
    {"Resp. Values", kAll & ~Bit(kDeviceMoval), kCmdOutResp, nullptr, false},
    {"HR-RR", kAll & ~Bit(kDeviceMoval), kCmdTermDisplayOff, nullptr, true},
    {"CO2 Values", Bit(kDeviceTarvikPlus) | Bit(kDeviceSelvo), kCmdOutSlow, kCmdOutCo2Values, false},
    {"BP Values", Bit(kDeviceTarvikPlus) | Bit(kDeviceBrindle), kCmdOutBp, nullptr, false},
    {"Pressure Values", Bit(kDeviceBrindle), kCmdOutPleth, nullptr, false},
}};

bool SameRow(const std::string& a, const char* b)
{
    const std::string_view other(b);
    return a.size() == other.size()
        && std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

const std::vector<int>& TermControlIds()
{
    static const std::vector<int> ids{800, 680, 1025, 780, 760, 770, 810, 750, 970, 995, 990, 980, 900,
                                      830, 820, 850, 840, 890, 880, 870, 1020, 860, 740, 960, 940, 950,
                                      790, 730, 910, 920, 1368, 1010, 1460};
    return ids;
}

std::map<int, bool> TermControlVisibility(int32_t deviceKind, bool fullAuthority)
{
    std::map<int, bool> visible;
    for (const int id : TermControlIds())
        visible[id] = true;
    const Visibility& table = VisibilityOf(deviceKind);
    for (const int id : table.restricted)
        visible[id] = fullAuthority;
    for (const int id : table.hidden)
        visible[id] = false;
    for (const int id : table.shown)
        visible[id] = true;
    return visible;
}

std::string TermDeviceName(int32_t deviceKind)
{
    switch (deviceKind) {
    case kDeviceTarvik: return "Norq-TC";
    case kDeviceTarvikPlus: return "Norq-TK";
    case kDeviceMoval: return "Norq-MV";
    case kDeviceSelvo: return "Norq-SL";
    case kDeviceBrindle: return "Norq-BR";
    default: return {};
    }
}

std::vector<std::string> TermOutputRows(int32_t deviceKind)
{
    std::vector<std::string> rows{"Voltage Values", "Keypad Inputs", "Temperature", "Leads Status", "ADC Values",
                                  "Ecg Values", "SpO2 Values", "Pleath Values", "Resp. Values", "HR-RR"};
    switch (deviceKind) {
    case kDeviceTarvik: return rows;
    case kDeviceTarvikPlus:
    case kDeviceSelvo:
        rows.emplace_back("CO2 Values");
        rows.emplace_back("BP Values");
        return rows;
    case kDeviceMoval: return {rows.begin(), rows.begin() + 5};
    case kDeviceBrindle: return {"Voltage Values", "ADC Values", "Pressure Values", "BP Values"};
    default: return {};
    }
}

TermRowAction TermOutputRowAction(const std::string& row, int32_t deviceKind)
{
    bool known = false;
    for (const RowEntry& entry : kRows) {
        if (!SameRow(row, entry.row))
            continue;
        known = true;
        if (deviceKind < 0 || deviceKind > 31 || (entry.models & Bit(deviceKind)) == 0)
            continue;
        TermRowAction action;
        action.first = entry.first;
        if (entry.second != nullptr) {
            action.pauseMs = 100;
            action.second = entry.second;
        }
        action.hrTimer = entry.hrTimer;
        return action;
    }
    if (known)
        return {};
    return TermRowAction{kCmdTermDisplayOff, 0, {}, false};
}
