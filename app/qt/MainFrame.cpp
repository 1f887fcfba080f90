#include "app/qt/MainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QFontMetrics>

#include "app/qt/EXStatusBar.h"
#include "app/qt/ToolBar24.h"
#include "view/qt/ColorStatic.h"

namespace {

const std::uint32_t kIndicators[] = {0, kIndicatorConnection, kIndicatorCaps, kIndicatorNum, kIndicatorScroll};

const char* const kWidestConnectionText = "WIRELESS REMOTE DISCONNECTED";

} // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowState(windowState() | Qt::WindowMaximized);
}

CMainFrame::~CMainFrame() = default;

int CMainFrame::OnCreate()
{
    m_wndToolBar = new CMainToolBar(this);
    if (!m_wndToolBar->CreateEx(this, kToolBarId) || !m_wndToolBar->LoadToolBar(kToolBarResource))
        return -1;

    m_wndStatusBar = new CEXStatusBar(this);
    if (!m_wndStatusBar->Create(this, kStatusBarId) ||
        !m_wndStatusBar->SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators))))
        return -1;
    setStatusBar(m_wndStatusBar);

    const int connectionPane = m_wndStatusBar->CommandToIndex(kIndicatorConnection);
    const QFontMetrics metrics(m_wndStatusBar->font());
    m_wndStatusBar->ResizePane(connectionPane, metrics.horizontalAdvance(QString::fromLatin1(kWidestConnectionText)));

    m_wndConnection = new CColorStatic(m_wndStatusBar);
    m_wndConnection->setObjectName(QString::number(kIndicatorConnection));
    m_wndConnection->setAlignment(Qt::AlignCenter);
    if (!m_wndStatusBar->AttachPaneWindow(m_wndConnection))
        return -1;
    m_wndConnection->setFont(m_wndStatusBar->font());
    m_wndConnection->setText(QString());

    m_wndToolBar->LoadImages();

    setDockNestingEnabled(true);
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);

    CreateMainMenu();
    m_buttonStates.Reset();
    return 0;
}

CColorStatic* CMainFrame::GetConnectionWindow() const
{
    return m_wndConnection;
}

CMainToolBar* CMainFrame::GetToolBar() const
{
    return m_wndToolBar;
}

CEXStatusBar* CMainFrame::GetStatusBar() const
{
    return m_wndStatusBar;
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    OnClose(event);
}

void CMainFrame::OnClose(QCloseEvent* event)
{
    // Deleted on close (see the constructor).
    event->accept();
}

void CMainFrame::ApplyButton(FrameButton button, bool on)
{
    const std::optional<int> image = m_buttonStates.Update(button, on);
    if (image && m_wndToolBar)
        m_wndToolBar->SetButtonImage(GetFrameButtonInfo(button).commandId, *image);
}

void CMainFrame::SetRWaveMarkerButton(bool on)
{
    ApplyButton(FrameButton::RWaveMarker, on);
}

void CMainFrame::SetQrsToneButton(bool on)
{
    ApplyButton(FrameButton::QrsTone, on);
}

void CMainFrame::SetSilenceAlarmButton(bool on)
{
    ApplyButton(FrameButton::SilenceAlarm, on);
}

void CMainFrame::SetAlarmsButton(bool on)
{
    ApplyButton(FrameButton::Alarms, on);
}

void CMainFrame::SetRecordingButton(bool idle)
{
    ApplyButton(FrameButton::Recording, idle);
}

void CMainFrame::SetTracingsButton(bool running)
{
    ApplyButton(FrameButton::Tracings, running);
}

CMainFrame* CreateMainFrame()
{
    auto* frame = new CMainFrame;
    if (frame->OnCreate() != 0) {
        delete frame;
        return nullptr;
    }
    return frame;
}

void CMainFrame::SetCommandState(std::uint32_t command, bool enabled, bool checked)
{
    if (QAction* action = CommandAction(command)) {
        action->setEnabled(enabled);
        // A mark only when checked, as the menu shows it; a button's image
        // tells the rest.
        action->setCheckable(checked);
        action->setChecked(checked);
    }
    if (auto key = m_keyActions.find(command); key != m_keyActions.end())
        key->second->setEnabled(enabled);
}

void CMainFrame::SetCommandImage(std::uint32_t command, int image)
{
    if (m_wndToolBar)
        m_wndToolBar->SetButtonImage(command, image);
}

void CMainFrame::SetStatusMessage(const std::string& text)
{
    if (m_wndStatusBar)
        m_wndStatusBar->showMessage(QString::fromStdString(text));
}

void CMainFrame::SetConnectionPane(const std::string& text, std::optional<COLORREF> background)
{
    if (!m_wndConnection)
        return;
    m_wndConnection->setText(QString::fromStdString(text));
    m_wndConnection->SetBkColor(background ? *background : ToColorRef(palette().color(QPalette::Button)));
}
