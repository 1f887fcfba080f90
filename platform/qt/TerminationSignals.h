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

private:
    void OnSignal();

    QSocketNotifier* m_notifier = nullptr;
};
