#include "app/ProcessObjects.h"
#include "app/qt/QuorinApp.h"
#include "app/qt/SplashWnd.h"
#include "platform/qt/TerminationSignals.h"

int main(int argc, char** argv)
{
    CQuorinApp app(argc, argv);
    CTerminationSignals endOfSession;
    app.StartupHost().SetSplashHook([&app] { CSplashWnd::CreateAndShow([&app] { return app.MainWindow(); }); });
    StartupServices services = SystemStartupServices(g_quorinModule);
    services.singleInstanceError = g_singleInstanceError;
    if (app.InitInstance(services) && !endOfSession.Requested())
        app.exec();
    return app.ExitInstance();
}
