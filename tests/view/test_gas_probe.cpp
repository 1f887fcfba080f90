#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/RemoteConfiguration.h"
#include "link/LiveData.h"
#include "view/GasProbe.h"

namespace {

using Polls = std::vector<std::string>;

const std::string kRoomAir =
    "Room air calibration of O2 measurement required.\n\n1. Leave gas probe connected to Tarvik+.\n2  Remove airway "
    "adapter from the gas probe.\n3. Wait for LED on gas probe to start blinking red.\n4. Put the airway adapter back "
    "in the gas probe.\n5. Wait for LED on gas probe to turn green.\n6. Exit Quorin and reconnect to Tarvik+ remote.\n";
const std::string kServiceRequired =
    "Service required: At least one parameter is out of range.\nAccuracy of current gas readings can not be "
    "guaranteed.\n\nReason:   ";

GasStatusInputs TypeOne(uint8_t f0, uint8_t f1, uint8_t f2, bool line)
{
    GasStatusInputs in;
    in.moduleType = 1;
    in.flags[0] = f0;
    in.flags[1] = f1;
    in.flags[2] = f2;
    in.samplingLine = line;
    return in;
}

GasStatusInputs TypeTwo(uint8_t code)
{
    GasStatusInputs in;
    in.moduleType = 2;
    in.code = code;
    in.status[0] = 0x12;
    in.status[1] = 0xab;
    in.status[2] = 0x00;
    in.status[3] = 0x7f;
    return in;
}

RemoteConfiguration Settings(int32_t o2Environment, int32_t primaryAgent)
{
    RemoteConfiguration config;
    for (int s = 0; s < kSpeciesCount; ++s)
        config.alarmLimits[s][kParamApnea].high = 20 + 5 * s;
    config.alarmLimits[0][kParamApnea].low = 99;
    config.o2Environment = o2Environment;
    config.primaryAgent = primaryAgent;
    return config;
}

GasTimerInputs Timer(const GasStatusInputs& status)
{
    GasTimerInputs in;
    in.featureBits = kFeatureCO2;
    in.deviceKind = kDeviceTarvikPlus;
    in.gasModuleKind = 5;
    in.dataFlows = true;
    in.status = status;
    return in;
}

}  // namespace

TEST(GasProbe, TypeOneMessageListsWhatTheFlagsReport)
{
    struct Case {
        uint8_t f0, f1, f2;
        bool line;
        std::string text;
    };
    const Case cases[] = {
        {0x04, 0, 0, false, "O2 sensor has low sensitivity and will soon need to be replaced."},
        {0x08, 0, 0, true, "Please replace O2 sensor.\n"},
        {0x10, 0, 0x07, true,
         "Please check sampling line:\n--- Sampling line clogged.\n--- No sampling line detected.\n     Please connect "
         "line.\n"},
        {0x10, 0, 0x07, false,
         "Please check airway adaptor:\n--- Replace airway adapter (IR signal low).\n--- No airway adapter detected.\n"
         "     Please connect adapter (IR signal high).\n--- O2 port failure (clogged or plugged)."},
        {0x20, 0x48, 0, false, kServiceRequired + "O2 outside specified accuracy range.\n"},
        {0x20, 0x00, 0, true, kServiceRequired + "Unknown\n"},
        {0x40, 0, 0x08, false, "Gas sensor software error.\nPlease disconnect and then reconnect the gas sensor."},
        {0x40, 0, 0x30, false,
         "Gas sensor hardware error.\nSensor may require replacement.Gas sensor motor speed out of bounds.\nCall for "
         "service."},
        {0x40, 0, 0x80, true, "O2 sensor error.\nCall for service."},
        {0x40, 0, 0x80, false, ""},
        {0x80, 0, 0, true, "Span calibration of O2 measurement required.\n\n"},
        {0x80, 0, 0, false, kRoomAir},
        {0x18, 0, 0, false, "Please replace O2 sensor.\nPlease check airway adaptor:\n"},
        {0x03, 0xff, 0xff, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << int(c.f0) << " " << int(c.f1) << " " << int(c.f2) << " "
                                        << c.line);
        const GasProbeText text = BuildGasProbeText(TypeOne(c.f0, c.f1, c.f2, c.line));
        EXPECT_EQ(text.message, c.text);
        EXPECT_EQ(text.statusLine, "");
    }
    // As the decoders leave it: F0, F1, F2 and the probe kind from the live store.
    LiveData live;
    Relaxed<uint8_t> gasStatus[kGasStatusSize];
    gasStatus[9] = 1;
    live.gasFlags[0] = 0x30;
    live.gasFlags[1] = 0x10;
    live.gasFlags[2] = 0x01;
    live.co2ProbeState = 0x80;
    EXPECT_EQ(BuildGasProbeText(ReadGasStatus(live, gasStatus)).message,
              "Please check sampling line:\n--- Sampling line clogged.\n" + kServiceRequired +
                  "Internal temperature outside operating range.\n");

    GasStatusInputs unknownType = TypeOne(0x08, 0, 0, false);
    unknownType.moduleType = 0;
    EXPECT_EQ(BuildGasProbeText(unknownType).message, "");
}

TEST(GasProbe, TypeTwoMessageByStatusCodeWithTheStatusLine)
{
    struct Case {
        uint8_t code;
        std::string text;
    };
    const Case cases[] = {
        {1,
         "CO2 sensor over temperature.\n\n--- The sensor temperature is greater than 40 °C.\n--- Make sure sensor is not "
         "exposed to extreme heat (heat lamp, etc.).\n      If error persists, call for service.\n"},
        {2,
         "Sensor Faulty.\n\n--- An internal sensor error has occured.\n--- Check that the sensor is properly plugged "
         "in.\n      Unplug and reinsert the sensor.\n      If error persists, call for service.\n"},
        {7,
         "Zero Required.\n\n--- To clear, check airway adapter and clean if necessary.\n--- If this does not correct the "
         "error, perform an adapter zero by\n      using the Tools->Zero CO2 Probe menu item.\n"},
        {8,
         "CO2 out of Range.\n\n--- The value being calculated is greater than the upper CO2 limit.\n--- If error "
         "persists, perform a zero by\n      using the Tools->Zero CO2 Probe menu item.\n"},
        {9,
         "Check Airway Adapter.\n\n--- Usually caused when the airway adapter is removed from\n      the Capnostat or "
         "when there is an optical blockage on\n      the windows of the airway adapter.\n--- May also be caused by "
         "failure to perform Capnostat zero\n      when adapter type is changed.\n--- To clear, clean airway adapter if "
         "mucus or moisture is seen.\n--- If the adapter is clean, perform a Capnostat zero using the\n      "
         "Tools->Zero CO2 probe menu item.\n"},
        {10,
         "Check Sampling Line.\n\n--- Pneumatic pressure is outside the expected range.\n--- Check that the sampling "
         "line is not occluded or kinked.\n"},
        {0, ""}, {3, ""}, {6, ""}, {11, ""}, {255, ""},
    };
    LiveData live;
    Relaxed<uint8_t> gasStatus[kGasStatusSize];
    const uint8_t bytes[] = {0, 0, 0, 0, 0x12, 0xab, 0x00, 0x7f, 0, 2};
    for (std::size_t i = 0; i < sizeof bytes; ++i)
        gasStatus[i] = bytes[i];
    for (const Case& c : cases) {
        gasStatus[8] = c.code;
        const GasProbeText text = BuildGasProbeText(ReadGasStatus(live, gasStatus));
        EXPECT_EQ(text.message, c.text) << int(c.code);
        EXPECT_EQ(text.statusLine, "--- Status: 12 ab 00 7f\n") << int(c.code);
    }
}

TEST(GasProbe, OneMessagePerArmingAndOnlyWhileTheGatesAreOpen)
{
    const RemoteConfiguration config = Settings(0, 0);
    const GasStatusInputs fault = TypeTwo(2);
    const std::string faultText = BuildGasProbeText(fault).message;
    ASSERT_NE(faultText, "");

    struct Case {
        const char* name;
        bool demo, flows;
        int32_t deviceKind;
        bool shown;
    };
    const Case cases[] = {
        {"open", false, true, kDeviceTarvikPlus, true},
        {"demo", true, true, kDeviceTarvikPlus, false},
        {"no data", false, false, kDeviceSelvo, false},
        {"Brindle", false, true, kDeviceBrindle, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGasProbeArming arming;
        GasTimerInputs in = Timer(fault);
        in.demo = c.demo;
        in.dataFlows = c.flows;
        in.deviceKind = c.deviceKind;
        EXPECT_EQ(OnGasTimer(in, config, arming).message, "");  // not armed yet
        arming.Arm();
        const GasTimerActions first = OnGasTimer(in, config, arming);
        EXPECT_EQ(first.message, c.shown ? faultText : "");
        EXPECT_EQ(first.statusLine, c.shown ? "--- Status: 12 ab 00 7f\n" : "");
        EXPECT_EQ(arming.Armed(), !c.shown);
    }

    // The same fault again shows nothing until the message is armed again.
    CGasProbeArming arming;
    arming.Arm();
    GasTimerInputs quiet = Timer(TypeTwo(0));
    EXPECT_EQ(OnGasTimer(quiet, config, arming).message, "");
    EXPECT_TRUE(arming.Armed());
    EXPECT_EQ(OnGasTimer(Timer(fault), config, arming).message, faultText);
    EXPECT_EQ(OnGasTimer(Timer(fault), config, arming).message, "");
    arming.Arm();
    EXPECT_EQ(OnGasTimer(Timer(fault), config, arming).message, faultText);
}

TEST(GasProbe, PollsCarryTheApneaLimitO2CompensationAndAgent)
{
    struct Case {
        int32_t species;
        uint16_t featureBits;
        uint8_t moduleKind;
        int32_t o2Environment;
        Polls polls;
    };
    const uint16_t co2 = kFeatureCO2;
    const uint16_t co2o2 = kFeatureCO2 | kFeatureO2;
    const Case cases[] = {
        {0, co2, 0, 0, {"rp 1 20\r", "rp 4 21\r", "rp 02 0\r"}},
        {1, co2, 1, 1, {"rp 1 25\r", "rp 4 50\r", "rp 02 1\r"}},
        {2, co2, 2, 2, {"rp 1 30\r", "rp 4 85\r", "rp 02 3\r"}},
        {3, co2, 3, 3, {"rp 1 35\r", "rp 4 21\r"}},
        {7, co2o2, 2, 1, {"rp 1 35\r", "rp 02 3\r"}},
        {-1, co2o2, 4, 2, {"rp 1 35\r"}},
        {0, co2o2, 5, 0, {"rp 1 20\r"}},
    };
    const RemoteConfiguration config0 = Settings(0, 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.species << " " << int(c.moduleKind) << " " << c.o2Environment);
        const RemoteConfiguration config = Settings(c.o2Environment, 3);
        EXPECT_EQ(GasModulePolls(c.species, c.featureBits, c.moduleKind, config), c.polls);

        GasTimerInputs in = Timer(GasStatusInputs{});
        in.species = c.species;
        in.featureBits = c.featureBits;
        in.gasModuleKind = c.moduleKind;
        in.pollRequested = true;
        CGasProbeArming unarmed;
        const GasTimerActions polled = OnGasTimer(in, config, unarmed);
        EXPECT_EQ(polled.polls, c.polls);
        EXPECT_TRUE(polled.clearPollRequest);
        EXPECT_EQ(polled.timer.kind, TimerCommand::Kind::kNone);
    }

    // Nothing is polled in demo mode (the request waits) or without a request.
    CGasProbeArming arming;
    GasTimerInputs demo = Timer(GasStatusInputs{});
    demo.pollRequested = true;
    demo.demo = true;
    const GasTimerActions inDemo = OnGasTimer(demo, config0, arming);
    EXPECT_TRUE(inDemo.polls.empty());
    EXPECT_FALSE(inDemo.clearPollRequest);
    EXPECT_TRUE(OnGasTimer(Timer(GasStatusInputs{}), config0, arming).polls.empty());

    // Without CO2 the timer stops and polls nothing.
    GasTimerInputs noCo2 = Timer(TypeTwo(2));
    noCo2.featureBits = kFeatureEcg;
    noCo2.pollRequested = true;
    arming.Arm();
    const GasTimerActions stopped = OnGasTimer(noCo2, config0, arming);
    EXPECT_EQ(stopped.timer.kind, TimerCommand::Kind::kKill);
    EXPECT_TRUE(stopped.polls.empty());
    EXPECT_EQ(stopped.message, "");
}
