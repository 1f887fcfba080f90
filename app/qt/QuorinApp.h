#pragma once
// The application object: start-up and shutdown of quorin.
#include <QApplication>
#include <QMainWindow>
#include <QPointer>


class CQuorinApp : public QApplication {
    Q_OBJECT
public:
    CQuorinApp(int& argc, char** argv);
    ~CQuorinApp() override;

    // True to run the event loop, false to end the process.
    bool InitInstance();
    // The process's exit code.
    int ExitInstance();

    QMainWindow* MainWindow() const { return m_mainWindow; }

private:
    QPointer<QMainWindow> m_mainWindow;
};
