#pragma once
// What the configuration dialog edits: a plain copy of the settings in
// display units (temperatures in degrees Fahrenheit, gases in volume
// percent, both as floats), filled from the settings in force before the
// dialog opens and validated back into them on OK. The pages never touch
// the settings themselves.
#include <cstdint>
#include <string>

#include "app/RemoteConfiguration.h"

// Columns of a limit page, in the order of the edits of a species row.
inline constexpr int kHigh = 0;
inline constexpr int kLow = 1;

// Four columns of floats, index [column][species], then their enables.
// Columns: (I) High, (I) Low, (E) High, (E) Low.
struct GasLimitGroup {
    float value[4][kSpeciesCount] = {};
    int32_t enable[4][kSpeciesCount] = {};
    int32_t unit = 0;     // 0 mmHg, 1 volume percent
    int32_t display = 0;  // "Show ..." where the page has the box
};

struct ConfigWorkingCopy {
    // Apnea: seconds (the High value) and its enable.
    int32_t apneaSeconds[kSpeciesCount] = {};
    int32_t apneaEnable[kSpeciesCount] = {};

    // Blood pressure: systolic High, Low, diastolic High, Low, mean High,
    // Low, then the six enables in the same order.
    int32_t bp[6][kSpeciesCount] = {};
    int32_t bpEnable[6][kSpeciesCount] = {};
    int32_t cuffSize[kSpeciesCount] = {};
    int32_t bpInterval = 0;
    int32_t initialPressure = 0;
    int32_t bpNotifyTone = 0;

    std::string recordPath;

    // General options.
    int32_t qrsTone = 0;
    int32_t rMarker = 0;
    int32_t grid = 0;
    int32_t portNum = 0;
    int32_t bandwidth = 0;
    int32_t heartRatesAbove400 = 0;
    int32_t notch = 0;
    int32_t ecgSweep = 0;
    int32_t co2Sweep = 0;
    int32_t species = 0;
    int32_t twoPageReport = 0;
    int32_t recordMode = 0;
    int32_t alarms = 0;
    int32_t alarmTones = 0;
    int32_t winBluetooth = 0;
    int32_t bluetoothUsable = 0;   // read only
    int32_t reviewer = 0;
    int32_t showResp = 0;
    int32_t showSpO2 = 0;
    int32_t showO2 = 0;
    int32_t autoTrend = 0;
    int32_t eventCapture = 0;
    int32_t primaryAgent = 0;
    int32_t secondaryAgent = 0;
    int32_t showHalothaneCopy = 0;  // read only, for the General page
    int32_t showEnfluraneCopy = 0;
    int32_t showDesfluraneCopy = 0;
    int32_t singleInstance = 0;
    int32_t autoSave = 0;
    int32_t co2Save = 0;
    int32_t saveAllBpMeasurements = 0;
    std::string hospital;
    int32_t checkForUpdates = 0;
    int32_t soundProfile = 0;
    int32_t maxEcgWaveforms = 0;
    int32_t spO2Present = 0;        // set by the dialog from the live store
    int32_t alarmSnooze = 0;
    int32_t defaultWtUnit = 0;

    // Heart rate High, Low; temperature High, Low (degrees F); ECG gain;
    // the enables: HR High, HR Low, temperature High, temperature Low.
    int32_t hr[2][kSpeciesCount] = {};
    float temp[2][kSpeciesCount] = {};
    int32_t gain[kSpeciesCount] = {};
    int32_t hrTempEnable[4][kSpeciesCount] = {};
    int32_t tempUnit = 0;           // 0 Celsius, 1 Fahrenheit

    // SpO2 High, Low; respiration rate High, Low; their enables.
    int32_t spO2Resp[4][kSpeciesCount] = {};
    int32_t spO2RespEnable[4][kSpeciesCount] = {};

    GasLimitGroup co2;
    int32_t o2Environment = 0;
    int32_t co2Scale = 0;
    int32_t breathTones = 0;        // "Respiration Tone"

    GasLimitGroup o2;
    GasLimitGroup n2o;
    GasLimitGroup halothane;
    GasLimitGroup enflurane;
    GasLimitGroup isoflurane;
    GasLimitGroup desflurane;
    GasLimitGroup sevoflurane;

    int32_t autoAVImark = 0;

    int32_t bpSetupChanged = 0;
    int32_t gasSetupChanged = 0;
};

// The settings in force as the dialog shows them. `bluetoothUsable`: the
// system offers its own Bluetooth support.
ConfigWorkingCopy FillWorkingCopy(const RemoteConfiguration& config, bool bluetoothUsable);

// The gas groups, numbered 0 CO2, 1 O2, 2 N2O, then the agents by code
// (halothane 3 .. desflurane 7), with their parameters and unit selector.
struct GasParameters {
    int inspired;   // ParameterIndex
    int expired;
    int unitIndex;  // into RemoteConfiguration::units
};
inline constexpr int kGasGroupCount = 8;
inline constexpr GasParameters kGasParameters[kGasGroupCount] = {
    {8, 11, 6}, {9, 12, 7}, {10, 13, 8},
    {14, 19, 1}, {15, 20, 2}, {16, 21, 3}, {17, 22, 4}, {18, 23, 5},
};
GasLimitGroup& GasGroupAt(ConfigWorkingCopy& copy, int gas);
const GasLimitGroup& GasGroupAt(const ConfigWorkingCopy& copy, int gas);
