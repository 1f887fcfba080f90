#include "config/ConfigTabs.h"

#include "link/LiveData.h"

const char* const kPageCaptions[kConfigPageCount] = {
    "General",   "ECG, Temperature.", "SpO2, Respiration.", "Blood Pressure", "Apnea",
    "CO2",       "O2",                "N2O",                "Halothane",      "Enflurane",
    "Isoflurane", "Sevoflurane",      "Desflurane",         "Practice Mgmt Software",
};

std::vector<ConfigTab> ConfigTabList(const ConfigTabInputs& in, const RemoteConfiguration& config)
{
    std::vector<ConfigTab> tabs;
    auto add = [&](int page, const char* caption = nullptr) {
        tabs.push_back({caption != nullptr ? caption : kPageCaptions[page], page});
    };
    if (in.mode == kConfigDefaults) {
        for (int page = 0; page < kConfigPageCount; ++page)
            add(page);
        return tabs;
    }
    const uint16_t f = in.featureBits;
    const bool brindle = in.deviceKind == kDeviceBrindle;
    add(kPageGeneral);
    if (!brindle) {
        add(kPageHrTemp);
        if ((f & kFeatureSpO2) != 0)
            add(kPageSpO2Resp);
        else if ((f & kFeatureResp) != 0)
            add(kPageSpO2Resp, "Respiration.");
    }
    if ((f & kFeatureNibp) != 0)
        add(kPageBp);
    if (!brindle) {
        if ((f & kFeatureCO2) != 0) {
            add(kPageApnea);
            add(kPageCO2);
        }
        if ((f & kFeatureO2) != 0)
            add(kPageO2);
        if ((f & kFeatureN2O) != 0 && config.showN2O != 0)
            add(kPageN2O);
    }
    if ((f & kFeatureAgents) != 0) {
        const bool shown[5] = {config.showHalothane != 0, config.showEnflurane != 0, true, true,
                               config.showDesflurane != 0};
        for (int agent = 1; agent <= 5; ++agent)
            if ((agent == in.primaryAgent || agent == in.secondaryAgent) && shown[agent - 1])
                add(kPageHalothane + agent - 1);
    }
    add(kPageOEMSoftware);
    return tabs;
}
