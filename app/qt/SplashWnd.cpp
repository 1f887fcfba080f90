#include "app/qt/SplashWnd.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

#include "app/qt/BitmapResources.h"
#include "app/qt/SplashBitmap.h"

namespace {

constexpr int kSplashMs = 2000;

CSplashWnd* g_splash = nullptr;

} // namespace

CSplashWnd* CSplashWnd::Instance()
{
    return g_splash;
}

bool CSplashWnd::CreateAndShow(std::function<QWidget*()> mainWindow)
{
    if (g_splash != nullptr)
        return false;
    QImage bitmap = LoadFrameBitmap(kSplashBitmap);
    if (bitmap.isNull())
        return false;
    auto* splash = new CSplashWnd(std::move(bitmap), std::move(mainWindow));
    splash->resize(splash->m_bitmap.size());
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), splash->size());
        frame.moveCenter(screen->geometry().center());
        splash->move(frame.topLeft());
    }
    splash->show();
    splash->m_timer = splash->startTimer(kSplashMs);
    return true;
}

CSplashWnd::CSplashWnd(QImage bitmap, std::function<QWidget*()> mainWindow)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint),
      m_bitmap(std::move(bitmap)), m_mainWindow(std::move(mainWindow))
{
    setObjectName(QStringLiteral("splash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    (void)m_version.LoadOwnModule();
    g_splash = this;
}

CSplashWnd::~CSplashWnd()
{
    if (g_splash == this)
        g_splash = nullptr;
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), m_bitmap);
}

void CSplashWnd::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_timer)
        OnTimer();
}

void CSplashWnd::OnTimer()
{
    if (m_timer != 0) {
        killTimer(m_timer);
        m_timer = 0;
    }
    // Gone at once for the program, deleted by the event loop.
    if (g_splash == this)
        g_splash = nullptr;
    close();
    // Start-up's pause may let the timer fire before the main window exists.
    if (QWidget* window = m_mainWindow ? m_mainWindow() : nullptr)
        window->update();
}
