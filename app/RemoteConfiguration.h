#pragma once
// All settings of the program in one record. The application object holds
// four of them (factory, in force, confirmed, stored); dialogs work on copies.
//
// Worker threads read integer members of the settings in force without a
// lock while the UI thread may replace them: such reads go through
// LoadRelaxed, and every write on the UI thread (a whole-record copy too)
// stores relaxed. Workers read no string.
#include <atomic>
#include <cstdint>
#include <string>
#include <type_traits>

#include "platform/ColorRef.h"

template <class T>
inline T LoadRelaxed(const T& field)
{
    static_assert(std::is_integral_v<T> && sizeof(T) == 4);
    return std::atomic_ref<T>(const_cast<T&>(field)).load(std::memory_order_relaxed);
}

template <class T>
inline void StoreRelaxed(T& field, std::type_identity_t<T> value)
{
    static_assert(std::is_integral_v<T> && sizeof(T) == 4);
    std::atomic_ref<T>(field).store(value, std::memory_order_relaxed);
}

constexpr int kSpeciesCount = 4;
constexpr int kAlarmParameterCount = 24;
constexpr int kUnitCount = 9;
constexpr int kRecentCount = 25;

// Unit selectors, in the order of the "Defaults\Units" values; the agents'
// follow their codes from 1 (Halothane) to 5 (Desflurane). Nonzero is % for
// the gases, degrees F for the temperature.
enum UnitIndex : int { kUnitNone = -1, kUnitTemp = 0, kUnitCO2 = 6, kUnitO2 = 7, kUnitN2O = 8 };

// One limit of one parameter for one species. The enables are 0 or 1.
struct AlarmLimit {
    int32_t high = 0;
    int32_t low = 0;
    int32_t highEnable = 0;
    int32_t lowEnable = 0;

    template <class A, class B, class F>
    static void Zip(A& a, B& b, F&& f)
    {
        f(a.high, b.high);
        f(a.low, b.low);
        f(a.highEnable, b.highEnable);
        f(a.lowEnable, b.lowEnable);
    }
};

class RemoteConfiguration {
public:
    // Integers start at zero; SetDefaultSettings or a copy fills them.
    RemoteConfiguration() = default;
    RemoteConfiguration(const RemoteConfiguration& other);
    RemoteConfiguration& operator=(const RemoteConfiguration& other);
    ~RemoteConfiguration() = default;

    // Member by member, in order.
    bool operator==(const RemoteConfiguration& other) const;

    // Calls f(memberOfA, memberOfB) for every one of the 487 members in
    // order, alarm-limit fields one by one.
    template <class A, class B, class F>
    static void Zip(A& a, B& b, F&& f);

    // "Defaults\Values"
    int32_t portNum = 0;
    int32_t ecgSweep = 0;             // 1, 2, 4, 8: 25, 50, 100, 200 mm/s
    int32_t co2Sweep = 0;             // 1, 2, 4
    int32_t species = 0;              // 0 Canine, 1 Feline, 2 Equine, 3 Other
    int32_t recordMode = 0;
    int32_t winBluetooth = 0;
    int32_t reviewer = 0;
    int32_t notch = 0;                // non-zero 60 Hz, 0 50 Hz
    int32_t bandwidth = 0;
    int32_t rMarker = 0;
    int32_t qrsTone = 0;
    int32_t grid = 0;
    int32_t showSpO2 = 0;
    int32_t showO2 = 0;
    int32_t showResp = 0;
    int32_t showResp2 = 0;            // loaded from "Show Resp" too, never saved
    int32_t showDesflurane = 0;
    int32_t showEnflurane = 0;
    int32_t showHalothane = 0;
    int32_t showN2O = 0;
    int32_t spareFlag = 0;            // neither loaded nor saved
    int32_t alarms = 0;
    int32_t alarmTones = 0;
    int32_t twoPageReport = 0;
    int32_t hrFromSpO2 = 0;
    int32_t respirationTone = 0;
    int32_t bpNotifyTone = 0;
    int32_t heartRatesAbove400 = 0;
    int32_t singleInstance = 0;
    int32_t autoSave = 0;
    int32_t co2Save = 0;
    int32_t saveAllBpMeasurements = 0;
    int32_t autoAVImark = 0;
    int32_t autoTrend = 0;
    int32_t eventCapture = 0;
    int32_t o2Environment = 0;
    std::string clinic;
    std::string address1;
    std::string address2;
    std::string city;
    std::string state;
    std::string zip;
    std::string phone;
    std::string email;
    std::string recordPath;
    // Species-major, then parameter in ParameterIndex order.
    AlarmLimit alarmLimits[kSpeciesCount][kAlarmParameterCount];
    // "Defaults\Units", by UnitIndex.
    int32_t units[kUnitCount] = {};
    int32_t cuffSize[kSpeciesCount] = {};
    int32_t bpInterval = 0;           // "Interval"
    int32_t initialPressure = 0;      // mmHg
    int32_t primaryAgent = 0;         // 1 halothane ... 5 desflurane
    int32_t secondaryAgent = 0;
    int32_t gasProbeUses = 0;
    int32_t co2Scale = 0;
    std::string hospital;
    int32_t checkForUpdates = 0;
    int32_t soundProfile = 0;         // selects the three view colours
    std::string recent[kRecentCount];
    int32_t recentPointer = 0;
    COLORREF backgroundColor = 0;
    COLORREF separatorColor = 0;
    COLORREF gridColor = 0;
    int32_t maxEcgWaveforms = 0;
    int32_t gain[kSpeciesCount] = {};  // "Defaults\Alarms\<species>": "Gain"
    int32_t alarmSnooze = 0;
    int32_t defaultWtUnit = 0;

    // Sets the three view colours from a "Sound Profile" value.
    void SetColorsFromProfile(int32_t profile);
};

template <class A, class B, class F>
void RemoteConfiguration::Zip(A& a, B& b, F&& f)
{
    f(a.portNum, b.portNum);
    f(a.ecgSweep, b.ecgSweep);
    f(a.co2Sweep, b.co2Sweep);
    f(a.species, b.species);
    f(a.recordMode, b.recordMode);
    f(a.winBluetooth, b.winBluetooth);
    f(a.reviewer, b.reviewer);
    f(a.notch, b.notch);
    f(a.bandwidth, b.bandwidth);
    f(a.rMarker, b.rMarker);
    f(a.qrsTone, b.qrsTone);
    f(a.grid, b.grid);
    f(a.showSpO2, b.showSpO2);
    f(a.showO2, b.showO2);
    f(a.showResp, b.showResp);
    f(a.showResp2, b.showResp2);
    f(a.showDesflurane, b.showDesflurane);
    f(a.showEnflurane, b.showEnflurane);
    f(a.showHalothane, b.showHalothane);
    f(a.showN2O, b.showN2O);
    f(a.spareFlag, b.spareFlag);
    f(a.alarms, b.alarms);
    f(a.alarmTones, b.alarmTones);
    f(a.twoPageReport, b.twoPageReport);
    f(a.hrFromSpO2, b.hrFromSpO2);
    f(a.respirationTone, b.respirationTone);
    f(a.bpNotifyTone, b.bpNotifyTone);
    f(a.heartRatesAbove400, b.heartRatesAbove400);
    f(a.singleInstance, b.singleInstance);
    f(a.autoSave, b.autoSave);
    f(a.co2Save, b.co2Save);
    f(a.saveAllBpMeasurements, b.saveAllBpMeasurements);
    f(a.autoAVImark, b.autoAVImark);
    f(a.autoTrend, b.autoTrend);
    f(a.eventCapture, b.eventCapture);
    f(a.o2Environment, b.o2Environment);
    f(a.clinic, b.clinic);
    f(a.address1, b.address1);
    f(a.address2, b.address2);
    f(a.city, b.city);
    f(a.state, b.state);
    f(a.zip, b.zip);
    f(a.phone, b.phone);
    f(a.email, b.email);
    f(a.recordPath, b.recordPath);
    for (int s = 0; s < kSpeciesCount; ++s)
        for (int p = 0; p < kAlarmParameterCount; ++p)
            AlarmLimit::Zip(a.alarmLimits[s][p], b.alarmLimits[s][p], f);
    for (int i = 0; i < kUnitCount; ++i)
        f(a.units[i], b.units[i]);
    for (int s = 0; s < kSpeciesCount; ++s)
        f(a.cuffSize[s], b.cuffSize[s]);
    f(a.bpInterval, b.bpInterval);
    f(a.initialPressure, b.initialPressure);
    f(a.primaryAgent, b.primaryAgent);
    f(a.secondaryAgent, b.secondaryAgent);
    f(a.gasProbeUses, b.gasProbeUses);
    f(a.co2Scale, b.co2Scale);
    f(a.hospital, b.hospital);
    f(a.checkForUpdates, b.checkForUpdates);
    f(a.soundProfile, b.soundProfile);
    for (int i = 0; i < kRecentCount; ++i)
        f(a.recent[i], b.recent[i]);
    f(a.recentPointer, b.recentPointer);
    f(a.backgroundColor, b.backgroundColor);
    f(a.separatorColor, b.separatorColor);
    f(a.gridColor, b.gridColor);
    f(a.maxEcgWaveforms, b.maxEcgWaveforms);
    for (int s = 0; s < kSpeciesCount; ++s)
        f(a.gain[s], b.gain[s]);
    f(a.alarmSnooze, b.alarmSnooze);
    f(a.defaultWtUnit, b.defaultWtUnit);
}
