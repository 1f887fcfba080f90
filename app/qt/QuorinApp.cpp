#include "app/qt/QuorinApp.h"

#include <QLocale>
#include <QMainWindow>
#include <clocale>

#include "app/qt/MainWindowFactory.h"

CQuorinApp::CQuorinApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    // QApplication takes the user's locale; numbers and times stay in "C".
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_TIME, "C");
    QLocale::setDefault(QLocale::c());
}

CQuorinApp::~CQuorinApp() = default;

bool CQuorinApp::InitInstance()
{
    m_mainWindow = CreateMainWindow();
    if (m_mainWindow == nullptr)
        return false;
    m_mainWindow->showMaximized();
    return true;
}

int CQuorinApp::ExitInstance()
{
    return 0;
}
