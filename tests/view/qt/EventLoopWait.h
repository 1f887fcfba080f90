#pragma once
// Runs the UI thread's events until a condition holds, for at most 10 s
// unless told otherwise.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <functional>
#include <thread>

inline bool ProcessEventsUntil(const std::function<bool()>& done, int timeoutMs = 10000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        std::this_thread::yield();
    }
    return true;
}
