#pragma once
// Which pages the product configuration dialog offers, and under which
// captions: all of them when the defaults are edited, only what the
// connected remote measures when the settings in force are.
#include <cstdint>
#include <string>
#include <vector>

#include "app/RemoteConfiguration.h"

inline constexpr int kConfigPageCount = 14;
// The pages in order, and the id each page's window carries.
enum ConfigPage {
    kPageGeneral,
    kPageHrTemp,
    kPageSpO2Resp,
    kPageBp,
    kPageApnea,
    kPageCO2,
    kPageO2,
    kPageN2O,
    kPageHalothane,
    kPageEnflurane,
    kPageIsoflurane,
    kPageSevoflurane,
    kPageDesflurane,
    kPageOEMSoftware,
};
inline constexpr int kPageDialogIds[kConfigPageCount] = {4060, 4070, 4080, 4090, 4130, 4100, 4140,
                                                         4150, 4160, 4170, 4180, 4190, 4200, 191};
extern const char* const kPageCaptions[kConfigPageCount];

// 0: the defaults, every page and species; 1: the settings in force.
enum ConfigMode : uint8_t { kConfigDefaults = 0, kConfigCurrent = 1 };

struct ConfigTabInputs {
    ConfigMode mode = kConfigDefaults;
    int32_t deviceKind = 0;
    uint16_t featureBits = 0;
    uint8_t primaryAgent = 0;
    uint8_t secondaryAgent = 0;
};

struct ConfigTab {
    std::string caption;
    int page = 0;
};

// The tabs in order; `config` is the settings in force (their display
// flags of N2O and the agents).
std::vector<ConfigTab> ConfigTabList(const ConfigTabInputs& in, const RemoteConfiguration& config);
