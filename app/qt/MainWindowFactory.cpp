#include "app/qt/MainWindowFactory.h"

#include <QMainWindow>

#include "app/qt/FontSubstitution.h"
#include "app/qt/MainFrame.h"

QMainWindow* CreateMainWindow()
{
    // Before the first window measures any text.
    InstallFontSubstitutes();
    return CreateMainFrame();
}
