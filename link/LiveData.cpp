#include "link/LiveData.h"

#include "link/ByteOrder.h"

#include <charconv>
#include <cstring>

LiveData g_liveData;
std::array<SampleFrame, kSampleRingSize> g_sampleRing;
std::array<SampleFrame, kPrintFrameCount> g_printFrames;
std::atomic<int> g_linkMode{kLinkDecode};
Relaxed<uint8_t> g_gasStatus[kGasStatusSize];

namespace {

const char* const kShortNames[kParameterCount] = {
    "HR", "Temp", "RR", "SpO2", "Apnea", "Sys", "Dia", "Map",
    "CO2 Ins", "O2 Ins", "N2O Ins", "CO2 Exp", "O2 Exp", "N2O Exp",
    "Hal Ins", "En Ins", "Iso Ins", "Sev Ins", "Des Ins",
    "Hal Exp", "En Exp", "Iso Exp", "Sev Exp", "Des Exp",
};

const char* const kDeviceNames[] = {
    "Unknown Device", "Tarvik Classic", "Tarvik Plus", "MOVAL", "Selvo", "BP-Brindle",
};

// "%3.1f" without the C library's locale: always a point, never a comma.
std::string OneDecimal(double value)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    std::string text(buffer, result.ptr);
    while (text.size() < 3)
        text.insert(text.begin(), ' ');
    return text;
}


} // namespace

const char* ParameterShortName(int index)
{
    return index >= 0 && index < kParameterCount ? kShortNames[index] : nullptr;
}

const char* DeviceKindName(int32_t kind)
{
    return kind >= kDeviceUnknown && kind <= kDeviceBrindle ? kDeviceNames[kind] : kDeviceNames[0];
}

int32_t DeviceKindFromProductCode(uint32_t productCode)
{
    switch (productCode) {
    case 1: return kDeviceMoval;
    case 2: return kDeviceTarvik;
    case 3: return kDeviceTarvikPlus;
    case 4: return kDeviceSelvo;
    case 5: return kDeviceBrindle;
    default: return kDeviceUnknown;
    }
}

void CEcgEvent::Init(uint8_t eventCode, const LiveData& live, uint8_t cuff, int16_t limit, uint8_t unitSelector)
{
    code = eventCode;
    reserved = 0;
    position = 0;
    featureBits = live.featureBits;
    for (int i = 0; i < kParameterCount; ++i)
        numerics[i] = live.numerics[i];
    hrFromEcg = live.hrFromEcg;
    hrFromSpO2 = live.hrFromSpO2;
    hrFromBp = live.hrFromBp;
    heartRateSource = live.heartRateSource;
    primaryAgent = live.primaryAgent;
    secondaryAgent = live.secondaryAgent;
    ambientPressure = live.ambientPressure;
    cuffSize = cuff;
    limitValue = limit;
    unitNative = unitSelector;
}

void CEcgEvent::Clear()
{
    *this = CEcgEvent();
}

std::string CEcgEvent::GetDescription() const
{
    switch (code) {
    case kMarker: return "Marker";
    case kVitals: return "Vitals";
    case kPrint: return "Print";
    case kApnea: return "Apnea";
    default: break;
    }
    const int index = code & 0x1F;
    if ((code & (kAlarmHigh | kAlarmLow)) == 0 || index >= kParameterCount || index == kParamApnea)
        return {};

    std::string limit;
    if (index == kParamTemperature) {
        const double degrees = limitValue / 10.0;
        limit = OneDecimal(unitNative != 0 ? degrees : (degrees - 32.0) * 5.0 / 9.0);
    } else if (index >= kParamCO2Ins) {
        limit = OneDecimal(unitNative != 0 ? limitValue / 10.0
                                           : limitValue * 0.75 * double(ambientPressure) / 10.0);
    } else {
        limit = std::to_string(limitValue);
    }
    return std::string(kShortNames[index]) + ' ' + ((code & kAlarmHigh) != 0 ? '>' : '<') + ' ' + limit;
}

void CEcgEvent::WriteRecord(uint8_t* out) const
{
    std::memset(out, 0, kRecordSize);
    out[0] = code;
    out[1] = reserved;
    WriteLe32(out + 4, position);
    WriteLe16(out + 8, featureBits);
    for (int i = 0; i < kParameterCount; ++i)
        WriteLe16(out + 10 + 2 * i, uint16_t(numerics[i]));
    std::memcpy(out + 58, reservedTime, sizeof reservedTime);
    WriteLe16(out + 66, uint16_t(hrFromEcg));
    WriteLe16(out + 68, uint16_t(hrFromSpO2));
    WriteLe16(out + 70, uint16_t(hrFromBp));
    out[72] = heartRateSource;
    out[73] = cuffSize;
    out[74] = primaryAgent;
    out[75] = secondaryAgent;
    uint32_t bits;
    std::memcpy(&bits, &ambientPressure, sizeof bits);
    WriteLe32(out + 76, bits);
    WriteLe16(out + 80, uint16_t(limitValue));
    out[82] = unitNative;
}

void CEcgEvent::ReadRecord(const uint8_t* in)
{
    code = in[0];
    reserved = in[1];
    position = ReadLe32(in + 4);
    featureBits = ReadLe16(in + 8);
    for (int i = 0; i < kParameterCount; ++i)
        numerics[i] = int16_t(ReadLe16(in + 10 + 2 * i));
    std::memcpy(reservedTime, in + 58, sizeof reservedTime);
    hrFromEcg = int16_t(ReadLe16(in + 66));
    hrFromSpO2 = int16_t(ReadLe16(in + 68));
    hrFromBp = int16_t(ReadLe16(in + 70));
    heartRateSource = in[72];
    cuffSize = in[73];
    primaryAgent = in[74];
    secondaryAgent = in[75];
    const uint32_t bits = ReadLe32(in + 76);
    std::memcpy(&ambientPressure, &bits, sizeof bits);
    limitValue = int16_t(ReadLe16(in + 80));
    unitNative = in[82];
}

int32_t RingUnreadCount(int32_t writeIndex, int32_t readIndex)
{
    const int32_t difference = writeIndex - readIndex;
    return difference >= 0 ? difference : difference + kSampleRingSize;
}

SampleFrame& BeginRingWrite()
{
    SampleFrame& frame = g_sampleRing[g_liveData.ringWriteIndex.load(std::memory_order_relaxed) & kSampleRingMask];
    frame = SampleFrame();
    return frame;
}

void CommitRingWrite()
{
    const int32_t next = (g_liveData.ringWriteIndex.load(std::memory_order_relaxed) + 1) & kSampleRingMask;
    if (next == 0)
        g_liveData.ringWrapped = 1;
    g_liveData.ringWriteIndex.store(next, std::memory_order_release);
}

void ResetLiveStore()
{
    LiveData& d = g_liveData;
    d.dentalScalarRejection = 0;
    d.packetReceived = 0;
    d.movalStreamState = 0;
    d.ringWrapped = 0;
    d.writerHandover = 0;
    d.movalTextMode = 0;
    d.displayLatch = 0;
    d.co2ProbeState = 0;
    d.deviceKind = 0;
    for (auto& v : d.gasFlags) v = 0;
    for (auto& v : d.connectionStatus) v = 0;
    d.movalSequence = 0;
    d.ringWriteIndex.store(0, std::memory_order_release);
    d.ringReadIndex.store(0, std::memory_order_release);
    d.streamSum = 0;
    d.streamSumField = 0;
    d.streamState = 0;
    d.startupCountdown = 0;
    d.lastBeatOffset = 0;
    d.statusFlags = 0;
    d.batteryLevel = 0;
    d.waitMs = 0;
    d.waitStart = 0;
    d.connectWord1 = 0;
    d.connectWord2 = 0;
    d.retryCount = 0;
    d.lastPacketTick = 0;
    d.featureBits = 0;
    d.handledFeatureBits = 0;
    d.primaryAgent = 0;
    d.secondaryAgent = 0;
    d.gasModuleKind = 0;
    for (auto& v : d.agentAvailable) v = 0;
    for (auto& v : d.numerics) v = 0;
    d.hrFromEcg = 0;
    d.hrFromSpO2 = 0;
    d.hrFromBp = 0;
    d.heartRateSource = 0;
    d.ambientPressure = 0.0f;
    d.firstBuffer = 0;
    d.sampleRate = 0;
    d.hrFromSpO2Setting = 0;
    d.showN2OSetting = 0;
    for (auto& frame : g_sampleRing) frame = SampleFrame();
    for (auto& frame : g_printFrames) frame = SampleFrame();
    g_linkMode.store(kLinkDecode);
    for (auto& v : g_gasStatus) v = 0;
}
