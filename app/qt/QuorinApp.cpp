#include "app/qt/QuorinApp.h"

#include <QLocale>
#include <clocale>

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
