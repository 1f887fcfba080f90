// What other parts of the view will provide: alarms, the connection, the
// remote menu, printing, the commands. Each is a no-op until its part is
// built, so the link events can already call them in their places.
#include "view/qt/QuorinView.h"

void CQuorinView::CapturePrintData()
{
}

void CQuorinView::ResumeRecording()
{
}

void CQuorinView::SuspendRecording()
{
}

void CQuorinView::RestartRecordingForFeatures(uint16_t, uint16_t)
{
}

void CQuorinView::RequestRemoteVersion()
{
}

void CQuorinView::RemoteMenuStep(int)
{
}

void CQuorinView::RunCommand(int command)
{
    switch (command) {
    case kCommandEditPatient:
        FilePatientInfo(false);
        UpdateTitle();
        break;
    case kCommandNewPatient: OnNewPatient(); break;
    default: break;
    }
}

void CQuorinView::RemoteBloodPressure()
{
}

bool CQuorinView::HasEpisodes() const
{
    return false;
}

bool CQuorinView::IsRecording() const
{
    return m_services.isRecording && m_services.isRecording();
}

void CQuorinView::StartRecording()
{
    if (m_services.startRecording)
        m_services.startRecording();
}

void CQuorinView::CountGasProbeUse()
{
}

void CQuorinView::RequestPatientData()
{
}

void CQuorinView::StoreVitalsEvent(uint32_t)
{
}

void CQuorinView::HandFrameToRecording(const SampleFrame&, int32_t)
{
}

void CQuorinView::ResetTrendAccumulators()
{
}

void CQuorinView::CheckRecording()
{
}

void CQuorinView::ArmGasProbeMessage()
{
    m_gasArming.Arm();
}

void CQuorinView::CloseExpiredRemoteMenu()
{
}

void CQuorinView::OpenTrendWindow()
{
}

void CQuorinView::RequestVitals()
{
}
