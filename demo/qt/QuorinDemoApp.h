#pragma once
// QuorinDemo's application object: its one dialog, run modally, is the
// whole program.
#include <QApplication>

#include "platform/qt/QtShellLauncher.h"

class CQuorinDemoApp : public QApplication {
    Q_OBJECT
public:
    CQuorinDemoApp(int& argc, char** argv);

    // Runs the dialog; false: there is no event loop to run after it.
    bool InitInstance();

private:
    CQtShellLauncher m_launcher;
};
