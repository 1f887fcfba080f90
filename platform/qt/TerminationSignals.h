#pragma once
// The end of a session (SIGTERM, SIGHUP) or Ctrl+C (SIGINT) closes the
// program the way closing its window does, so that the view stops its
// threads and closes a running recording before the process ends.
#include <QObject>

class QSocketNotifier;

class CTerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit CTerminationSignals(QObject* parent = nullptr);
    ~CTerminationSignals() override;

    // True when the handlers are in place.
    bool Installed() const { return m_notifier != nullptr; }
    // True once a signal has arrived. Before the main event loop runs (the
    // splash pause, the rest of start-up) quitting has no effect, so the
    // caller checks this before entering it.
    bool Requested() const { return m_requested; }

private:
    void OnSignal();

    QSocketNotifier* m_notifier = nullptr;
    bool m_requested = false;
};
