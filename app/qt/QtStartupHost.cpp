#include "app/qt/QtStartupHost.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>
#include <chrono>

#include "app/qt/MainWindowFactory.h"

CQtStartupHost::~CQtStartupHost()
{
    delete m_mainWindow.data();
}

IPrompter& CQtStartupHost::Prompter()
{
    return m_prompter != nullptr ? *m_prompter : m_qtPrompter;
}

void CQtStartupHost::ShowSplash()
{
    if (m_splashHook)
        m_splashHook();
}

void CQtStartupHost::RunEventsFor(uint32_t ms)
{
    if (ms == 0) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(std::chrono::milliseconds(ms), &loop, &QEventLoop::quit);
    loop.exec();
}

bool CQtStartupHost::CreateMainWindow()
{
    m_mainWindow = ::CreateMainWindow();
    return m_mainWindow != nullptr;
}

void CQtStartupHost::ShowMainWindowMaximized()
{
    // Without a window manager the maximised state is only a wish: start
    // from the whole work area so the monitor fills the screen either way.
    if (QScreen* screen = m_mainWindow->screen())
        m_mainWindow->setGeometry(screen->availableGeometry());
    m_mainWindow->showMaximized();
    m_mainWindow->update();
}
