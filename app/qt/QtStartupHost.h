#pragma once
// What start-up asks of the window system: message boxes, the splash, a
// pause that keeps the event loop running, and the main window.
#include <QMainWindow>
#include <QPointer>
#include <functional>

#include "app/QuorinAppCore.h"
#include "platform/qt/QtPrompter.h"

class CQtStartupHost : public IStartupHost {
public:
    CQtStartupHost() = default;
    ~CQtStartupHost() override;
    CQtStartupHost(const CQtStartupHost&) = delete;
    CQtStartupHost& operator=(const CQtStartupHost&) = delete;

    // Null restores the real message boxes.
    void SetPrompter(IPrompter* prompter) { m_prompter = prompter; }
    void SetSplashHook(std::function<void()> hook) { m_splashHook = std::move(hook); }
    QMainWindow* MainWindow() const { return m_mainWindow; }

    IPrompter& Prompter() override;
    void ShowSplash() override;
    void RunEventsFor(uint32_t ms) override;
    bool CreateMainWindow() override;
    void ShowMainWindowMaximized() override;

private:
    CQtPrompter m_qtPrompter;
    IPrompter* m_prompter = nullptr;
    std::function<void()> m_splashHook;
    QPointer<QMainWindow> m_mainWindow;
};
