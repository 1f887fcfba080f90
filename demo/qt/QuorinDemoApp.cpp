#include "demo/qt/QuorinDemoApp.h"

#include "demo/qt/DemoIcon.h"
#include "demo/qt/QuorinDemoDlg.h"

CQuorinDemoApp::CQuorinDemoApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setWindowIcon(DemoIcon());
}

bool CQuorinDemoApp::InitInstance()
{
    // quorin lies beside the launcher; desktops start it in the home folder.
    CQuorinDemoDlg dialog(m_launcher, applicationDirPath().toStdString());
    dialog.exec();
    return false;
}
