// The service command and the terminal's reach into the view; the device
// choice before a Bluetooth connection.
#include <QDialog>

#include "app/NorqEventLogger.h"
#include "app/QuorinAppCore.h"
#include "app/SettingsNames.h"
#include "link/LiveData.h"
#include "link/qt/Password.h"
#include "link/qt/SelectDeviceDlg.h"
#include "link/qt/TermDlgWnd.h"
#include "view/qt/QuorinView.h"

namespace {

constexpr char kServiceTag[] = "CQuorinView::OnServiceTerminal";
constexpr char kRecordingQuestion[] =
    "It is recommended that data recording be stopped when using the service terminal.\n\nPress CANCEL to abort ,OK "
    "to continue.";

}  // namespace

int CQuorinView::RunServiceDialog(QDialog& dialog)
{
    return m_services.runServiceDialog ? m_services.runServiceDialog(dialog) : dialog.exec();
}

CTK_TermDlgWnd* CQuorinView::TermDlgWindow() const
{
    return m_term.termWnd;
}

void CQuorinView::OnServiceTerminal()
{
    if (m_term.termDlg->IsShown())
        return;
    if (IsRecording()
        && Prompter().MessageBox(kRecordingQuestion, "Data is Recording", kMbOkCancel | kMbIconQuestion) == kIdCancel)
        return;
    const OleDateFields today = Now().Fields().value_or(OleDateFields{});
    CPassword password(m_app.IsServiceMode(), today.year, today.month, today.day, Prompter(), this);
    if (!password.DecidedWithoutAsking() && RunServiceDialog(password) != QDialog::Accepted)
        return;
    if (password.Access() == TermAccess::kRefused)
        return;
    m_term.termDlg->SetFullAuthority(password.Access() == TermAccess::kFull);
    LogEventText(kServiceTag, password.Access() == TermAccess::kFull ? "Service terminal opened (full authority)."
                                                                      : "Service terminal opened (provisional).");
    if (m_term.termWnd == nullptr)
        m_term.termWnd = new CTK_TermDlgWnd(*m_term.termDlg, Prompter(), *m_poster,
                                       RegisterWindowMessage("CTK_TERMDLG_NEWSTRING"), this);
    m_term.termWnd->Open();
    (void)RunServiceDialog(*m_term.termWnd);
    g_linkMode = kLinkDecode;
    LogEventText(kServiceTag, "Service terminal closed.");
}

bool CQuorinView::ChooseBluetoothDevice(int& device)
{
    if (m_services.chooseDevice)
        return m_services.chooseDevice(device);
    const ZelbexApi& zelbex = m_app.Zelbex();
    const DeviceListApi api{zelbex.zlbBuildDeviceList, zelbex.zlbGetDeviceString, zelbex.zlbGetDevicePort};
    RemoteConfiguration& config = m_app.m_config;
    CSelectDeviceDlg dialog(api, LoadRelaxed(config.portNum), this);
    if (RunServiceDialog(dialog) != QDialog::Accepted)
        return false;
    device = dialog.Position();
    StoreRelaxed(config.portNum, dialog.Port());
    StoreRelaxed(m_app.m_storedConfig.portNum, dialog.Port());
    if (IProfileStore* store = m_app.ProfileStore();
        store == nullptr || !store->WriteProfileInt(kSectionValues, kValuePortNum, dialog.Port()))
        LogEventText("CQuorinView::ConnectThread", "The chosen port could not be stored as \"PortNum\".");
    return true;
}

void CQuorinView::DestroyTerminal()
{
    // The window first: it unregisters, and posts still queued for it are
    // freed. The link's threads have stopped.
    delete m_term.termWnd;
    m_term.termWnd = nullptr;
    m_wire.link.SetTerminal(nullptr);
    m_wire.link.SetProgrammingFeed(nullptr);
    m_wire.connectPort.SetTerminal(nullptr);
    CTK_TermDlg::Destroy();
}

// ---- ITermDlgOwner ----

bool CQuorinView::LinkLive() const
{
    return m_connection.live != 0;
}

CSerial& CQuorinView::LinkPort()
{
    return m_wire.link;
}

CWriteQueue& CQuorinView::LinkQueue()
{
    return m_wire.writeQueue;
}

bool CQuorinView::RecordingRuns() const
{
    return IsRecording();
}

uint32_t CQuorinView::ProbeConnectedMs() const
{
    return m_gasProbe.probeConnectedMs;
}

void CQuorinView::LogTerminal(const std::string& text)
{
    LogEventText(kTermLogTag, text);
}
