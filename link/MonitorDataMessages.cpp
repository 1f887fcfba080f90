// Waveform and numeric messages: ECG with impedance, SpO2, CO2 with gases,
// temperature, blood pressure and the Selvo's combined data.
#include "link/DecodeCommon.h"
#include "link/DecodeState.h"
#include "link/EcgChain.h"
#include "link/GasBlock.h"
#include "link/LiveData.h"
#include "link/MonitorMessages.h"
#include "link/RemoteStatusCodes.h"
#include "link/WireFields.h"

namespace {

int16_t TemperatureTenths(int16_t hundredths)
{
    return hundredths >= 0 ? int16_t(hundredths / 10) : int16_t(0);
}

} // namespace

void ProcessMsgEcgZData(void* owner, const uint8_t* data, uint16_t length)
{
    if (owner == nullptr || data == nullptr)
        return;
    auto& state = *static_cast<DecodeState*>(owner);
    const char* tag = "CSerialMoval::ProcessMsgEcgZData";
    if (!CheckMessageLength(state, tag,
                            "Bad EcgZData msg length!  Defined Msg Length 0x%x, Received Data Size 0x%x.",
                            kEcgZDataLength, length, false))
        return;
    LiveData& live = g_liveData;
    SelvoCheck(state, tag);
    MarkGoodPacket();
    state.cycleMessageId = kMsgEcgZData;
    live.sampleRate = 400;
    int16_t resp[kSlowValues];
    FilterRespiration(data + 66, resp);
    live.numerics[kParamRespRate] = g_respRate;
    const bool valid = EcgSignalValid();
    for (int k = 0; k < kBlockFrames; ++k) {
        SampleFrame& frame = BeginRingWrite();
        EcgStep(frame, ReadLeI16(data + 2 + 2 * k), valid);
        frame.resp = valid ? resp[SlowIndex(k)] : int16_t(0);
        CommitRingWrite();
    }
    live.heartRateSource = 0;
    live.numerics[kParamHeartRate] = RateOrZero(live.hrFromEcg);
    CloseCycle(state, kNewDataMessages, true);
}

void ProcessMsgSpO2Data(void* owner, const uint8_t* data, uint16_t length)
{
    if (owner == nullptr || data == nullptr)
        return;
    auto& state = *static_cast<DecodeState*>(owner);
    const char* tag = "CSerialMoval::ProcessMsgSpO2Data";
    if (!CheckMessageLength(state, tag,
                            "Bad SpO2Data msg length!  Defined Msg Length 0x%x, Received Data Size 0x%x.",
                            kSpO2DataLength, length, false))
        return;
    LiveData& live = g_liveData;
    SelvoCheck(state, tag);
    state.cycleMessageId = kMsgSpO2Data;
    MarkGoodPacket();
    live.numerics[kParamSpO2] = int16_t(ReadLe16(data + 6));
    live.hrFromSpO2 = int16_t(ReadLe16(data + 8));
    for (int k = 0; k < kBlockFrames; ++k) {
        SampleFrame& frame = BeginRingWrite();
        frame.pleth = data[SlowIndex(k)];
        CommitRingWrite();
    }
    live.heartRateSource = 1;
    live.numerics[kParamHeartRate] = RateOrZero(live.hrFromSpO2);
    CloseCycle(state, kNewDataMessages, true);
}

void ProcessMsgCO2Data(void* owner, const uint8_t* data, uint16_t length)
{
    if (owner == nullptr || data == nullptr)
        return;
    auto& state = *static_cast<DecodeState*>(owner);
    const char* tag = "CSerialMoval::ProcessMsgCO2Data";
    if (!CheckMessageLength(state, tag,
                            "Bad CO2Data msg length!  Defined msg Length 0x%x, Received Data Size 0x%x.",
                            kCO2DataLength, length, false))
        return;
    LiveData& live = g_liveData;
    SelvoCheck(state, tag);
    state.cycleMessageId = kMsgCO2Data;
    MarkGoodPacket();
    const uint8_t co2Valid = (live.featureBits & kFeatureCO2) != 0 ? 1 : 0;
    for (int k = 0; k < kBlockFrames; ++k) {
        SampleFrame& frame = BeginRingWrite();
        const int slow = SlowIndex(k);
        frame.co2 = ReadLeI16(data + kGasCo2Samples + 2 * slow);
        frame.o2 = ReadLeI16(data + kGasO2Samples + 2 * slow);
        frame.co2Valid = co2Valid;
        CommitRingWrite();
    }
    DecodeGasFlags(data);
    g_gasStatus[9] = 1;
    uint16_t features = live.featureBits;
    DecodeGasSetUp(data, features, GasBlockOrigin::Co2Message);
    live.featureBits = features;
    DecodeGasValues(data);
    CloseCycle(state, kNewDataMessages, true);
}

void ProcessMsgTempData(void* owner, const uint8_t* data, uint16_t length)
{
    if (owner == nullptr || data == nullptr)
        return;
    auto& state = *static_cast<DecodeState*>(owner);
    const char* tag = "CSerialMoval::ProcessMsgTempData";
    if (!CheckMessageLength(state, tag,
                            "Bad TempData msg length!  Defined Msg Length 0x%x, Received Data Size 0x%x.",
                            kTempDataLength, length, false))
        return;
    LiveData& live = g_liveData;
    SelvoCheck(state, tag, true);
    MarkGoodPacket();
    live.numerics[kParamTemperature] = TemperatureTenths(ReadLeI16(data + 2));
    // A remote that measures only temperature is refreshed by this message.
    if (live.featureBits == kFeatureTemp) {
        state.cycleMessageId = kMsgTempData;
        CloseCycle(state, kNewDataMessages, true);
    }
}

void ProcessMsgNibpData(void* owner, const uint8_t* data, uint16_t length)
{
    if (owner == nullptr || data == nullptr)
        return;
    auto& state = *static_cast<DecodeState*>(owner);
    if (!CheckMessageLength(state, "CSerialMoval::ProcessMsgNibpData",
                            "Bad NibpData msg length!  Defined Msg Length 0x%x, Received Data Size 0x%x.",
                            kNibpDataLength, length, true))
        return;
    LiveData& live = g_liveData;
    if (live.deviceKind != kDeviceBrindle)
        live.deviceKind = kDeviceBrindle;
    MarkGoodPacket();
    live.primaryAgent = 0;
    live.secondaryAgent = 0;
    for (auto& available : live.agentAvailable)
        available = 0;
    const int16_t bpPulse = int16_t(ReadLe16(data + 0));
    live.hrFromBp = bpPulse;
    // A Brindle measures only blood pressure: every other numeric is 0.
    // Each is stored once with its final value, so a reader never sees a
    // present value as 0.
    int16_t numerics[kParameterCount] = {};
    numerics[kParamSystolic] = int16_t(ReadLe16(data + 2));
    numerics[kParamDiastolic] = int16_t(ReadLe16(data + 4));
    numerics[kParamMean] = int16_t(ReadLe16(data + 6));
    numerics[kParamHeartRate] = RateOrZero(bpPulse);

    // Bytes 8..31 hold six cuff-pressure words, then six oscillation words:
    // the order this program and the remote's simulation agree on.
    int16_t pressureIn[kSlowValues], oscillationIn[kSlowValues];
    for (int i = 0; i < kSlowValues; ++i) {
        pressureIn[i] = ReadLeI16(data + 8 + 2 * i);
        oscillationIn[i] = ReadLeI16(data + 20 + 2 * i);
    }
    int16_t pressure[kSlowValues], oscillation[kSlowValues];
    FilterSampleBlock(kSlowValues, pressureIn, oscillationIn, pressure, oscillation);

    g_beatFlag = 0;
    g_qrsOutput = 0;
    live.hrFromEcg = 0;
    for (int k = 0; k < kBlockFrames; ++k) {
        SampleFrame& frame = BeginRingWrite();
        frame.co2Valid = 1;
        frame.co2 = pressure[SlowIndex(k)];
        frame.o2 = oscillation[SlowIndex(k)];
        CommitRingWrite();
    }
    live.heartRateSource = 2;
    live.ambientPressure = kStandardAmbientPressure;
    for (int i = 0; i < kParameterCount; ++i)
        live.numerics[i] = numerics[i];
    CloseCycle(state, kNewDataMessages, false);
}

void ProcessMsgDeviceState(void* owner, const uint8_t* data, uint16_t length)
{
    if (owner == nullptr || data == nullptr)
        return;
    auto& state = *static_cast<DecodeState*>(owner);
    const char* tag = "CSerialMoval::ProcessMsgDeviceState";
    if (!CheckMessageLength(state, tag,
                            "Bad DeviceState msg length!  Expected Msg Length 0x%x, Received Data Size 0x%x.",
                            kDeviceStateLength, length, true))
        return;
    LiveData& live = g_liveData;
    MarkGoodPacket();
    const uint32_t status = ReadLe32(data + 4);
    const uint32_t extended = ReadLe32(data + 8);
    const uint16_t remoteFeatures = ReadLe16(data + 12);
    if (extended != 4) {
        live.featureBits = uint16_t(remoteFeatures | kFeatureCO2 | kFeatureO2);
        live.deviceKind = kDeviceBrindle;
    } else {
        // Entering or leaving temperature-only needs a new layout.
        const bool wordIsTempOnly = ReadLe32(data + 12) == kFeatureTemp;
        const bool liveIsTempOnly = live.featureBits == kFeatureTemp;
        if (wordIsTempOnly != liveIsTempOnly) {
            state.cycleMessageId = 16;
            state.invalidatePending = 1;
        }
        if (live.deviceKind == kDeviceUnknown) {
            live.deviceKind = kDeviceSelvo;
            DecodeLogFormat(state, tag, "Received MsgDeviceState, ExtendedStatus = 0x%x.  The remote is a Selvo!",
                            unsigned(extended));
        }
        // A Selvo that measures CO2 also shows N2O (by the setting) and the
        // identified agents: the bits join the remote's word before it is
        // stored, never after.
        uint16_t features = remoteFeatures;
        if (live.deviceKind == kDeviceSelvo && (features & kFeatureCO2) != 0) {
            features = live.showN2OSetting != 0 ? uint16_t(features | kFeatureN2O) : uint16_t(features & ~kFeatureN2O);
            if (live.primaryAgent != 0)
                features |= 0x0100;
            if (live.secondaryAgent != 0)
                features |= 0x0200;
        }
        live.featureBits = features;
    }
    live.batteryLevel = int16_t(status & 7);
    state.stateCode = ReadLe16(data + 2);
    live.statusFlags = status;

    int code = 0;
    if (live.deviceKind == kDeviceBrindle) {
        code = RemoteStatusCode(kDeviceBrindle, state.stateCode);
    } else if (live.deviceKind == kDeviceSelvo) {
        code = RemoteStatusCode(kDeviceSelvo, state.stateCode);
        if ((status & (1u << 25)) != 0)
            live.displayLatch = 1;
        live.heartRateSource = 0;
        live.hrFromEcg = 0;
        live.numerics[kParamHeartRate] = 0;
    }
    PostStatusCode(state, code);
}

void ProcessMsgSelvoData(void* owner, const uint8_t* data, uint16_t length)
{
    if (owner == nullptr || data == nullptr)
        return;
    auto& state = *static_cast<DecodeState*>(owner);
    if (!CheckMessageLength(state, "CSerialMoval::ProcessMsgSelvoData",
                            "Bad SelvoData msg length!  Defined Pkt Length 0x%x, Received Data Size 0x%x.",
                            kSelvoDataLength, length, false))
        return;
    LiveData& live = g_liveData;
    const uint32_t status = ReadLe32(data + 92);
    live.statusFlags = status;
    live.sampleRate = 400;
    live.deviceKind = kDeviceSelvo;
    live.featureBits = ReadLe16(data + 96);
    live.gasModuleKind = 5;
    MarkGoodPacket();
    live.batteryLevel = int16_t(status & 7);
    state.stateCode = ReadLe16(data + 90);
    live.numerics[kParamTemperature] = TemperatureTenths(ReadLeI16(data + 86));
    live.numerics[kParamSpO2] = 0;
    live.hrFromSpO2 = 0;
    int16_t resp[kSlowValues];
    FilterRespiration(data + 70, resp);
    live.numerics[kParamRespRate] = g_respRate;
    const bool valid = EcgSignalValid();
    for (int k = 0; k < kBlockFrames; ++k) {
        SampleFrame& frame = BeginRingWrite();
        EcgStep(frame, ReadLeI16(data + 2 * k), valid);
        frame.pleth = data[64 + SlowIndex(k)];
        frame.co2Valid = 0;
        frame.resp = valid ? resp[SlowIndex(k)] : int16_t(0);
        CommitRingWrite();
    }
    live.heartRateSource = 0;
    live.numerics[kParamHeartRate] = RateOrZero(live.hrFromEcg);
    CloseCycle(state, kNewDataMessages, true);
    PostStatusCode(state, RemoteStatusCode(kDeviceSelvo, state.stateCode));
}
