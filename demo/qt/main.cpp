// QuorinDemo: starts quorin in demo mode and ends.
#include "demo/qt/QuorinDemoApp.h"

int main(int argc, char** argv)
{
    CQuorinDemoApp app(argc, argv);
    return app.InitInstance() ? app.exec() : 0;
}
