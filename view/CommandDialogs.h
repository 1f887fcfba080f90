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
    // True on OK: the agents in the settings in force were chosen.
    virtual bool Agents() = 0;
    // False on Cancel.
    virtual bool BpCuff() = 0;
};

// Until the windows exist: every dialog is cancelled, but the cuff dialog
// lets a measurement start with the cuff in force.
class CNoCommandDialogs : public ICommandDialogs {
public:
    std::optional<int> EcgSweep(int) override { return std::nullopt; }
    std::optional<int> EcgGain(int) override { return std::nullopt; }
    std::optional<int> EcgBandwidth(int) override { return std::nullopt; }
    std::optional<WaveformChoice> Waveforms(int32_t, uint8_t, uint16_t, const WaveformChoice&) override
    {
        return std::nullopt;
    }
    std::optional<DemoModelChoice> DemoModel(uint8_t, uint16_t, int32_t) override { return std::nullopt; }
    bool Agents() override { return false; }
    bool BpCuff() override { return true; }
};
