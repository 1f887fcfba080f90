#pragma once
// The small dialogs the menu commands open (sweep, gain, filter, shown
// waveforms, demo model, agents, cuff). The view applies what they return;
// the windows are reached through this interface so that tests answer them.
#include <cstdint>
#include <optional>

struct WaveformChoice {
    int32_t showSpO2 = 0;
    int32_t showResp = 0;
    int32_t showO2 = 0;
};

struct DemoModelChoice {
    bool exoticHeartRates = false;
    uint8_t gasModuleKind = 0;
    uint16_t featureBits = 0;
    int32_t deviceKind = 0;
};

class ICommandDialogs {
public:
    virtual ~ICommandDialogs() = default;
    // Each returns nothing on Cancel.
    virtual std::optional<int> EcgSweep(int radioIndex) = 0;
    virtual std::optional<int> EcgGain(int gainIndex) = 0;
    virtual std::optional<int> EcgBandwidth(int radio) = 0;
    virtual std::optional<WaveformChoice> Waveforms(int32_t deviceKind, uint8_t gasModuleKind, uint16_t featureBits,
                                                    const WaveformChoice& shown) = 0;
    virtual std::optional<DemoModelChoice> DemoModel(uint8_t gasModuleKind, uint16_t featureBits,
                                                     int32_t deviceKind) = 0;
    // True on OK: the agents chosen are now those of the settings in force.
    virtual bool Agents() = 0;
    // True on OK: the cuff chosen is now the species' cuff size in the
    // settings in force. False on Cancel.
    virtual bool BpCuff(int32_t species) = 0;
};
