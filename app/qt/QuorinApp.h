#pragma once
// The application object: QApplication plus the program's start-up,
// settings and shutdown (CQuorinAppCore).
#include <QApplication>
#include <functional>
#include <memory>

#include "app/QuorinAppCore.h"
#include "app/UpdateCheck.h"
#include "app/qt/QtStartupHost.h"
#include "platform/qt/QtHttpClient.h"
#include "platform/qt/QtMessagePoster.h"
#include "platform/qt/QtProfileStore.h"
#include "platform/qt/QtShellLauncher.h"

// Numbers and times in the "C" locale whatever the user's locale is.
void UseCLocaleForNumbersAndTimes();

class CQuorinApp : public QApplication, public CQuorinAppCore {
    Q_OBJECT
public:
    CQuorinApp(int& argc, char** argv);
    ~CQuorinApp() override;

    static CQuorinApp* Instance();

    // The start-up sequence; true to run the event loop, false to end the
    // process. Settings keys left empty are the user's own.
    bool InitInstance(StartupServices services);
    // The process's exit code.
    int ExitInstance();

    QMainWindow* MainWindow() const { return m_host.MainWindow(); }
    CQtStartupHost& StartupHost() { return m_host; }
    // Worker threads reach windows through it; it outlives them all.
    CQtMessagePoster& Poster() { return m_poster; }

    // Command 57664: the about box, modal over the main window.
    void OnAppAbout();
    // Starts an update check and returns at once; a check still running is
    // abandoned. Silent: only the question about a newer version shows.
    void CheckForUpdates(bool silent);
    // The weekly check at start-up ("Check For Updates" on).
    void AutoCheckForUpdates();

private:
    CQtHttpClient m_http;
    CQtShellLauncher m_launcher;
    // Dropped before the client and the launcher it uses.
    std::unique_ptr<CUpdateCheck> m_updateCheck;
    CQtMessagePoster m_poster;
    CQtSettingsKeys m_settingsKeys;
    CQtStartupHost m_host;
};
