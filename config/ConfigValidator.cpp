#include "config/ConfigValidator.h"

#include "app/ValueHelpers.h"
#include "link/LiveData.h"

namespace {

constexpr char kLimitMessageTail[] =
    " lower limit is greater than the upper limit or a limit is out of range\nResults not saved";
constexpr char kComPortMessage[] =
    "Check Wireless Remote Com Port Number entry.\nCom Port must be greater than 0 and less than 999\nResults not saved";
constexpr char kInitialPressureMessage[] =
    "Check Initial Cuff Inflation Pressure entry.\nPressure must be between 0 and 300 mmHg\nResults not saved";
constexpr int32_t kMaxPressure = 300;

struct Writer {
    ConfigValidation& out;

    void Refuse(const char* subject)
    {
        out.refusals.push_back({std::string(subject) + kLimitMessageTail, kAlarmLimitErrorCaption});
    }

    void IntPair(AlarmLimit& to, const char* subject, int32_t min, int32_t max, int32_t high, int32_t low,
                 int32_t highEnable, int32_t lowEnable)
    {
        if (high < low || high > max || high < min || low > max || low < min)
            return Refuse(subject);
        StoreRelaxed(to.high, high);
        StoreRelaxed(to.low, low);
        StoreRelaxed(to.highEnable, highEnable);
        StoreRelaxed(to.lowEnable, lowEnable);
    }

    // The bounds are doubles and the values floats: 70.0 F lies below
    // 70.049 and is refused, O2 at exactly 10 is taken.
    void FloatPair(AlarmLimit& to, const char* subject, double min, double max, float high, float low,
                   int32_t highEnable, int32_t lowEnable)
    {
        const double h = high;
        const double l = low;
        if (!(l <= h) || h > max || h < min || l > max || l < min)
            return Refuse(subject);
        StoreRelaxed(to.high, RoundToTenths(high));
        StoreRelaxed(to.low, RoundToTenths(low));
        StoreRelaxed(to.highEnable, highEnable);
        StoreRelaxed(to.lowEnable, lowEnable);
    }

    void Gas(AlarmLimit (&limits)[kAlarmParameterCount], const GasLimitGroup& g, int gas, int s,
             const char* inspired, const char* expired, double min, double max)
    {
        FloatPair(limits[kGasParameters[gas].inspired], inspired, min, max, g.value[0][s], g.value[1][s],
                  g.enable[0][s], g.enable[1][s]);
        FloatPair(limits[kGasParameters[gas].expired], expired, min, max, g.value[2][s], g.value[3][s],
                  g.enable[2][s], g.enable[3][s]);
    }
};

void WriteGeneralOptions(const ConfigWorkingCopy& w, RemoteConfiguration& c)
{
    StoreRelaxed(c.qrsTone, w.qrsTone);
    StoreRelaxed(c.rMarker, w.rMarker);
    StoreRelaxed(c.grid, w.grid);
    StoreRelaxed(c.bandwidth, w.bandwidth);
    StoreRelaxed(c.heartRatesAbove400, w.heartRatesAbove400);
    StoreRelaxed(c.notch, w.notch);
    StoreRelaxed(c.ecgSweep, w.ecgSweep);
    StoreRelaxed(c.co2Sweep, w.co2Sweep);
    StoreRelaxed(c.species, w.species);
    StoreRelaxed(c.twoPageReport, w.twoPageReport);
    StoreRelaxed(c.recordMode, w.recordMode);
    StoreRelaxed(c.alarms, w.alarms);
    StoreRelaxed(c.alarmTones, w.alarmTones);
    StoreRelaxed(c.reviewer, w.reviewer);
    // Both respiration fields come from the one stored "Show Resp".
    StoreRelaxed(c.showResp, w.showResp);
    StoreRelaxed(c.showResp2, w.showResp);
    StoreRelaxed(c.showSpO2, w.showSpO2);
    StoreRelaxed(c.showO2, w.showO2);
    StoreRelaxed(c.autoTrend, w.autoTrend);
    StoreRelaxed(c.eventCapture, w.eventCapture);
    StoreRelaxed(c.primaryAgent, w.primaryAgent);
    StoreRelaxed(c.secondaryAgent, w.secondaryAgent);
    StoreRelaxed(c.singleInstance, w.singleInstance);
    StoreRelaxed(c.autoSave, w.autoSave);
    StoreRelaxed(c.co2Save, w.co2Save);
    StoreRelaxed(c.saveAllBpMeasurements, w.saveAllBpMeasurements);
    StoreRelaxed(c.checkForUpdates, w.checkForUpdates);
    StoreRelaxed(c.soundProfile, w.soundProfile);
    StoreRelaxed(c.maxEcgWaveforms, w.maxEcgWaveforms);
    StoreRelaxed(c.alarmSnooze, w.alarmSnooze);
    StoreRelaxed(c.defaultWtUnit, w.defaultWtUnit);
    StoreRelaxed(c.bpNotifyTone, w.bpNotifyTone);

    StoreRelaxed(c.units[0], w.tempUnit != 0 ? 1 : 0);
    for (int gas = 0; gas < kGasGroupCount; ++gas)
        StoreRelaxed(c.units[kGasParameters[gas].unitIndex], GasGroupAt(w, gas).unit);
    StoreRelaxed(c.o2Environment, w.o2Environment);
    StoreRelaxed(c.co2Scale, w.co2Scale);
    StoreRelaxed(c.respirationTone, w.breathTones);
    StoreRelaxed(c.showN2O, w.n2o.display);
    StoreRelaxed(c.showHalothane, w.halothane.display);
    StoreRelaxed(c.showEnflurane, w.enflurane.display);
    StoreRelaxed(c.showDesflurane, w.desflurane.display);
    StoreRelaxed(c.autoAVImark, w.autoAVImark);
}

}  // namespace

ConfigValidation ConfigValidator::Validate(const ConfigWorkingCopy& w, const RemoteConfiguration& current,
                                           const Inputs& inputs)
{
    ConfigValidation out{current, {}, false, false, false};
    RemoteConfiguration& c = out.config;
    WriteGeneralOptions(w, c);

    // A pressure the cuff cannot take is not sent to it.
    if (w.initialPressure < 0 || w.initialPressure > kMaxPressure) {
        out.refusals.push_back({kInitialPressureMessage, kBpSetupErrorCaption});
    } else {
        out.bpSetupChanged = out.bpSetupChanged || c.initialPressure != w.initialPressure;
        StoreRelaxed(c.initialPressure, w.initialPressure);
    }
    out.bpSetupChanged = out.bpSetupChanged || c.bpInterval != w.bpInterval;
    StoreRelaxed(c.bpInterval, w.bpInterval);
    for (int s = 0; s < kSpeciesCount; ++s) {
        out.bpSetupChanged = out.bpSetupChanged || c.cuffSize[s] != w.cuffSize[s];
        out.gasSetupChanged = out.gasSetupChanged || c.alarmLimits[s][4].high != w.apneaSeconds[s];
    }
    out.gasSetupChanged = out.gasSetupChanged || current.o2Environment != w.o2Environment;

    c.recordPath = w.recordPath;
    c.SetColorsFromProfile(w.soundProfile);
    c.hospital = w.hospital;

    // 999 is refused too: the message says "less than 999".
    if ((w.portNum >= 1 && w.portNum <= 998) || w.winBluetooth != 0) {
        StoreRelaxed(c.portNum, w.portNum);
        StoreRelaxed(c.winBluetooth, w.winBluetooth);
    } else {
        out.refusals.push_back({kComPortMessage, kComPortErrorCaption});
    }

    Writer write{out};
    for (int s = 0; s < kSpeciesCount; ++s) {
        AlarmLimit(&limits)[kAlarmParameterCount] = c.alarmLimits[s];
        write.IntPair(limits[0], "Heart rate", 0, 800, w.hr[kHigh][s], w.hr[kLow][s], w.hrTempEnable[0][s],
                      w.hrTempEnable[1][s]);
        StoreRelaxed(c.gain[s], w.gain[s]);
        write.FloatPair(limits[1], "Temperature", 70.049, 110.049, w.temp[kHigh][s], w.temp[kLow][s],
                        w.hrTempEnable[2][s], w.hrTempEnable[3][s]);
        write.IntPair(limits[3], "SpO2", 70, 100, w.spO2Resp[0][s], w.spO2Resp[1][s], w.spO2RespEnable[0][s],
                      w.spO2RespEnable[1][s]);
        write.IntPair(limits[2], "Respiration rate", 0, 120, w.spO2Resp[2][s], w.spO2Resp[3][s],
                      w.spO2RespEnable[2][s], w.spO2RespEnable[3][s]);
        StoreRelaxed(limits[4].high, w.apneaSeconds[s]);
        StoreRelaxed(limits[4].highEnable, w.apneaEnable[s]);
        const char* const pressures[3] = {"Systolic", "Diastolic", "MAP"};
        for (int i = 0; i < 3; ++i)
            write.IntPair(limits[5 + i], pressures[i], 0, kMaxPressure, w.bp[2 * i][s], w.bp[2 * i + 1][s],
                          w.bpEnable[2 * i][s], w.bpEnable[2 * i + 1][s]);
        StoreRelaxed(c.cuffSize[s], w.cuffSize[s]);
        write.Gas(limits, w.co2, 0, s, "CO2 Inspired", "CO2 Expired", 0, 10.049);
        write.Gas(limits, w.o2, 1, s, "O2 Inspired", "O2 Expired", 10, 100.049);
        write.Gas(limits, w.n2o, 2, s, "N2O Inspired", "N2O Expired", 0, 100.049);
        write.Gas(limits, w.halothane, 3, s, "Halothane Inspired", "Halothane Expired", 0, 5.049);
        write.Gas(limits, w.enflurane, 4, s, "Enflurane Inspired", "Enflurane Expired", 0, 5.049);
        write.Gas(limits, w.isoflurane, 5, s, "Isoflurane Inspired", "Isoflurane Expired", 0, 5.049);
        write.Gas(limits, w.sevoflurane, 6, s, "Sevoflurane Inspired", "Sevoflurane Expired", 0, 8.049);
        write.Gas(limits, w.desflurane, 7, s, "Desflurane Inspired", "Desflurane Expired", 0, 18.049);
    }

    out.resetFeatureBits = !inputs.demo && inputs.deviceKind == kDeviceTarvikPlus;
    return out;
}
