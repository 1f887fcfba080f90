// The CO2 message: capnogram and O2 frames, barometric pressure, agents,
// N2O and O2 scaling, apnea.
#include <gtest/gtest.h>

#include "DecodeFixture.h"
#include "link/GasBlock.h"
#include "link/MonitorMessages.h"

class Gas : public DecodeTest {
protected:
    void SetUp() override
    {
        DecodeTest::SetUp();
        g_liveData.deviceKind = kDeviceSelvo;
        g_liveData.featureBits = kFeatureEcg | kFeatureCO2 | kFeatureO2;
    }
};

TEST_F(Gas, BarometricPressureOutsideFiveToThirteenIsStandard)
{
    GasBlock m;
    m.barometric = 1500;
    Send(ProcessMsgCO2Data, EncodeGasBlock(m));
    EXPECT_FLOAT_EQ(g_liveData.ambientPressure, 10.1325f);
    m.barometric = 950;
    Send(ProcessMsgCO2Data, EncodeGasBlock(m));
    EXPECT_FLOAT_EQ(g_liveData.ambientPressure, 9.5f);
    m.barometric = 499;
    Send(ProcessMsgCO2Data, EncodeGasBlock(m));
    EXPECT_FLOAT_EQ(g_liveData.ambientPressure, 10.1325f);
    m.barometric = 1300;
    Send(ProcessMsgCO2Data, EncodeGasBlock(m));
    EXPECT_FLOAT_EQ(g_liveData.ambientPressure, 13.0f);

    // Without CO2 the pressure is the standard whatever the word says.
    g_liveData.featureBits = kFeatureEcg;
    m.barometric = 950;
    Send(ProcessMsgCO2Data, EncodeGasBlock(m));
    EXPECT_FLOAT_EQ(g_liveData.ambientPressure, 10.1325f);
}

TEST_F(Gas, ValuesAreScaledAndKeptInRange)
{
    GasBlock m;
    m.co2Ins = 3;
    m.co2Exp = 45;
    m.n2oIns = 60;
    m.n2oExp = 55;
    m.o2Ins = 40;
    m.o2Exp = 6; // below 7: none
    m.apnea = 2;
    m.respRate = 18;
    m.status1 = 0x02; // apnea bit
    m.status43 = 0x43;
    m.status44 = 0x44;
    m.probe = 0x80;
    Send(ProcessMsgCO2Data, EncodeGasBlock(m));
    const auto& n = g_liveData.numerics;
    EXPECT_EQ(n[kParamCO2Ins], 3);
    EXPECT_EQ(n[kParamCO2Exp], 45);
    EXPECT_EQ(n[kParamN2OIns], 600);
    EXPECT_EQ(n[kParamN2OExp], 550);
    EXPECT_EQ(n[kParamO2Ins], 400);
    EXPECT_EQ(n[kParamO2Exp], 0);
    EXPECT_EQ(n[kParamApnea], 2);
    EXPECT_EQ(n[kParamRespRate], 18);
    EXPECT_EQ(g_liveData.gasFlags[0], 0x02);
    EXPECT_EQ(g_liveData.gasFlags[1], 0x44);
    EXPECT_EQ(g_liveData.gasFlags[2], 0x43);
    EXPECT_EQ(g_liveData.co2ProbeState, 1);
    EXPECT_EQ(g_gasStatus[9], 1);

    m.co2Ins = 101;
    m.n2oIns = 0;
    m.o2Ins = 101;
    m.respRate = 121;
    Send(ProcessMsgCO2Data, EncodeGasBlock(m));
    EXPECT_EQ(n[kParamCO2Ins], 0);
    EXPECT_EQ(n[kParamN2OIns], 0);
    EXPECT_EQ(n[kParamO2Ins], 0);
    EXPECT_EQ(n[kParamRespRate], 0);
}

TEST_F(Gas, CapnogramAndO2FillTheFrames)
{
    GasBlock m;
    for (int i = 0; i < 6; ++i) {
        m.co2[i] = uint16_t(100 * (i + 1));
        m.o2[i] = uint16_t(1000 + i);
    }
    Send(ProcessMsgCO2Data, EncodeGasBlock(m));
    ASSERT_EQ(RingWriteIndex(), 32);
    EXPECT_EQ(Frame(0).co2, 100);
    EXPECT_EQ(Frame(9).co2, 200);
    EXPECT_EQ(Frame(10).co2, 300);
    EXPECT_EQ(Frame(31).co2, 600);
    EXPECT_EQ(Frame(26).o2, 1005);
    EXPECT_EQ(Frame(0).co2Valid, 1);
    EXPECT_EQ(state.cycleMessageId, kMsgCO2Data);

    g_liveData.featureBits = kFeatureEcg;
    Send(ProcessMsgCO2Data, EncodeGasBlock(m));
    EXPECT_EQ(Frame(32).co2Valid, 0);
}

TEST_F(Gas, OnlyIsofluraneOfferedGivesModuleKindOne)
{
    GasBlock m;
    m.agentsOffered = 0x20;
    g_liveData.secondaryAgent = 2;
    Send(ProcessMsgCO2Data, EncodeGasBlock(m));
    EXPECT_EQ(g_liveData.gasModuleKind, 1);
    const uint8_t expected[5] = {0, 0, 1, 0, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(g_liveData.agentAvailable[i], expected[i]) << i;
    EXPECT_EQ(g_liveData.secondaryAgent, 0);

    m.agentsOffered = 0x40;
    Send(ProcessMsgCO2Data, EncodeGasBlock(m));
    EXPECT_EQ(g_liveData.gasModuleKind, 0);
    m.agentsOffered = 0x60;
    Send(ProcessMsgCO2Data, EncodeGasBlock(m));
    EXPECT_EQ(g_liveData.gasModuleKind, 2);

    // No agent offered: no analyser, every agent cleared.
    g_liveData.primaryAgent = 3;
    m.agentsOffered = 0x07;
    Send(ProcessMsgCO2Data, EncodeGasBlock(m));
    EXPECT_EQ(g_liveData.gasModuleKind, 5);
    EXPECT_EQ(g_liveData.primaryAgent, 0);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(g_liveData.agentAvailable[i], 0);
}

TEST_F(Gas, IdentifiedAgentsSetTheirBitsAndValuesWithinLimits)
{
    GasBlock m;
    m.agentsOffered = 0xF8;
    m.agentId = 0x80 | (4 << 3) | 5; // sevoflurane and desflurane
    m.primaryIns = 80;               // at the sevoflurane limit
    m.primaryExp = 81;               // above it
    m.secondaryIns = 180;            // at the desflurane limit
    m.secondaryExp = 12;
    Send(ProcessMsgCO2Data, EncodeGasBlock(m));
    EXPECT_EQ(g_liveData.primaryAgent, 4);
    EXPECT_EQ(g_liveData.secondaryAgent, 5);
    EXPECT_EQ(g_liveData.gasModuleKind, 4);
    EXPECT_EQ(g_liveData.featureBits & 0x0300, 0x0300);
    const auto& n = g_liveData.numerics;
    EXPECT_EQ(n[kParamSevIns], 80);
    EXPECT_EQ(n[kParamSevExp], 0);
    EXPECT_EQ(n[kParamDesIns], 180);
    EXPECT_EQ(n[kParamDesExp], 12);
    EXPECT_EQ(g_gasStatus[10], 1); // bit 6 of the identification clear

    // Codes 6 and 7 are no agent: the bits go.
    m.agentId = 0x80 | 0x40 | (6 << 3) | 7;
    Send(ProcessMsgCO2Data, EncodeGasBlock(m));
    EXPECT_EQ(g_liveData.primaryAgent, 0);
    EXPECT_EQ(g_liveData.secondaryAgent, 0);
    EXPECT_EQ(g_liveData.featureBits & 0x0300, 0);

    EXPECT_EQ(AgentValue(1, 50), 50);
    EXPECT_EQ(AgentValue(2, 51), 0);
    EXPECT_EQ(AgentValue(3, 0), 0);
    EXPECT_EQ(AgentValue(0, 10), 0);
}

TEST_F(Gas, NoAgentLeavesN2OExpiredAndDesfluraneInspiredAlone)
{
    GasBlock m;
    m.agentsOffered = 0xF8;
    m.agentId = 0x80; // identified, but no agent
    m.n2oExp = 55;
    m.primaryIns = 20;
    m.primaryExp = 30;
    m.secondaryIns = 21;
    m.secondaryExp = 31;
    g_liveData.numerics[kParamDesIns] = 77;
    Send(ProcessMsgCO2Data, EncodeGasBlock(m));
    EXPECT_EQ(g_liveData.numerics[kParamN2OExp], 550);
    EXPECT_EQ(g_liveData.numerics[kParamDesIns], 77);
}
