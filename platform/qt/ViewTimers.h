#pragma once
// The view's numbered timers, set and killed by id as the window system's
// timers are; each timeout calls back with its id on the owner's thread.
#include <QObject>
#include <cstdint>
#include <functional>
#include <map>

class QTimer;

class CViewTimers : public QObject {
    Q_OBJECT
public:
    explicit CViewTimers(std::function<void(int id)> onTimer, QObject* parent = nullptr);

    // Starts the id's periodic timer, or restarts it with the new period.
    // Periods below 10 ms run at 10 ms, as the window system's do, so that
    // a zero period cannot flood the UI thread.
    void SetTimer(int id, uint32_t ms);
    // No-op when the id's timer is not running.
    void KillTimer(int id);
    bool IsRunning(int id) const;
    // -1 when the id's timer is not running.
    int IntervalMs(int id) const;

    static constexpr int kMinimumMs = 10;

private:
    std::function<void(int id)> m_onTimer;
    // Stopped timers are kept: one may be killed from its own callback.
    std::map<int, QTimer*> m_timers;
};
