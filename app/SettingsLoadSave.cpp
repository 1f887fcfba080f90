#include <cerrno>
#include <filesystem>
#include <strings.h>
#include <sys/stat.h>

#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "app/SettingsNames.h"
#include "link/LiveData.h"
#include "platform/Privilege.h"
#include "platform/SettingsFile.h"

namespace {

std::string RecentName(int index)
{
    return kValueRecentPrefix + std::to_string(index);
}

std::string SpeciesSection(const char* prefix, int species)
{
    return std::string(prefix) + kSpeciesNames[species];
}

// Out of `first`..`last`, compared unsigned like every bound here.
bool Outside(int32_t value, uint32_t first, uint32_t last)
{
    const auto u = static_cast<uint32_t>(value);
    return u < first || u > last;
}

// The set-up values the remote is sent as they stand, limited as the
// configuration dialog limits what is typed.
constexpr int32_t kMaxInitialPressure = 300;  // mmHg
constexpr int32_t kMinApneaSeconds = 20;
constexpr int32_t kMaxApneaSeconds = 60;

// A stored value outside `first`..`last` becomes `factory`. The start-up
// save then overwrites what was stored, so the log keeps it.
void ReplaceOutside(int32_t& value, int32_t first, int32_t last, int32_t factory, const std::string& where)
{
    const int32_t stored = LoadRelaxed(value);
    if (stored >= first && stored <= last)
        return;
    LogEvent("CQuorinApp::LoadSettings", "\"%s\" held %d, outside %d to %d; %d is used instead.", where.c_str(),
             static_cast<int>(stored), static_cast<int>(first), static_cast<int>(last), static_cast<int>(factory));
    StoreRelaxed(value, factory);
}

SettingsScope ScopeOfRoot(const std::string& rootName)
{
    return ::strcasecmp(rootName.c_str(), "HKCU") == 0 ? SettingsScope::User : SettingsScope::System;
}

} // namespace

bool MakeRecordFolder(const std::string& path)
{
    if (::mkdir(path.c_str(), 0777) == 0)
        return true;
    if (errno != EEXIST)
        return false;
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

void CQuorinAppCore::SetRegistryKey(ISettingsKeys& keys, const std::string& company)
{
    m_settingsKeys = &keys;
    m_store = keys.OpenKey(SettingsScope::User, "Software\\" + company + "\\" + kProgramName, true);
}

uint32_t CQuorinAppCore::ReadInt(const char* section, const std::string& name, int32_t defaultValue) const
{
    if (!m_store)
        return static_cast<uint32_t>(defaultValue);
    return m_store->GetProfileInt(section, name, defaultValue);
}

std::string CQuorinAppCore::ReadString(const char* section, const std::string& name,
                                       const std::string& defaultValue) const
{
    if (!m_store)
        return defaultValue;
    return m_store->GetProfileString(section, name, defaultValue);
}

bool CQuorinAppCore::WriteInt(const char* section, const std::string& name, int32_t value)
{
    return m_store && m_store->WriteProfileInt(section, name, value);
}

bool CQuorinAppCore::WriteString(const char* section, const std::string& name, const std::string& value)
{
    return m_store && m_store->WriteProfileString(section, name, value);
}

void CQuorinAppCore::LoadSettings()
{
    RemoteConfiguration& s = m_storedConfig;
    const RemoteConfiguration& f = m_factoryConfig;
    auto load = [this](const char* section, const std::string& name, int32_t& to, const int32_t& factory) {
        StoreRelaxed(to, static_cast<int32_t>(ReadInt(section, name, LoadRelaxed(factory))));
    };
    auto value = [&](const char* name, int32_t& to, const int32_t& factory) { load(kSectionValues, name, to, factory); };
    auto text = [this](const char* section, const char* name, std::string& to, const std::string& factory) {
        to = ReadString(section, name, factory);
    };

    text(kSectionValues, kValueHospital, s.hospital, f.hospital);

    value(kValueCO2Save, s.co2Save, f.co2Save);
    value(kValueAutoSave, s.autoSave, f.autoSave);
    value(kValueSaveAllBp, s.saveAllBpMeasurements, f.saveAllBpMeasurements);
    value(kValueSingleInstance, s.singleInstance, f.singleInstance);
    value(kValueCheckForUpdates, s.checkForUpdates, f.checkForUpdates);
    value(kValueSoundProfile, s.soundProfile, f.soundProfile);
    s.SetColorsFromProfile(s.soundProfile);
    value(kValueHrFromSpO2, s.hrFromSpO2, f.hrFromSpO2);
    value(kValueBpNotifyTone, s.bpNotifyTone, f.bpNotifyTone);
    value(kValueRespirationTone, s.respirationTone, f.respirationTone);
    value(kValuePortNum, s.portNum, f.portNum);
    value(kValueEcgSweep, s.ecgSweep, f.ecgSweep);
    // Later a divisor as well: zero goes to the factory value too.
    if (static_cast<uint32_t>(s.ecgSweep) > 8)
        StoreRelaxed(s.ecgSweep, 1);
    else if (s.ecgSweep == 0)
        StoreRelaxed(s.ecgSweep, f.ecgSweep);
    value(kValueCO2Sweep, s.co2Sweep, f.co2Sweep);
    if (static_cast<uint32_t>(s.co2Sweep) > 4)
        StoreRelaxed(s.co2Sweep, 2);
    else if (s.co2Sweep == 0)
        StoreRelaxed(s.co2Sweep, f.co2Sweep);
    value(kValueCO2Scale, s.co2Scale, f.co2Scale);
    value(kValueSpecies, s.species, f.species);
    if (static_cast<uint32_t>(s.species) > 3)
        StoreRelaxed(s.species, 0);
    value(kValueHeartRatesAbove400, s.heartRatesAbove400, f.heartRatesAbove400);
    value(kValueNotch, s.notch, f.notch);
    value(kValueBandwidth, s.bandwidth, f.bandwidth);
    value(kValueRMarker, s.rMarker, f.rMarker);
    value(kValueQrsTone, s.qrsTone, f.qrsTone);
    value(kValueGrid, s.grid, f.grid);
    value(kValueShowSpO2, s.showSpO2, f.showSpO2);
    value(kValueShowResp, s.showResp, f.showResp);
    value(kValueShowResp, s.showResp2, f.showResp2);
    value(kValueAlarms, s.alarms, f.alarms);
    value(kValueAlarmTones, s.alarmTones, f.alarmTones);
    value(kValueReviewer, s.reviewer, f.reviewer);
    value(kValueShowO2, s.showO2, f.showO2);
    value(kValueAutoTrend, s.autoTrend, f.autoTrend);
    value(kValueEventCapture, s.eventCapture, f.eventCapture);
    value(kValueAlarmSnooze, s.alarmSnooze, f.alarmSnooze);
    value(kValueDefaultWtUnit, s.defaultWtUnit, f.defaultWtUnit);
    value(kValueShowDesflurane, s.showDesflurane, f.showDesflurane);
    value(kValueShowEnflurane, s.showEnflurane, f.showEnflurane);
    value(kValueShowHalothane, s.showHalothane, f.showHalothane);
    value(kValueShowN2O, s.showN2O, f.showN2O);
    value(kValueAutoAVImark, s.autoAVImark, f.autoAVImark);
    value(kValueO2Environment, s.o2Environment, f.o2Environment);
    // Agent codes index tables later on.
    value(kValuePrimaryAgent, s.primaryAgent, f.primaryAgent);
    if (Outside(s.primaryAgent, 1, 5))
        StoreRelaxed(s.primaryAgent, f.primaryAgent);
    value(kValueSecondaryAgent, s.secondaryAgent, f.secondaryAgent);
    if (Outside(s.secondaryAgent, 1, 5))
        StoreRelaxed(s.secondaryAgent, f.secondaryAgent);
    value(kValueWinBluetooth, s.winBluetooth, f.winBluetooth);
    StoreRelaxed(s.winBluetooth, s.winBluetooth != 0 ? 1 : 0);
    value(kValueTwoPageReport, s.twoPageReport, f.twoPageReport);
    StoreRelaxed(s.twoPageReport, s.twoPageReport != 0 ? 1 : 0);

    text(kSectionValues, kValueClinic, s.clinic, f.clinic);
    text(kSectionValues, kValueAddress1, s.address1, f.address1);
    text(kSectionValues, kValueAddress2, s.address2, f.address2);
    text(kSectionValues, kValueCity, s.city, f.city);
    text(kSectionValues, kValueState, s.state, f.state);
    text(kSectionValues, kValueZip, s.zip, f.zip);
    text(kSectionValues, kValuePhone, s.phone, f.phone);
    text(kSectionValues, kValueEmail, s.email, f.email);
    text(kSectionValues, kValueRecordPath, s.recordPath, f.recordPath);
    ChooseRecordFolder();
    value(kValueRecordMode, s.recordMode, f.recordMode);
    if (static_cast<uint32_t>(s.recordMode) > 1)
        StoreRelaxed(s.recordMode, f.recordMode);

    for (int i = 0; i < kUnitCount; ++i)
        load(kSectionUnits, kUnitValueNames[i], s.units[i], f.units[i]);
    // The cuff size picks the cuff command sent to the remote.
    for (int i = 0; i < kSpeciesCount; ++i) {
        const std::string section = SpeciesSection(kSectionBpPrefix, i);
        load(section.c_str(), kValueCuffSize, s.cuffSize[i], f.cuffSize[i]);
        if (Outside(s.cuffSize[i], 0, 6))
            StoreRelaxed(s.cuffSize[i], f.cuffSize[i]);
    }
    // The interval indexes the table of measurement intervals.
    load(kSectionBpSettings, kValueInterval, s.bpInterval, f.bpInterval);
    if (Outside(s.bpInterval, 0, 7))
        StoreRelaxed(s.bpInterval, f.bpInterval);
    load(kSectionBpSettings, kValueInitialPressure, s.initialPressure, f.initialPressure);
    // The cuff is inflated to it.
    ReplaceOutside(s.initialPressure, 0, kMaxInitialPressure, LoadRelaxed(f.initialPressure),
                   std::string(kSectionBpSettings) + "\\" + kValueInitialPressure);
    value(kValueGasProbeUses, s.gasProbeUses, f.gasProbeUses);

    for (int sp = 0; sp < kSpeciesCount; ++sp) {
        for (int p = 0; p < kAlarmParameterCount; ++p) {
            const std::string section = std::string(kAlarmSpeciesPrefixes[sp]) + kAlarmParameterNames[p];
            AlarmLimit& to = s.alarmLimits[sp][p];
            const AlarmLimit& factory = f.alarmLimits[sp][p];
            load(section.c_str(), kValueHigh, to.high, factory.high);
            load(section.c_str(), kValueLow, to.low, factory.low);
            load(section.c_str(), kValueHighEnable, to.highEnable, factory.highEnable);
            load(section.c_str(), kValueLowEnable, to.lowEnable, factory.lowEnable);
            // The apnea time goes to the gas module.
            if (p == kParamApnea)
                ReplaceOutside(to.high, kMinApneaSeconds, kMaxApneaSeconds, LoadRelaxed(factory.high),
                               section + "\\" + kValueHigh);
        }
    }

    for (int i = 0; i < kRecentCount; ++i)
        s.recent[i] = ReadString(kSectionValues, RecentName(i), f.recent[i]);
    // The pointer indexes the 25 recent entries.
    value(kValueRecentPointer, s.recentPointer, f.recentPointer);
    if (Outside(s.recentPointer, 0, kRecentCount - 1))
        StoreRelaxed(s.recentPointer, f.recentPointer);
    value(kValueMaxEcgWaveforms, s.maxEcgWaveforms, f.maxEcgWaveforms);
    // The gain indexes the table of ECG gains.
    for (int i = 0; i < kSpeciesCount; ++i) {
        const std::string section = SpeciesSection(kSectionAlarmsPrefix, i);
        load(section.c_str(), kValueGain, s.gain[i], f.gain[i]);
        if (Outside(s.gain[i], 0, 4))
            StoreRelaxed(s.gain[i], f.gain[i]);
    }

    m_config = m_storedConfig;
    m_confirmedConfig = m_config;
}

void CQuorinAppCore::ChooseRecordFolder()
{
    const std::string& path = m_storedConfig.recordPath;
    if (path.empty())
        m_recordFolder = m_episodeFolder;
    else if (MakeRecordFolder(path))
        m_recordFolder = path;
    else
        m_recordFolder = m_episodeFolder;
}

bool CQuorinAppCore::SaveSettings()
{
    const RemoteConfiguration& s = m_storedConfig;
    bool ok = true;
    auto value = [&](const char* name, const int32_t& field) { ok = WriteInt(kSectionValues, name, LoadRelaxed(field)) && ok; };

    if (!s.hospital.empty())
        ok = WriteString(kSectionValues, kValueHospital, s.hospital) && ok;
    value(kValueCO2Save, s.co2Save);
    value(kValueAutoSave, s.autoSave);
    value(kValueSaveAllBp, s.saveAllBpMeasurements);
    value(kValueSingleInstance, s.singleInstance);
    value(kValueHrFromSpO2, s.hrFromSpO2);
    value(kValueBpNotifyTone, s.bpNotifyTone);
    value(kValueRespirationTone, s.respirationTone);
    value(kValuePortNum, s.portNum);
    value(kValueEcgSweep, s.ecgSweep);
    value(kValueCO2Sweep, s.co2Sweep);
    value(kValueSpecies, s.species);
    value(kValueCO2Scale, s.co2Scale);
    value(kValueHeartRatesAbove400, s.heartRatesAbove400);
    value(kValueNotch, s.notch);
    value(kValueBandwidth, s.bandwidth);
    value(kValueRMarker, s.rMarker);
    value(kValueQrsTone, s.qrsTone);
    value(kValueGrid, s.grid);
    value(kValueShowSpO2, s.showSpO2);
    value(kValueShowResp, s.showResp);
    value(kValueAlarmTones, s.alarmTones);
    value(kValueAlarms, s.alarms);
    value(kValueReviewer, s.reviewer);
    value(kValueShowO2, s.showO2);
    value(kValueAutoAVImark, s.autoAVImark);
    ok = WriteInt(kSectionValues, kValueWinBluetooth, LoadRelaxed(s.winBluetooth) != 0 ? 1 : 0) && ok;
    ok = WriteInt(kSectionValues, kValueTwoPageReport, LoadRelaxed(s.twoPageReport) != 0 ? 1 : 0) && ok;
    value(kValueRecordMode, s.recordMode);
    value(kValueAutoTrend, s.autoTrend);
    value(kValueEventCapture, s.eventCapture);
    value(kValueAlarmSnooze, s.alarmSnooze);
    value(kValueDefaultWtUnit, s.defaultWtUnit);
    value(kValueShowDesflurane, s.showDesflurane);
    value(kValueShowEnflurane, s.showEnflurane);
    value(kValueShowHalothane, s.showHalothane);
    value(kValueShowN2O, s.showN2O);
    value(kValueO2Environment, s.o2Environment);
    value(kValuePrimaryAgent, s.primaryAgent);
    value(kValueSecondaryAgent, s.secondaryAgent);
    value(kValueCheckForUpdates, s.checkForUpdates);
    value(kValueSoundProfile, s.soundProfile);
    if (!s.recordPath.empty())
        ok = WriteString(kSectionValues, kValueRecordPath, s.recordPath) && ok;
    for (int i = 0; i < kUnitCount; ++i)
        ok = WriteInt(kSectionUnits, kUnitValueNames[i], LoadRelaxed(s.units[i])) && ok;
    for (int i = 0; i < kSpeciesCount; ++i)
        ok = WriteInt(SpeciesSection(kSectionBpPrefix, i).c_str(), kValueCuffSize, LoadRelaxed(s.cuffSize[i])) && ok;
    ok = WriteInt(kSectionBpSettings, kValueInterval, LoadRelaxed(s.bpInterval)) && ok;
    ok = WriteInt(kSectionBpSettings, kValueInitialPressure, LoadRelaxed(s.initialPressure)) && ok;
    for (int sp = 0; sp < kSpeciesCount; ++sp) {
        for (int p = 0; p < kAlarmParameterCount; ++p) {
            const std::string section = std::string(kAlarmSpeciesPrefixes[sp]) + kAlarmParameterNames[p];
            const AlarmLimit& limit = s.alarmLimits[sp][p];
            ok = WriteInt(section.c_str(), kValueHigh, LoadRelaxed(limit.high)) && ok;
            ok = WriteInt(section.c_str(), kValueLow, LoadRelaxed(limit.low)) && ok;
            ok = WriteInt(section.c_str(), kValueHighEnable, LoadRelaxed(limit.highEnable)) && ok;
            ok = WriteInt(section.c_str(), kValueLowEnable, LoadRelaxed(limit.lowEnable)) && ok;
        }
    }
    for (int i = 0; i < kRecentCount; ++i)
        ok = WriteString(kSectionValues, RecentName(i), s.recent[i]) && ok;
    value(kValueRecentPointer, s.recentPointer);
    value(kValueMaxEcgWaveforms, s.maxEcgWaveforms);
    for (int i = 0; i < kSpeciesCount; ++i)
        ok = WriteInt(SpeciesSection(kSectionAlarmsPrefix, i).c_str(), kValueGain, LoadRelaxed(s.gain[i])) && ok;
    return m_store && m_store->Flush() && ok;
}

bool CQuorinAppCore::SaveRecentList()
{
    for (int i = 0; i < kRecentCount; ++i)
        m_storedConfig.recent[i] = m_config.recent[i];
    StoreRelaxed(m_storedConfig.recentPointer, LoadRelaxed(m_config.recentPointer));
    bool ok = true;
    for (int i = 0; i < kRecentCount; ++i)
        ok = WriteString(kSectionValues, RecentName(i), m_storedConfig.recent[i]) && ok;
    ok = WriteInt(kSectionValues, kValueRecentPointer, LoadRelaxed(m_storedConfig.recentPointer)) && ok;
    return m_store && m_store->Flush() && ok;
}

bool CQuorinAppCore::SaveClinicInfo()
{
    const RemoteConfiguration& c = m_config;
    bool ok = WriteString(kSectionValues, kValueClinic, c.clinic);
    ok = WriteString(kSectionValues, kValueAddress1, c.address1) && ok;
    ok = WriteString(kSectionValues, kValueAddress2, c.address2) && ok;
    ok = WriteString(kSectionValues, kValueCity, c.city) && ok;
    ok = WriteString(kSectionValues, kValueState, c.state) && ok;
    ok = WriteString(kSectionValues, kValueZip, c.zip) && ok;
    ok = WriteString(kSectionValues, kValuePhone, c.phone) && ok;
    ok = WriteString(kSectionValues, kValueEmail, c.email) && ok;
    return m_store && m_store->Flush() && ok;
}

// The privileges the settings files ask for need nothing on this platform;
// whether the file or the key could be written is the result reported.
bool CQuorinAppCore::BackupSettings(const std::string& rootName, const std::string& subKey, const std::string& file)
{
    (void)EnablePrivilege(true, "SeBackupPrivilege");
    bool result = false;
    if (m_settingsKeys != nullptr) {
        // SaveSettings reports a store that cannot be written; the export
        // takes what the store holds.
        if (m_store)
            (void)m_store->Flush();
        if (const auto key = m_settingsKeys->OpenKey(ScopeOfRoot(rootName), subKey, false))
            result = ExportSettingsFile(*key, file);
    }
    (void)EnablePrivilege(false, "SeBackupPrivilege");
    return result;
}

bool CQuorinAppCore::RestoreSettings(const std::string& rootName, const std::string& file, const std::string& subKey)
{
    (void)EnablePrivilege(true, "SeRestorePrivilege");
    (void)EnablePrivilege(true, "SeBackupPrivilege");
    bool result = false;
    IProfileStore::Values values;
    // The file is read whole first: a bad file leaves the key untouched.
    if (m_settingsKeys != nullptr && ReadSettingsFile(file, values)) {
        if (const auto key = m_settingsKeys->OpenKey(ScopeOfRoot(rootName), subKey, true))
            result = key->ReplaceAll(values) && key->Flush();
    }
    (void)EnablePrivilege(false, "SeRestorePrivilege");
    (void)EnablePrivilege(false, "SeBackupPrivilege");
    return result;
}
