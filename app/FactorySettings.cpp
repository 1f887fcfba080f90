#include "app/QuorinAppCore.h"

namespace {

struct Limit {
    int32_t high, low, highEnable, lowEnable;
};

// Rows in ParameterIndex order; a row the same for every species has one
// entry repeated.
constexpr Limit kFactoryLimits[kAlarmParameterCount][kSpeciesCount] = {
    /* HR */ {{140, 80, 1, 1}, {200, 100, 1, 1}, {160, 40, 1, 1}, {240, 40, 1, 1}},
    /* Temperature */ {{1030, 950, 1, 1}, {1030, 950, 1, 1}, {1030, 950, 1, 1}, {1030, 950, 1, 1}},
    /* RR */ {{40, 10, 1, 1}, {40, 10, 1, 1}, {40, 10, 1, 1}, {40, 10, 1, 1}},
    /* SpO2 */ {{100, 92, 0, 1}, {100, 92, 0, 1}, {100, 92, 0, 1}, {100, 92, 0, 1}},
    /* Apnea */ {{20, 0, 1, 0}, {20, 0, 1, 0}, {20, 0, 1, 0}, {20, 0, 1, 0}},
    /* Systolic */ {{190, 110, 1, 1}, {170, 120, 1, 1}, {160, 110, 1, 1}, {160, 80, 1, 1}},
    /* Diastolic */ {{110, 55, 1, 1}, {120, 70, 1, 1}, {100, 50, 1, 1}, {100, 50, 1, 1}},
    /* MAP */ {{120, 90, 1, 1}, {120, 90, 1, 1}, {120, 60, 1, 1}, {120, 60, 1, 1}},
    /* CO2 Inspired */ {{10, 3, 1, 0}, {10, 3, 1, 0}, {10, 3, 1, 0}, {10, 3, 1, 0}},
    /* O2 Inspired */ {{999, 210, 1, 1}, {999, 210, 1, 1}, {999, 210, 1, 1}, {999, 210, 1, 1}},
    /* N2O Inspired */ {{999, 10, 1, 1}, {999, 10, 1, 1}, {999, 10, 1, 1}, {999, 10, 1, 1}},
    /* CO2 Expired */ {{53, 39, 1, 1}, {53, 39, 1, 1}, {53, 39, 1, 1}, {53, 39, 1, 1}},
    /* O2 Expired */ {{999, 180, 1, 1}, {999, 180, 1, 1}, {999, 180, 1, 1}, {999, 180, 1, 1}},
    /* N2O Expired */ {{999, 10, 1, 1}, {999, 10, 1, 1}, {999, 10, 1, 1}, {999, 10, 1, 1}},
    /* Halothane Inspired */ {{50, 10, 1, 1}, {50, 10, 1, 1}, {50, 10, 1, 1}, {50, 10, 1, 1}},
    /* Enflurane Inspired */ {{50, 10, 1, 1}, {50, 10, 1, 1}, {50, 10, 1, 1}, {50, 10, 1, 1}},
    /* Isoflurane Inspired */ {{50, 10, 1, 1}, {50, 10, 1, 1}, {50, 10, 1, 1}, {50, 10, 1, 1}},
    /* Sevoflurane Inspired */ {{80, 10, 1, 1}, {80, 10, 1, 1}, {80, 10, 1, 1}, {80, 10, 1, 1}},
    /* Desflurane Inspired */ {{180, 10, 1, 1}, {180, 10, 1, 1}, {180, 10, 1, 1}, {180, 10, 1, 1}},
    /* Halothane Expired */ {{50, 10, 1, 1}, {50, 10, 1, 1}, {50, 10, 1, 1}, {50, 10, 1, 1}},
    /* Enflurane Expired */ {{50, 10, 1, 1}, {50, 10, 1, 1}, {50, 10, 1, 1}, {50, 10, 1, 1}},
    /* Isoflurane Expired */ {{50, 10, 1, 1}, {50, 10, 1, 1}, {50, 10, 1, 1}, {50, 10, 1, 1}},
    /* Sevoflurane Expired */ {{80, 10, 1, 1}, {80, 10, 1, 1}, {80, 10, 1, 1}, {80, 10, 1, 1}},
    /* Desflurane Expired */ {{180, 10, 1, 1}, {180, 10, 1, 1}, {180, 10, 1, 1}, {180, 10, 1, 1}},
};

constexpr int32_t kFactoryUnits[kUnitCount] = {1, 1, 1, 1, 1, 1, 0, 1, 1};

} // namespace

void CQuorinAppCore::SetDefaultSettings()
{
    RemoteConfiguration& f = m_factoryConfig;
    auto set = [](int32_t& field, int32_t value) { StoreRelaxed(field, value); };

    set(f.portNum, 0);
    set(f.ecgSweep, 1);
    set(f.co2Sweep, 2);
    set(f.species, 0);
    set(f.recordMode, 1);
    set(f.winBluetooth, 1);
    set(f.reviewer, 1);
    set(f.notch, 1);
    set(f.bandwidth, 1);
    set(f.rMarker, 1);
    set(f.qrsTone, 1);
    set(f.grid, 1);
    set(f.showSpO2, 1);
    set(f.showO2, 0);
    set(f.showResp, 1);
    set(f.showResp2, 1);
    set(f.showDesflurane, 0);
    set(f.showEnflurane, 0);
    set(f.showHalothane, 0);
    set(f.showN2O, 0);
    set(f.spareFlag, 0);
    set(f.alarms, 1);
    set(f.alarmTones, 1);
    set(f.twoPageReport, 0);
    set(f.hrFromSpO2, 0);
    set(f.respirationTone, 1);
    set(f.bpNotifyTone, 1);
    set(f.heartRatesAbove400, 0);
    set(f.singleInstance, 0);
    set(f.autoSave, 1);
    set(f.co2Save, 1);
    set(f.saveAllBpMeasurements, 1);
    set(f.autoAVImark, 0);
    set(f.autoTrend, 0);
    set(f.eventCapture, 300);
    set(f.o2Environment, 2);
    f.clinic.clear();
    f.address1.clear();
    f.address2.clear();
    f.city.clear();
    f.state.clear();
    f.zip.clear();
    f.phone.clear();
    f.email.clear();
    f.recordPath = m_episodeFolder;
    for (int s = 0; s < kSpeciesCount; ++s) {
        for (int p = 0; p < kAlarmParameterCount; ++p) {
            const Limit& from = kFactoryLimits[p][s];
            AlarmLimit& to = f.alarmLimits[s][p];
            set(to.high, from.high);
            set(to.low, from.low);
            set(to.highEnable, from.highEnable);
            set(to.lowEnable, from.lowEnable);
        }
    }
    for (int i = 0; i < kUnitCount; ++i)
        set(f.units[i], kFactoryUnits[i]);
    for (int s = 0; s < kSpeciesCount; ++s)
        set(f.cuffSize[s], 2);
    set(f.bpInterval, 3);
    set(f.initialPressure, 160);
    set(f.primaryAgent, 3);
    set(f.secondaryAgent, 4);
    set(f.gasProbeUses, 20);
    set(f.co2Scale, 1);
    f.hospital.clear();
    set(f.checkForUpdates, 1);
    set(f.soundProfile, 0);
    for (auto& entry : f.recent)
        entry.clear();
    set(f.recentPointer, 0);
    f.SetColorsFromProfile(0);
    set(f.maxEcgWaveforms, 4);
    for (int s = 0; s < kSpeciesCount; ++s)
        set(f.gain[s], 1);
    set(f.alarmSnooze, 0);
    set(f.defaultWtUnit, 1);
}
