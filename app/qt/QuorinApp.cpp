#include "app/qt/QuorinApp.h"

#include <QLocale>
#include <chrono>
#include <clocale>

#include "app/qt/AboutDlg.h"
#include "link/LiveData.h"
#include "view/qt/QuorinView.h"

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

void UseCLocaleForNumbersAndTimes()
{
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_TIME, "C");
    QLocale::setDefault(QLocale::c());
}

// QApplication comes first: it takes its own options out of argv, and it
// sets the user's locale, which the next line undoes for numbers and times.
CQuorinApp::CQuorinApp(int& argc, char** argv)
    : QApplication(argc, argv)
    , CQuorinAppCore(ArgumentsOf(argc, argv))
{
    UseCLocaleForNumbersAndTimes();
}

CQuorinApp::~CQuorinApp() = default;

CQuorinApp* CQuorinApp::Instance()
{
    return qobject_cast<CQuorinApp*>(QCoreApplication::instance());
}

bool CQuorinApp::InitInstance(StartupServices services)
{
    if (services.settingsKeys == nullptr)
        services.settingsKeys = &m_settingsKeys;
    return RunInitInstance(m_host, services);
}

int CQuorinApp::ExitInstance()
{
    return RunExitInstance();
}

void CQuorinApp::OnAppAbout()
{
    AboutInputs inputs;
    inputs.versionText = VersionText();
    inputs.legalCopyright = LegalCopyright();
    inputs.demoMode = IsDemoMode();
    inputs.connected = m_connected != 0;
    inputs.deviceKind = g_liveData.deviceKind;
    QMainWindow* frame = MainWindow();
    if (CQuorinView* view = frame != nullptr ? frame->findChild<CQuorinView*>() : nullptr)
        inputs.receiveBuffer = view->Terminal().GetReceiveBuffer();
    CAboutDlg about(std::move(inputs), frame);
    about.exec();
}

void CQuorinApp::CheckForUpdates(bool silent)
{
    const int* numbers = VersionNumbers();
    const int own[3] = {numbers[0], numbers[1], numbers[3]};
    m_updateCheck.reset();
    m_updateCheck = ::CheckForUpdates({m_http, m_host.Prompter(), m_launcher}, DefaultUpdateCheckSettings(), own,
                                      silent);
}

void CQuorinApp::AutoCheckForUpdates()
{
    ::AutoCheckForUpdates(ProfileStore(), COleDate::FromLocalTime(std::chrono::system_clock::now()),
                          [this] { CheckForUpdates(true); });
}
