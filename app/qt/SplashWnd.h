#pragma once
// The splash screen: bitmap 500 in a frameless window centred on the
// screen, gone after 2000 ms once the event loop runs.
#include <QImage>
#include <QWidget>
#include <functional>

#include "app/ModuleVersion.h"

class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    // The one splash window; null when there is none.
    static CSplashWnd* Instance();

    // Shows the splash; false when one exists already or it cannot be made.
    // `mainWindow` names the window to refresh when the splash goes; it may
    // not exist yet then.
    static bool CreateAndShow(std::function<QWidget*()> mainWindow = {});

    // Timer 1: the splash goes and the main window, if there is one yet, is
    // refreshed.
    void OnTimer();

    // The splash's own copy of the version block. Start-up switches its
    // version texts off, so nothing of it is drawn.
    const CModuleVersion& Version() const { return m_version; }

protected:
    // Stretches the bitmap over the whole window.
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    CSplashWnd(QImage bitmap, std::function<QWidget*()> mainWindow);
    // The window's end: the one splash is gone.
    ~CSplashWnd() override;

    QImage m_bitmap;
    std::function<QWidget*()> m_mainWindow;
    CModuleVersion m_version;
    int m_timer = 0;
};
