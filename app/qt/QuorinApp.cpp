#include "app/qt/QuorinApp.h"

#include <QEventLoop>
#include <QLocale>
#include <QTimer>
#include <clocale>

#include "app/qt/MainWindowFactory.h"

namespace {

std::vector<std::string> ArgumentsOf(int argc, char** argv)
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        if (argv[i] != nullptr)
            arguments.emplace_back(argv[i]);
    return arguments;
}

} // namespace

// QApplication comes first: it takes its own options out of argv.
CQuorinApp::CQuorinApp(int& argc, char** argv)
    : QApplication(argc, argv)
    , CQuorinAppCore(ArgumentsOf(argc, argv))
{
    // QApplication took the user's locale; numbers and times stay in "C".
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_TIME, "C");
    QLocale::setDefault(QLocale::c());
}

CQuorinApp::~CQuorinApp()
{
    delete m_mainWindow.data();
}

CQuorinApp* CQuorinApp::Instance()
{
    return qobject_cast<CQuorinApp*>(QCoreApplication::instance());
}

bool CQuorinApp::InitInstance(StartupServices services)
{
    if (services.settingsKeys == nullptr)
        services.settingsKeys = &m_settingsKeys;
    return RunInitInstance(*this, services);
}

int CQuorinApp::ExitInstance()
{
    return RunExitInstance();
}

IPrompter& CQuorinApp::Prompter()
{
    return m_prompter != nullptr ? *m_prompter : m_qtPrompter;
}

void CQuorinApp::ShowSplash()
{
    if (m_splashHook)
        m_splashHook();
}

void CQuorinApp::RunEventsFor(uint32_t ms)
{
    if (ms == 0) {
        processEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(std::chrono::milliseconds(ms), &loop, &QEventLoop::quit);
    loop.exec();
}

bool CQuorinApp::CreateMainWindow()
{
    m_mainWindow = ::CreateMainWindow();
    return m_mainWindow != nullptr;
}

void CQuorinApp::ShowMainWindowMaximized()
{
    m_mainWindow->showMaximized();
    m_mainWindow->update();
}
