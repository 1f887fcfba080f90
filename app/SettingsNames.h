#pragma once
// Where the settings live: the key, its sections and the names of the
// values. quorin and NorqRemoteSwitcher both read from here.

inline constexpr char kCompanyKey[] = "Norq Technology";
inline constexpr char kProgramName[] = "quorin";
inline constexpr char kProgramKey[] = "Software\\Norq Technology\\quorin";

// Sections, relative to the program's key.
inline constexpr char kSectionValues[] = "Defaults\\Values";
inline constexpr char kSectionUnits[] = "Defaults\\Units";
inline constexpr char kSectionBpSettings[] = "Defaults\\BP\\Settings";
inline constexpr char kSectionBpPrefix[] = "Defaults\\BP\\";          // + species
inline constexpr char kSectionAlarmsPrefix[] = "Defaults\\Alarms\\";  // + species ("Gain")
inline constexpr char kSectionSettings[] = "Settings";
inline constexpr char kSectionRemotes[] = "Defaults\\Remotes";
inline constexpr char kSectionPortMap[] = "PortMap";

inline constexpr const char* kSpeciesNames[4] = {"Canine", "Feline", "Equine", "Other"};
// Alarm-limit sections: kSectionAlarmsPrefix + species + "\" + parameter.
inline constexpr const char* kAlarmSpeciesPrefixes[4] = {
    "Defaults\\Alarms\\Canine\\", "Defaults\\Alarms\\Feline\\", "Defaults\\Alarms\\Equine\\",
    "Defaults\\Alarms\\Other\\"};
inline constexpr const char* kAlarmParameterNames[24] = {
    "HR", "Temperature", "RR", "SpO2", "Apnea", "Systolic", "Diastolic", "MAP",
    "CO2 Inspired", "O2 Inspired", "N2O Inspired", "CO2 Expired", "O2 Expired", "N2O Expired",
    "Halothane Inspired", "Enflurane Inspired", "Isoflurane Inspired", "Sevoflurane Inspired",
    "Desflurane Inspired", "Halothane Expired", "Enflurane Expired", "Isoflurane Expired",
    "Sevoflurane Expired", "Desflurane Expired"};
inline constexpr char kValueHigh[] = "High";
inline constexpr char kValueLow[] = "Low";
inline constexpr char kValueHighEnable[] = "High Enable";
inline constexpr char kValueLowEnable[] = "Low Enable";

// "Defaults\Units"
inline constexpr const char* kUnitValueNames[9] = {
    "Temp", "Halothane", "Enflurane", "Isoflurane", "Sevoflurane", "Desflurane", "CO2", "O2", "N2O"};

// "Defaults\BP\<species>", "Defaults\BP\Settings", "Defaults\Alarms\<species>"
inline constexpr char kValueCuffSize[] = "Cuff Size";
inline constexpr char kValueInterval[] = "Interval";
inline constexpr char kValueInitialPressure[] = "Initial Pressure";
inline constexpr char kValueGain[] = "Gain";

// "Settings"
inline constexpr char kValueLastCheckForUpdates[] = "Last Check For Updates";

// "Defaults\Values"
inline constexpr char kValuePortNum[] = "PortNum";
inline constexpr char kValueEcgSweep[] = "EcgSweep";
inline constexpr char kValueCO2Sweep[] = "CO2Sweep";
inline constexpr char kValueSpecies[] = "Species";
inline constexpr char kValueRecordMode[] = "RecordMode";
inline constexpr char kValueWinBluetooth[] = "WinBluetooth";
inline constexpr char kValueReviewer[] = "Reviewer";
inline constexpr char kValueNotch[] = "Notch";
inline constexpr char kValueBandwidth[] = "Bandwidth";
inline constexpr char kValueRMarker[] = "R-Marker";
inline constexpr char kValueQrsTone[] = "QRS Tone";
inline constexpr char kValueGrid[] = "Grid";
inline constexpr char kValueShowSpO2[] = "Show SpO2";
inline constexpr char kValueShowO2[] = "Show O2";
inline constexpr char kValueShowResp[] = "Show Resp";
inline constexpr char kValueShowDesflurane[] = "Show Desflurane";
inline constexpr char kValueShowEnflurane[] = "Show Enflurane";
inline constexpr char kValueShowHalothane[] = "Show Halothane";
inline constexpr char kValueShowN2O[] = "Show N2O";
inline constexpr char kValueAlarms[] = "Alarms";
inline constexpr char kValueAlarmTones[] = "Alarm Tones";
inline constexpr char kValueTwoPageReport[] = "TwoPageReport";
inline constexpr char kValueHrFromSpO2[] = "HR from SPO2";
inline constexpr char kValueRespirationTone[] = "Respiration Tone";
inline constexpr char kValueBpNotifyTone[] = "BP Notify Tone";
inline constexpr char kValueHeartRatesAbove400[] = "Heart Rates above 400";
inline constexpr char kValueSingleInstance[] = "Single Instance";
inline constexpr char kValueAutoSave[] = "Auto Save";
inline constexpr char kValueCO2Save[] = "CO2 Save";
inline constexpr char kValueSaveAllBp[] = "Save All BP Measurements";
inline constexpr char kValueAutoAVImark[] = "Auto AVImark";
inline constexpr char kValueAutoTrend[] = "AutoTrend";
inline constexpr char kValueEventCapture[] = "EventCapture";
inline constexpr char kValueO2Environment[] = "O2 Environment";
inline constexpr char kValueClinic[] = "Clinic";
inline constexpr char kValueAddress1[] = "Address 1";
inline constexpr char kValueAddress2[] = "Address 2";
inline constexpr char kValueCity[] = "City";
inline constexpr char kValueState[] = "State";
inline constexpr char kValueZip[] = "Zip";
inline constexpr char kValuePhone[] = "Phone";
inline constexpr char kValueEmail[] = "Email";
inline constexpr char kValueRecordPath[] = "RecordPath";
inline constexpr char kValuePrimaryAgent[] = "Primary Agent";
inline constexpr char kValueSecondaryAgent[] = "Secondary Agent";
inline constexpr char kValueGasProbeUses[] = "Gas Probe Uses";
inline constexpr char kValueCO2Scale[] = "CO2Scale";
inline constexpr char kValueHospital[] = "Hospital";
inline constexpr char kValueCheckForUpdates[] = "Check For Updates";
inline constexpr char kValueSoundProfile[] = "Sound Profile";
inline constexpr char kValueRecentPrefix[] = "Recent";  // + 0..24
inline constexpr char kValueRecentPointer[] = "Recent Pointer";
inline constexpr char kValueMaxEcgWaveforms[] = "Max ECG Waveforms";
inline constexpr char kValueAlarmSnooze[] = "AlarmSnooze";
inline constexpr char kValueDefaultWtUnit[] = "DefaultWtUnit";

// "Defaults\Remotes", NorqRemoteSwitcher's list: the count, and per remote
// (numbered from 1) its type, name and COM port.
inline constexpr char kValueRNum[] = "RNum";
inline constexpr char kValueRType[] = "RType";
inline constexpr char kValueRName[] = "RName";
inline constexpr char kValueRPort[] = "RPort";
