#include "link/GasBlock.h"

#include "link/AgentCodes.h"
#include "link/LiveData.h"
#include "link/WireFields.h"

namespace {

int16_t InRange(uint8_t value, int low, int high, int scale)
{
    return value >= low && value <= high ? int16_t(value * scale) : int16_t(0);
}

uint8_t AgentCode(int code)
{
    return code < 6 ? uint8_t(code) : uint8_t(0);
}

void SetFeatureBit(uint16_t& features, uint16_t bit, bool on)
{
    features = on ? uint16_t(features | bit) : uint16_t(features & ~bit);
}

} // namespace

int16_t AgentValue(int agent, uint8_t value)
{
    static constexpr int kLimits[6] = {0, 50, 50, 50, 80, 180};
    if (agent < 1 || agent > 5)
        return 0;
    return value >= 1 && value <= kLimits[agent] ? int16_t(value) : int16_t(0);
}

void DecodeGasFlags(const uint8_t* gas)
{
    g_liveData.gasFlags[0] = gas[1];
    g_liveData.gasFlags[1] = gas[44];
    g_liveData.gasFlags[2] = gas[43];
    g_liveData.co2ProbeState = (gas[42] & 0x80) != 0 ? 1 : 0;
}

bool DecodeGasSetUp(const uint8_t* gas, uint16_t& features, GasBlockOrigin origin)
{
    LiveData& live = g_liveData;
    if ((features & kFeatureCO2) == 0) {
        live.ambientPressure = kStandardAmbientPressure;
        return false;
    }
    live.numerics[kParamRespRate] = gas[0] < 121 ? int16_t(gas[0]) : int16_t(0);
    const float pressure = float(ReadLe16(gas + 40)) / 100.0f;
    live.ambientPressure = pressure >= 5.0f && pressure <= 13.0f ? pressure : kStandardAmbientPressure;
    if (origin == GasBlockOrigin::TarvikPlus)
        SetFeatureBit(features, kFeatureN2O, live.showN2OSetting != 0);
    const uint8_t identification = gas[39];
    if ((identification & 0x40) == 0)
        g_gasStatus[10] = 1;

    const uint8_t offered = gas[45] & 0xF8;
    if (offered == 0) {
        live.gasModuleKind = 5;
        live.primaryAgent = 0;
        live.secondaryAgent = 0;
        for (auto& available : live.agentAvailable)
            available = 0;
    } else if ((identification & 0x80) != 0) {
        live.primaryAgent = AgentCode((identification >> 3) & 7);
        live.secondaryAgent = AgentCode(identification & 7);
        live.gasModuleKind = 4;
        SetFeatureBit(features, 0x0100, live.primaryAgent != 0);
        SetFeatureBit(features, 0x0200, live.secondaryAgent != 0);
    } else {
        for (int i = 0; i < 5; ++i)
            live.agentAvailable[i] = (offered >> (3 + i)) & 1;
        live.secondaryAgent = 0;
        live.gasModuleKind = offered == 0x40 ? 0 : offered == 0x20 ? 1 : 2;
        if (origin == GasBlockOrigin::TarvikPlus && live.primaryAgent != 0)
            features = uint16_t(features | 0x0100);
    }
    return true;
}

void DecodeGasValues(const uint8_t* gas)
{
    LiveData& live = g_liveData;
    live.numerics[kParamApnea] = gas[38];
    live.numerics[kParamCO2Ins] = InRange(gas[28], 1, 100, 1);
    live.numerics[kParamN2OIns] = InRange(gas[29], 1, 100, 10);
    live.numerics[kParamO2Ins] = InRange(gas[32], 7, 100, 10);
    live.numerics[kParamCO2Exp] = InRange(gas[33], 1, 100, 1);
    live.numerics[kParamN2OExp] = InRange(gas[34], 1, 100, 10);
    live.numerics[kParamO2Exp] = InRange(gas[37], 7, 100, 10);
    // Agent code 0 (none) has no slot.
    // When both name the same agent the secondary's values are the ones
    // kept: the primary's are then not stored at all.
    const int agents[2] = {live.primaryAgent, live.secondaryAgent};
    for (int i = 0; i < 2; ++i) {
        const int agent = agents[i];
        if (!IsAgentCode(agent) || (i == 0 && agents[1] == agent))
            continue;
        live.numerics[AgentInsSlot(agent)] = AgentValue(agent, gas[30 + i]);
        live.numerics[AgentExpSlot(agent)] = AgentValue(agent, gas[35 + i]);
    }
}
