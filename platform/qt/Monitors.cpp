#include "platform/qt/Monitors.h"

#include <QGuiApplication>
#include <QScreen>

CMonitor::CMonitor(QScreen* screen) : m_hMonitor(screen)
{
}

QRect CMonitor::GetMonitorRect() const
{
    return m_hMonitor ? m_hMonitor->geometry() : QRect();
}

QRect CMonitor::GetWorkAreaRect() const
{
    return m_hMonitor ? m_hMonitor->availableGeometry() : QRect();
}

CMonitors::CMonitors()
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    m_monitors.reserve(static_cast<std::size_t>(screens.size()));
    for (QScreen* screen : screens)
        m_monitors.push_back(std::make_unique<CMonitor>(screen));
}

CMonitors::~CMonitors() = default;

const CMonitor* CMonitors::GetMonitor(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_monitors[static_cast<std::size_t>(index)].get();
}
