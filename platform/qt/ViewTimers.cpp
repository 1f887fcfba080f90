#include "platform/qt/ViewTimers.h"

#include <QTimer>
#include <algorithm>
#include <climits>
#include <utility>

CViewTimers::CViewTimers(std::function<void(int id)> onTimer, QObject* parent)
    : QObject(parent), m_onTimer(std::move(onTimer))
{
}

void CViewTimers::SetTimer(int id, uint32_t ms)
{
    QTimer*& timer = m_timers[id];
    if (timer == nullptr) {
        timer = new QTimer(this);
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [this, id] {
            if (m_onTimer)
                m_onTimer(id);
        });
    }
    const uint32_t period = std::clamp<uint32_t>(ms, kMinimumMs, INT_MAX);
    timer->start(static_cast<int>(period));
}

void CViewTimers::KillTimer(int id)
{
    auto found = m_timers.find(id);
    if (found != m_timers.end())
        found->second->stop();
}

bool CViewTimers::IsRunning(int id) const
{
    auto found = m_timers.find(id);
    return found != m_timers.end() && found->second->isActive();
}

int CViewTimers::IntervalMs(int id) const
{
    return IsRunning(id) ? m_timers.at(id)->interval() : -1;
}
