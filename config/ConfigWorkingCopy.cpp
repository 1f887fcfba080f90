#include "config/ConfigWorkingCopy.h"

GasLimitGroup& GasGroupAt(ConfigWorkingCopy& copy, int gas)
{
    GasLimitGroup* const groups[kGasGroupCount] = {
        &copy.co2,       &copy.o2,         &copy.n2o,         &copy.halothane,
        &copy.enflurane, &copy.isoflurane, &copy.sevoflurane, &copy.desflurane,
    };
    return *groups[gas];
}

const GasLimitGroup& GasGroupAt(const ConfigWorkingCopy& copy, int gas)
{
    return GasGroupAt(const_cast<ConfigWorkingCopy&>(copy), gas);
}

ConfigWorkingCopy FillWorkingCopy(const RemoteConfiguration& c, bool bluetoothUsable)
{
    ConfigWorkingCopy w;
    for (int s = 0; s < kSpeciesCount; ++s) {
        const AlarmLimit(&limits)[kAlarmParameterCount] = c.alarmLimits[s];
        auto pair = [&](int parameter, int32_t& high, int32_t& low, int32_t& highEnable, int32_t& lowEnable) {
            high = limits[parameter].high;
            low = limits[parameter].low;
            highEnable = limits[parameter].highEnable;
            lowEnable = limits[parameter].lowEnable;
        };
        w.apneaSeconds[s] = limits[4].high;
        w.apneaEnable[s] = limits[4].highEnable;
        for (int i = 0; i < 3; ++i)
            pair(5 + i, w.bp[2 * i][s], w.bp[2 * i + 1][s], w.bpEnable[2 * i][s], w.bpEnable[2 * i + 1][s]);
        w.cuffSize[s] = c.cuffSize[s];

        pair(0, w.hr[kHigh][s], w.hr[kLow][s], w.hrTempEnable[0][s], w.hrTempEnable[1][s]);
        w.temp[kHigh][s] = static_cast<float>(limits[1].high / 10.0);
        w.temp[kLow][s] = static_cast<float>(limits[1].low / 10.0);
        w.hrTempEnable[2][s] = limits[1].highEnable;
        w.hrTempEnable[3][s] = limits[1].lowEnable;
        w.gain[s] = c.gain[s];

        pair(3, w.spO2Resp[0][s], w.spO2Resp[1][s], w.spO2RespEnable[0][s], w.spO2RespEnable[1][s]);
        pair(2, w.spO2Resp[2][s], w.spO2Resp[3][s], w.spO2RespEnable[2][s], w.spO2RespEnable[3][s]);

        for (int gas = 0; gas < kGasGroupCount; ++gas) {
            GasLimitGroup& g = GasGroupAt(w, gas);
            const AlarmLimit& in = limits[kGasParameters[gas].inspired];
            const AlarmLimit& ex = limits[kGasParameters[gas].expired];
            const AlarmLimit* columns[4] = {&in, &in, &ex, &ex};
            for (int col = 0; col < 4; ++col) {
                const bool high = col % 2 == 0;
                g.value[col][s] = static_cast<float>((high ? columns[col]->high : columns[col]->low) / 10.0);
                g.enable[col][s] = high ? columns[col]->highEnable : columns[col]->lowEnable;
            }
        }
    }
    w.bpInterval = c.bpInterval;
    w.initialPressure = c.initialPressure;
    w.bpNotifyTone = c.bpNotifyTone;
    w.recordPath = c.recordPath;

    w.qrsTone = c.qrsTone;
    w.rMarker = c.rMarker;
    w.grid = c.grid;
    w.portNum = c.portNum;
    w.bandwidth = c.bandwidth;
    w.heartRatesAbove400 = c.heartRatesAbove400;
    w.notch = c.notch;
    w.ecgSweep = c.ecgSweep;
    w.co2Sweep = c.co2Sweep;
    w.species = c.species;
    w.twoPageReport = c.twoPageReport;
    w.recordMode = c.recordMode;
    w.alarms = c.alarms;
    w.alarmTones = c.alarmTones;
    w.winBluetooth = c.winBluetooth;
    w.bluetoothUsable = bluetoothUsable ? 1 : 0;
    w.reviewer = c.reviewer;
    w.showResp = c.showResp;
    w.showSpO2 = c.showSpO2;
    w.showO2 = c.showO2;
    w.autoTrend = c.autoTrend;
    w.eventCapture = c.eventCapture;
    w.primaryAgent = c.primaryAgent;
    w.secondaryAgent = c.secondaryAgent;
    w.showHalothaneCopy = c.showHalothane;
    w.showEnfluraneCopy = c.showEnflurane;
    w.showDesfluraneCopy = c.showDesflurane;
    w.singleInstance = c.singleInstance;
    w.autoSave = c.autoSave;
    w.co2Save = c.co2Save;
    w.saveAllBpMeasurements = c.saveAllBpMeasurements;
    w.hospital = c.hospital;
    w.checkForUpdates = c.checkForUpdates;
    w.soundProfile = c.soundProfile;
    w.maxEcgWaveforms = c.maxEcgWaveforms;
    w.alarmSnooze = c.alarmSnooze;
    w.defaultWtUnit = c.defaultWtUnit;

    w.tempUnit = c.units[0] != 0 ? 1 : 0;
    for (int gas = 0; gas < kGasGroupCount; ++gas)
        GasGroupAt(w, gas).unit = c.units[kGasParameters[gas].unitIndex];
    w.o2Environment = c.o2Environment;
    w.co2Scale = c.co2Scale;
    w.breathTones = c.respirationTone;
    w.n2o.display = c.showN2O;
    w.halothane.display = c.showHalothane;
    w.enflurane.display = c.showEnflurane;
    w.desflurane.display = c.showDesflurane;
    w.autoAVImark = c.autoAVImark;
    return w;
}
