#include "view/CommandRules.h"

#include "app/MenuCommands.h"
#include "link/LiveData.h"

using namespace menu;

namespace {

bool Bit(uint16_t bits, int n)
{
    return (bits >> n) & 1u;
}

CommandState Enabled(bool enabled, bool checked = false)
{
    CommandState state;
    state.enabled = enabled;
    state.checked = checked;
    return state;
}

// Shut by its gate, else enabled while live.
CommandState Gated(ModelGate gate, const CommandContext& c, bool checked = false)
{
    const bool open = !GateShut(gate, c.deviceKind, c.featureBits) && c.live;
    return Enabled(open, open && checked);
}

}  // namespace

bool GateShut(ModelGate gate, int32_t kind, uint16_t fb)
{
    if (kind == kDeviceBrindle)
        return true;
    const bool selvo = kind == kDeviceSelvo;
    switch (gate) {
    case ModelGate::Sweep: return selvo && (Bit(fb, 5) || fb == 8);
    case ModelGate::Gain: return selvo && (!Bit(fb, 0) || Bit(fb, 5));
    case ModelGate::Filter: return selvo && !Bit(fb, 0);
    case ModelGate::SweepDialog: return selvo && Bit(fb, 5);
    case ModelGate::Marker: return selvo && (!Bit(fb, 0) || Bit(fb, 5) || fb == 8);
    case ModelGate::Qrs: return selvo && (Bit(fb, 5) || fb == 8);
    case ModelGate::Wave: return kind == kDeviceMoval || (selvo && (Bit(fb, 2) || fb == 8));
    }
    return true;
}

int ReviewProgram(int present, int32_t reviewer)
{
    const bool trellan = (present & 1) != 0;
    const bool vospery = (present & 2) != 0;
    if (trellan && vospery)
        return reviewer != 0 ? 1 : 2;
    return trellan ? 1 : vospery ? 2 : 0;
}

CommandState CommandRule(uint32_t id, const CommandContext& c)
{
    static const RemoteConfiguration kNoSettings;
    const RemoteConfiguration& config = c.config != nullptr ? *c.config : kNoSettings;
    const int32_t kind = c.deviceKind;
    const uint16_t fb = c.featureBits;
    const bool printable = kind != kDeviceBrindle && (c.demoMode || (!c.movalTextMode && c.live));
    switch (id) {
    case kConnect: return Enabled(true, c.connected);
    case kNewPatient: return Enabled(c.live);
    case kPrint:
    case kPrintPreview: return Enabled(printable);
    case kPrintDirect:
    case kPrintPreviewFramework: return Enabled(c.demoMode || (!c.movalTextMode && c.live));
    case kPrintSetup:
    case kExportSettings:
    case kImportSettings:
    case kVetInformation:
    case kPatientInformation:
    case kCheckForUpdates:
    case kAbout:
    case kSupportWebsite:
    case kManual:
    case kGuidelines:
    case kQuickSupport: return Enabled(true);
    case kGrid: return Enabled(c.live, c.live && LoadRelaxed(config.grid) != 0);
    case kRWaveMarker: return Gated(ModelGate::Marker, c, LoadRelaxed(config.rMarker) != 0);
    case kTrend: return Enabled(c.live);
    case kWaveforms: return Gated(ModelGate::Wave, c);
    case kAtmosphericPressure: return Enabled(kind != kDeviceBrindle && c.live && Bit(fb, 5));
    case kDefaultConfiguration: return Enabled(!c.connected);
    case kSweepDialog: return Gated(ModelGate::SweepDialog, c);
    case kGainDialog: return Gated(ModelGate::Gain, c);
    case kFilterDialog: return Gated(ModelGate::Filter, c);
    case kDental: {
        const bool off = c.movalTextMode || !c.live || c.demoMode || c.terminalOpen;
        const bool model = kind == kDeviceTarvikPlus || (kind == kDeviceSelvo && Bit(fb, 0));
        return Enabled(!off && model, c.dentalScalarRejection == 1);
    }
    case kSetAgent:
    case kAlarmTones: return Enabled(false);
    case kHrFromSpO2: {
        const bool open = c.live && Bit(fb, 2) && kind != kDeviceSelvo;
        return Enabled(open, LoadRelaxed(config.hrFromSpO2) != 0);
    }
    case kCurrentConfiguration: return Enabled(c.live);
    case kQrsTone: return Gated(ModelGate::Qrs, c, LoadRelaxed(config.qrsTone) != 0);
    case kAlarms: return ToggleAlarmsCommandState(c.live, config);
    case kSilenceAlarm: return SilenceAlarmCommandState(c.live, config);
    case kZeroCo2: return Enabled(c.live && Bit(fb, 5));
    case kBloodPressure: {
        CommandState state = Enabled(c.demoMode ? Bit(fb, 4) : c.live && Bit(fb, 4), c.bpRunning);
        state.toolbarImage = c.bpRunning ? 22 : 15;
        return state;
    }
    case kReview:
        return Enabled(c.hasEpisodes && ReviewProgram(c.ecgProgramsPresent, LoadRelaxed(config.reviewer)) != 0);
    case kRecord: return Enabled(c.live, c.live && c.recording);
    case kPlayHalt: return Enabled(c.live && !c.demoMode);
    case kMarkEvent: return Enabled(c.live);
    case kDemoConfiguration: return Enabled(c.demoMode && !c.exoticHeartRates);
    case kVerboseLogging: return Enabled(true, c.verboseLogging);
    case kService: return Enabled(!c.movalTextMode && c.live && !c.demoMode && !c.terminalOpen);
    case kSweepCycle: return Gated(ModelGate::Sweep, c);
    case kGainCycle: return Gated(ModelGate::Gain, c);
    case kBandwidth: return Enabled(c.live);
    case kAgents: return Enabled((c.gasModuleKind == 2 || c.gasModuleKind == 3) && c.live);
    default: return Enabled(true);
    }
}
