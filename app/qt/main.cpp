#include "app/qt/QuorinApp.h"

int main(int argc, char** argv)
{
    CQuorinApp app(argc, argv);
    if (!app.InitInstance())
        return app.ExitInstance();
    app.exec();
    return app.ExitInstance();
}
