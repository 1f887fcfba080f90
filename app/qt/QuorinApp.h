#pragma once
// The application object: QApplication plus the program's start-up,
// settings and shutdown (CQuorinAppCore).
#include <QApplication>
#include <QMainWindow>
#include <QPointer>
#include <functional>

#include "app/QuorinAppCore.h"
#include "platform/qt/QtProfileStore.h"
#include "platform/qt/QtPrompter.h"

class CQuorinApp : public QApplication, public CQuorinAppCore, private IStartupHost {
    Q_OBJECT
public:
    CQuorinApp(int& argc, char** argv);
    ~CQuorinApp() override;

    static CQuorinApp* Instance();

    // The start-up sequence; true to run the event loop, false to end the
    // process. Services left empty are the system's.
    bool InitInstance(StartupServices services);
    // The process's exit code.
    int ExitInstance();

    QMainWindow* MainWindow() const { return m_mainWindow; }

    // Message boxes of start-up (tests script them); null restores the real ones.
    void SetPrompter(IPrompter* prompter) { m_prompter = prompter; }
    // Shows the splash screen at its step of start-up.
    void SetSplashHook(std::function<void()> hook) { m_splashHook = std::move(hook); }

private:
    IPrompter& Prompter() override;
    void ShowSplash() override;
    void RunEventsFor(uint32_t ms) override;
    bool CreateMainWindow() override;
    void ShowMainWindowMaximized() override;

    CQtSettingsKeys m_settingsKeys;
    CQtPrompter m_qtPrompter;
    IPrompter* m_prompter = nullptr;
    std::function<void()> m_splashHook;
    QPointer<QMainWindow> m_mainWindow;
};
