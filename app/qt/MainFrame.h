#pragma once
// The main window: the view (set by the window factory), the tool bar and
// the status bar whose connection pane hosts a coloured text box.
#include <cstdint>
#include <functional>
#include <map>

#include <QMainWindow>
#include <QPointer>

#include "app/FrameButtons.h"
#include "view/FrameControls.h"

class CColorStatic;
class QAction;
struct MenuItemDef;
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
    void SetRecordingButton(bool idle) override;
    void SetTracingsButton(bool running) override;
    void SetCommandState(std::uint32_t command, bool enabled, bool checked) override;
    void SetCommandImage(std::uint32_t command, int image) override;
    void SetStatusMessage(const std::string& text) override;
    void SetConnectionPane(const std::string& text, std::optional<COLORREF> background) override;

    // The view's command handler and its update of every command's state
    // (run when a menu opens); set by the window factory.
    void SetCommandHandlers(std::function<void(std::uint32_t)> run, std::function<void()> update);
    // Runs a command unless its rule has greyed it.
    void RunCommand(std::uint32_t id);
    // The menu's (or the tool bar's) action of a command.
    QAction* CommandAction(std::uint32_t id) const;

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
    void CreateMainMenu();
    QAction* MenuAction(const MenuItemDef& item);
    // The tool bar or status bar of a View-menu entry; null for others.
    QWidget* Bar(std::uint32_t id) const;
    // The View menu's bar entries checked while their bar is not hidden.
    void ShowBarEntries();

    QPointer<CColorStatic> m_wndConnection;
    QPointer<CMainToolBar> m_wndToolBar;
    QPointer<CEXStatusBar> m_wndStatusBar;
    CFrameButtonStates m_buttonStates;
    std::map<std::uint32_t, QAction*> m_menuActions;
    std::map<std::uint32_t, QAction*> m_keyActions;
    std::function<void(std::uint32_t)> m_runCommand;
    std::function<void()> m_updateCommands;
};

// A new frame with OnCreate done; null when it failed.
CMainFrame* CreateMainFrame();
