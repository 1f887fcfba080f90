#include "app/ProcessObjects.h"
#include "app/qt/QuorinApp.h"

int main(int argc, char** argv)
{
    CQuorinApp app(argc, argv);
    StartupServices services = SystemStartupServices(g_quorinModule);
    services.singleInstanceError = g_singleInstanceError;
    if (app.InitInstance(services))
        app.exec();
    return app.ExitInstance();
}
