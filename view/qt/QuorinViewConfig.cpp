// The product configuration dialog from the view: the working copy filled
// from the settings in force, and an accepted result put in force, sent to
// the remote and shown.
#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "config/qt/ConfigTabDlg.h"
#include "link/EcgChain.h"
#include "link/LiveData.h"
#include "platform/qt/QtFolderChooser.h"
#include "view/ConfigApply.h"
#include "view/ViewTexts.h"
#include "view/qt/ColorStatic.h"
#include "view/qt/QuorinView.h"

namespace {

constexpr char kConfigTag[] = "CQuorinView::ShowConfigTabDlg";

}  // namespace

bool CQuorinView::ShowConfigTabDlg()
{
    RemoteConfiguration& config = m_app.m_config;
    const int32_t speciesBefore = LoadRelaxed(config.species);
    ConfigTabDlg::Setup setup;
    setup.app = &m_app;
    setup.prompter = &Prompter();
    setup.mode = m_configMode == 1 ? kConfigCurrent : kConfigDefaults;
    // Opens over the dialog, the window in front when it is asked.
    CQtFolderChooser folderChooser;
    setup.folderChooser = &folderChooser;
    bool accepted = false;
    std::optional<ConfigValidation> result;
    {
        ConfigTabDlg dialog(setup, FillWorkingCopy(config, m_app.IsBluetoothUsable()), this);
        accepted = m_services.runConfigDialog ? m_services.runConfigDialog(dialog)
                                              : dialog.exec() == QDialog::Accepted;
        result = dialog.Result();
    }
    if (!accepted || !result)
        return false;

    config = result->config;
    m_app.m_confirmedConfig = config;
    // The load's rule: the chosen folder when it can be made, else the
    // episode folder.
    const std::string path = config.recordPath;
    const bool chosen = !path.empty() && MakeRecordFolder(path);
    if (!path.empty() && !chosen)
        LogEventText(kConfigTag, "The recording folder " + path + " cannot be made; recordings go to " +
                                     m_app.EpisodeFolder() + ".");
    m_app.SetRecordFolder(chosen ? path : m_app.EpisodeFolder());
    m_app.m_redrawLayers = true;

    LiveData& live = g_liveData;
    ConfigApplyInputs in;
    in.demo = m_app.IsDemoMode();
    in.featureBits = live.featureBits;
    in.deviceKind = live.deviceKind;
    in.bpRunning = m_bp.bpRunning != 0;
    in.patientSpecies = m_patient.info.speciesCode;
    in.speciesBefore = speciesBefore;
    in.bpSetupChanged = result->bpSetupChanged;
    in.gasSetupChanged = result->gasSetupChanged;
    const ConfigApplyActions actions = PlanConfigApply(config, in);

    g_ecgBandwidthFlag = actions.ecgBandwidthFlag;
    if (CColorStatic* box = SingleBoxAt(kBoxFilter))
        box->setText(QString::fromStdString(actions.filterText));
    for (const std::string& command : actions.commands)
        m_wire.writeQueue.Push(command);
    if (actions.hrDetectMode)
        g_hrDetectMode = *actions.hrDetectMode;
    if (actions.bpChangeWhileMeasuring) {
        LogEventText(kConfigTag, kConfigChangeText);
        Prompter().MessageBox(kConfigChangeText, kConfigChangeCaption, kMbOk | kMbIconWarning);
    }
    if (actions.gasSetupResend)
        m_gasProbe.gasPollRequested = true;
    RefreshSweepGainCaption();
    m_sounds.soundManager.SetRow(LoadRelaxed(config.soundProfile));
    SetAlarmSilence(LoadRelaxed(config.alarms));
    if (actions.speciesChanged)
        SetDisplayMode(LoadRelaxed(config.species));
    else
        UpdateSweepGainText();
    update();
    // A module that offers one agent measures the one chosen, from this OK
    // on (a cancelled choice never reaches the live store).
    if (live.gasModuleKind == 2)
        live.primaryAgent = uint8_t(LoadRelaxed(config.primaryAgent));
    if (actions.reapplyFeatures) {
        live.handledFeatureBits = 0;
        // The set-up above already decided about the cuff.
        ApplyFeatureChange(false);
    }
    LayoutPanes();
    return true;
}
