#pragma once
// The main window: the view (set by the window factory), the tool bar and
// the status bar whose connection pane hosts a coloured text box.
#include <cstdint>

#include <QMainWindow>
#include <QPointer>

#include "app/FrameButtons.h"
#include "view/FrameControls.h"

class CColorStatic;
class CEXStatusBar;
class CMainToolBar;

class CMainFrame : public QMainWindow, public IFrameControls {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Builds the bars and the connection window: 0, or -1 when any of them
    // cannot be made (start-up then ends).
    int OnCreate();

    // The view's toggles; each does nothing while the state repeats.
    void SetRWaveMarkerButton(bool on) override;
    void SetQrsToneButton(bool on) override;
    void SetSilenceAlarmButton(bool on) override;
    void SetAlarmsButton(bool on) override;
    void SetRecordingButton(bool on) override;
    void SetTracingsButton(bool on) override;
    void SetCommandState(std::uint32_t command, bool enabled, bool checked) override;
    void SetStatusMessage(const std::string& text) override;
    void SetConnectionPane(const std::string& text, std::optional<COLORREF> background) override;

    CColorStatic* GetConnectionWindow() const;
    CMainToolBar* GetToolBar() const;
    CEXStatusBar* GetStatusBar() const;
    std::int32_t CachedButtonState(int index) const { return m_buttonStates.State(index); }

protected:
    void closeEvent(QCloseEvent* event) override;
    // Closing destroys the frame at once: the document is never saved, so
    // there is nothing to ask.
    void OnClose(QCloseEvent* event);

private:
    void ApplyButton(FrameButton button, bool on);

    QPointer<CColorStatic> m_wndConnection;
    QPointer<CMainToolBar> m_wndToolBar;
    QPointer<CEXStatusBar> m_wndStatusBar;
    CFrameButtonStates m_buttonStates;
};

// A new frame with OnCreate done; null when it failed.
CMainFrame* CreateMainFrame();
