#pragma once
// The shared live state of the connected remote: the live record, the sample
// ring, the print snapshot and the event record. Written by the link's
// decoders (and the demo generator), read by the view, the recorder and the
// dialogs, without a lock.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Relaxed.h"

// The 24 monitored parameters, in the order used by the live values, the
// alarm limits, the event records and the settings.
enum ParameterIndex : int {
    kParamHeartRate = 0,
    kParamTemperature = 1,
    kParamRespRate = 2,
    kParamSpO2 = 3,
    kParamApnea = 4,
    kParamSystolic = 5,
    kParamDiastolic = 6,
    kParamMean = 7,
    kParamCO2Ins = 8,
    kParamO2Ins = 9,
    kParamN2OIns = 10,
    kParamCO2Exp = 11,
    kParamO2Exp = 12,
    kParamN2OExp = 13,
    kParamHalIns = 14,
    kParamEnfIns = 15,
    kParamIsoIns = 16,
    kParamSevIns = 17,
    kParamDesIns = 18,
    kParamHalExp = 19,
    kParamEnfExp = 20,
    kParamIsoExp = 21,
    kParamSevExp = 22,
    kParamDesExp = 23,
    kParameterCount = 24,
};

// Short name of a parameter in event texts ("HR", "Temp", ...); null for an
// index outside 0..23.
const char* ParameterShortName(int index);

enum DeviceKind : int32_t {
    kDeviceUnknown = 0,
    kDeviceTarvik = 1,
    kDeviceTarvikPlus = 2,
    kDeviceMoval = 3,
    kDeviceSelvo = 4,
    kDeviceBrindle = 5,
};

// Display name of a model ("Unknown Device" for anything unknown).
const char* DeviceKindName(int32_t kind);

// The remote's product code (Moval first) to a DeviceKind; unknown codes give 0.
int32_t DeviceKindFromProductCode(uint32_t productCode);

// featureBits: parameter groups the connected remote measures.
enum FeatureBit : uint16_t {
    kFeatureEcg = 0x0001,
    kFeatureResp = 0x0002,
    kFeatureSpO2 = 0x0004,
    kFeatureTemp = 0x0008,
    kFeatureNibp = 0x0010,
    kFeatureCO2 = 0x0020,
    kFeatureO2 = 0x0040,
    kFeatureN2O = 0x0080,
    kFeatureAgents = 0x0300,
};

constexpr int kSampleRingSize = 32768;
constexpr int kSampleRingMask = kSampleRingSize - 1;
constexpr int kPrintFrameCount = 24000;

// Who writes and reads each field, its unit, and its value after
// ResetLiveStore / after ResetRemoteDataState ("=": kept). proc is the
// packet processor (decoders, ECG chain); conn the connection thread, which
// runs ResetRemoteDataState at connect; view the view's (UI) thread; dlg the
// configuration dialogs; demo the demo generator; rec the recorder. A name
// in brackets is a layer above this one (its tests stand in for it); in demo mode
// [demo] writes what proc writes. numerics[] by parameter: heart and
// respiration rates bpm, temperature 0.1 F, SpO2 %, blood pressures mmHg,
// CO2 and apnea as sent, O2, N2O and agents 0.1 %.
//
// field                  written by           read by                     unit                              reset
// dentalScalarRejection  [view]               proc                        flag: dental-scaler rejection on  0 / 0
// packetReceived         proc                 [conn] watchdog             flag: last packet good            0 / =
// movalStreamState       [view]; proc clears  proc                        flag: restart the Moval sequence  0 / 0
// ringWrapped            proc                 [view], [rec]               flag: the ring has wrapped        0 / 0
// writerHandover         [conn], [demo]       [demo]                      flag: ring writer handed over     0 / =
// movalTextMode          proc; [view] clears  proc, [view]                flag: a Moval talks text          0 / =
// displayLatch           proc                 [view]                      flag: remote status bit 25 seen   0 / 0
// co2ProbeState          proc                 [view]                      flag: gas byte 42 bit 7           0 / =
// deviceKind             proc                 proc, [view], [rec], [dlg]  DeviceKind                        0 / 0
// gasFlags[3]            proc                 [view]                      gas bytes 1, 44, 43 as sent       0 / =
// connectionStatus[2]    [conn]               [view] status bar           connection state codes            0 / =
// movalSequence          proc                 [view]                      received sequence + 1, or 0       0 / 0
// ringWriteIndex         proc                 proc, [view], [rec]         frame index 0..32767              0 / 0
// ringReadIndex          [view]               [view]                      frame index 0..32767              0 / 0
// streamSum              proc                 [view] service terminal     Tarvik byte sum computed          0 / =
// streamSumField         proc                 [view] service terminal     Tarvik byte sum received          0 / =
// streamState            proc                 proc                        0 hunting, 1 in frame, 2 escape   0 / =
// startupCountdown       proc counts down     proc                        data cycles not yet posted        0 / 4
// lastBeatOffset         proc                 [view] beat tone            samples back from the newest      0 / 0
// statusFlags            proc                 proc, [view]                remote status word (14: ECG on)   0 / =
// batteryLevel           proc                 [view]                      remote battery code 0..7          0 / =
// waitMs                 [conn]               [conn]                      ms                                0 / =
// waitStart              [conn]               [conn]                      tick, ms                          0 / =
// connectWord1           [conn]               [conn], [view]              connect step state                0 / =
// connectWord2           [conn]               [conn], [view]              connect step state                0 / =
// retryCount             [conn]               [conn], [view]              connect attempts                  0 / =
// lastPacketTick         proc                 [conn] watchdog             tick of the last good packet, ms  0 / =
// featureBits            proc                 proc, [view], [rec]         FeatureBit mask                   0 / 0x0009
// handledFeatureBits     [view]               [view]                      FeatureBit mask set up for        0 / =
// primaryAgent           proc                 proc, [view], [rec]         agent 0 none, 1..5                0 / =
// secondaryAgent         proc                 proc, [view], [rec]         agent 0 none, 1..5                0 / =
// gasModuleKind          proc                 [view], [dlg]               0..2 offers, 4 names, 5 none      0 / =
// agentAvailable[5]      proc                 [view], [dlg]               flag per agent 1..5               0 / =
// numerics[24]           proc                 [view], [rec]               by parameter, see above           0 / =
// hrFromEcg              proc                 proc, [view], [rec]         bpm                               0 / =
// hrFromSpO2             proc                 proc, [view], [rec]         bpm                               0 / =
// hrFromBp               proc                 proc, [view], [rec]         bpm                               0 / =
// heartRateSource        proc                 proc, [view], [rec]         0 ECG, 1 SpO2, 2 blood pressure   0 / =
// ambientPressure        proc                 [view], [rec]               hPa / 100 (standard 10.1325)      0 / =
// firstBuffer            proc clears          proc                        flag: nothing received yet        0 / 1
// sampleRate             proc                 proc, [view]                samples per second                0 / 400
// hrFromSpO2Setting      [view], [dlg]        proc                        flag: rate from SpO2 first        0 / =
// showN2OSetting         [view], [dlg]        proc                        flag: N2O shown                   0 / =
struct LiveData {
    Relaxed<uint8_t> dentalScalarRejection;
    Relaxed<uint8_t> packetReceived;
    Relaxed<uint8_t> movalStreamState;
    Relaxed<uint8_t> ringWrapped;
    Relaxed<uint8_t> writerHandover;
    Relaxed<uint8_t> movalTextMode;
    Relaxed<uint8_t> displayLatch;
    Relaxed<uint8_t> co2ProbeState;
    Relaxed<int32_t> deviceKind;
    Relaxed<uint8_t> gasFlags[3];
    Relaxed<int16_t> connectionStatus[2];
    Relaxed<int16_t> movalSequence;
    // The link fills the frame at ringWriteIndex, then publishes it by
    // advancing the index (release); the view reads the index (acquire)
    // before it reads frames. Only the link writes ringWriteIndex and only
    // the view writes ringReadIndex.
    std::atomic<int32_t> ringWriteIndex{0};
    std::atomic<int32_t> ringReadIndex{0};
    Relaxed<uint32_t> streamSum;
    Relaxed<uint32_t> streamSumField;
    Relaxed<uint16_t> streamState;
    Relaxed<int32_t> startupCountdown;
    Relaxed<int32_t> lastBeatOffset;
    Relaxed<uint32_t> statusFlags;
    Relaxed<int16_t> batteryLevel;
    Relaxed<uint32_t> waitMs;
    Relaxed<uint32_t> waitStart;
    Relaxed<int32_t> connectWord1;
    Relaxed<int32_t> connectWord2;
    Relaxed<int16_t> retryCount;
    Relaxed<uint32_t> lastPacketTick;
    Relaxed<uint16_t> featureBits;
    Relaxed<uint16_t> handledFeatureBits;
    Relaxed<uint8_t> primaryAgent;
    Relaxed<uint8_t> secondaryAgent;
    Relaxed<uint8_t> gasModuleKind;
    Relaxed<uint8_t> agentAvailable[5];
    Relaxed<int16_t> numerics[kParameterCount];
    Relaxed<int16_t> hrFromEcg;
    Relaxed<int16_t> hrFromSpO2;
    Relaxed<int16_t> hrFromBp;
    Relaxed<uint8_t> heartRateSource;
    Relaxed<float> ambientPressure;
    Relaxed<uint8_t> firstBuffer;
    Relaxed<uint16_t> sampleRate;
    Relaxed<int32_t> hrFromSpO2Setting;
    Relaxed<int32_t> showN2OSetting;
};

// One event (marker, vitals, print, apnea or a limit alarm) with a snapshot
// of the live values.
class CEcgEvent {
public:
    static constexpr uint8_t kMarker = 0x22;
    static constexpr uint8_t kVitals = 0x23;
    static constexpr uint8_t kPrint = 0x21;
    static constexpr uint8_t kApnea = 0x24;
    static constexpr uint8_t kAlarmHigh = 0x80;
    static constexpr uint8_t kAlarmLow = 0x40;
    static constexpr std::size_t kRecordSize = 84;

    CEcgEvent() = default;
    CEcgEvent(const CEcgEvent&) = default;
    CEcgEvent& operator=(const CEcgEvent&) = default;
    virtual ~CEcgEvent() = default;

    void Init(uint8_t eventCode, const LiveData& live, uint8_t cuff, int16_t limit, uint8_t unitSelector);
    std::string GetDescription() const;
    // Every value back to zero (the frame's "no event").
    void Clear();

    // The 84-byte record of the recording file, little-endian, byte by byte.
    void WriteRecord(uint8_t* out) const;
    void ReadRecord(const uint8_t* in);

    uint8_t code = 0;
    uint8_t reserved = 0;
    uint32_t position = 0;
    uint16_t featureBits = 0;
    int16_t numerics[kParameterCount] = {};
    uint8_t reservedTime[8] = {};
    int16_t hrFromEcg = 0;
    int16_t hrFromSpO2 = 0;
    int16_t hrFromBp = 0;
    uint8_t heartRateSource = 0;
    uint8_t cuffSize = 0;
    uint8_t primaryAgent = 0;
    uint8_t secondaryAgent = 0;
    float ambientPressure = 0.0f;
    int16_t limitValue = 0;
    uint8_t unitNative = 0;
};

// One sample period of all waveforms.
struct SampleFrame {
    static constexpr uint8_t kFlagEcgValid = 0x01;
    static constexpr uint8_t kFlagBeat = 0x02;

    int16_t ecg = 0;
    int16_t resp = 0;
    uint8_t pleth = 0;
    int16_t co2 = 0;
    uint8_t co2Valid = 0;
    int16_t o2 = 0;
    uint8_t flags = 0;
    CEcgEvent event;
};

extern LiveData g_liveData;
extern std::array<SampleFrame, kSampleRingSize> g_sampleRing;
extern std::array<SampleFrame, kPrintFrameCount> g_printFrames;

// What the serial listener does with received bytes.
enum LinkMode : int { kLinkDecode = 0, kLinkDrop = 1, kLinkProgramming = 2, kLinkTerminal = 3 };
extern std::atomic<int> g_linkMode;

// Bytes 0-3 belong to the view, 4-8 hold a Tarvik Plus packet's raw agent
// values and status bits, 9 says where the gas status came from, 10 is set
// by the CO2 decoders.
constexpr int kGasStatusSize = 11;
extern Relaxed<uint8_t> g_gasStatus[kGasStatusSize];

// Ring helpers. A writer fills the frame at the write index (starting from a
// value-initialised frame), then publishes it.
int32_t RingUnreadCount(int32_t writeIndex, int32_t readIndex);
// The frame the link fills next, reset to its initial state.
SampleFrame& BeginRingWrite();
// Publishes the frame begun last; sets ringWrapped on the first wrap.
void CommitRingWrite();

// Puts every object above back to its state at program start (all zero,
// ring empty, link mode 0). For tests and for a fresh start of the link;
// the connect-time values are set by ResetRemoteDataState.
void ResetLiveStore();
