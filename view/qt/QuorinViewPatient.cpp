// The patient record in the view: its dialog for the current or a new
// patient, and the new-patient command; the practice's information.
#include <chrono>
#include <exception>

#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "link/LiveData.h"
#include "patient/PatientDates.h"
#include "patient/PatientFiling.h"
#include "patient/VetInfo.h"
#include "patient/qt/PatientInfoDlg.h"
#include "patient/qt/VetInfoDlg.h"
#include "view/qt/ColorStatic.h"
#include "view/qt/QuorinView.h"

namespace {

constexpr char kFilePatientTag[] = "CQuorinView::FilePatientInfo";

}  // namespace

COleDate CQuorinView::Now() const
{
    return m_services.now ? m_services.now() : COleDate::FromLocalTime(std::chrono::system_clock::now());
}

void CQuorinView::ShowPatientId()
{
    if (CColorStatic* box = SingleBoxAt(kBoxPatient))
        box->setText(QString::fromStdString("Patient: " + PatientShownName(m_patient.info)));
}

bool CQuorinView::ReadAVImarkPatient()
{
    CAVImark system;
    IAVImark& avimark = m_services.avimark != nullptr ? *m_services.avimark : system;
    CAVImarkData data([this] { return Now(); });
    try {
        if (avimark.ReadCurrentPatient(data) != 0)
            return false;
    } catch (const std::exception&) {
        LogEventText(kFilePatientTag, "Error communicating with AVImark. It may be logged out.");
        Prompter().MessageBox(
            "There was a problem communicating with AVImark.\nPlease make sure that AVImark is open to a patient within the CID.",
            "AVImark Communication Error", kMbOk | kMbIconWarning);
        return false;
    }
    TakeAVImarkPatient(data, m_patient);
    return true;
}

void CQuorinView::FilePatientInfo(bool newPatient)
{
    RemoteConfiguration& config = m_app.m_config;
    const bool fromAVImark = newPatient && config.autoAVImark != 0 && ReadAVImarkPatient();
    if (m_patient.info.sex.empty())
        m_patient.info.sex = "Unknown";

    CPatientInfoDlg::Setup setup;
    setup.prompter = &Prompter();
    setup.config = &config;
    setup.now = [this] { return Now(); };
    setup.osVersion = m_services.osVersion;
    CPatientInfoDlg dialog(setup, this);
    FillDialogMembers(dialog.Form().members, m_patient, config.defaultWtUnit);

    const int32_t alarms = LoadRelaxed(config.alarms);
    if (IsLiveOrDemo())
        SetAlarmSilence(0);

    const bool accepted = m_services.runPatientDialog ? m_services.runPatientDialog(dialog)
                                                      : dialog.exec() == QDialog::Accepted;
    if (accepted) {
        const PatientDialogMembers& members = dialog.Form().members;
        FileDialogMembers(members, fromAVImark, m_patient);
        SetPatientIdText(m_patient.info.name);
        m_connection.sharedSpecies = m_patient.info.speciesCode;
        SetDisplayMode(m_patient.info.speciesCode);

        if (AddRecentEntry(config, FormatRecentEntry(m_patient.info), dialog.Form().InitialRecord()) &&
            !m_app.SaveRecentList())
            LogEventText(kFilePatientTag, "The recent patient entries could not be saved.");
        update();
        if (m_patient.info.name.empty()) {
            const std::string today = DateStamp(Now());
            m_patient.info.patientId = today;
            SetPatientIdText(today);
        }
        // The species may have changed the cuff size: the set-up goes again.
        if (IsLiveOrDemo() && g_liveData.deviceKind != kDeviceMoval) {
            g_liveData.handledFeatureBits = 0;
            ApplyFeatureChange();
        }
    }

    m_rec.startupPending = false;
    SetAlarmSilence(alarms);
    if (newPatient && config.autoSave != 0 && !IsRecording())
        StartRecording();
}

void CQuorinView::OnNewPatient(bool fromRecording)
{
    RemoteConfiguration& config = m_app.m_config;
    const int32_t alarms = LoadRelaxed(config.alarms);
    if (IsLiveOrDemo())
        SetAlarmSilence(0);

    if (IsRecording()) {
        if (!fromRecording &&
            Prompter().MessageBox(
                "Specifying a new patient will stop the current recording.\n\nPress 'Cancel' to abort, 'OK' to proceed.",
                "New Patient", kMbOkCancel | kMbIconWarning) != kIdOk) {
            SetAlarmSilence(alarms);
            return;
        }
        CloseRecording();
    }

    ResetForNewPatient(m_patient, Now());
    SetPatientIdText(m_patient.info.name);

    const int32_t autoAVImark = config.autoAVImark;
    m_app.LoadSettings();
    config.autoAVImark = autoAVImark;

    m_patient.nameEntered = false;
    m_patient.birthDateEntered = false;
    FilePatientInfo(true);
    UpdateTitle();
    CountGasProbeUse();
    SetAlarmSilence(alarms);
}

void CQuorinView::OnEditVetInfo()
{
    CVetInfoDlg dialog(this);
    dialog.Strings() = ReadVetInfo(m_app.m_config);
    const bool accepted = m_services.runVetInfoDialog ? m_services.runVetInfoDialog(dialog)
                                                      : dialog.exec() == QDialog::Accepted;
    if (!accepted)
        return;
    WriteVetInfo(dialog.Strings(), m_app.m_config);
    if (!m_app.SaveClinicInfo())
        LogEventText("CQuorinView::OnEditVetInfo", "The practice information could not be saved.");
}
