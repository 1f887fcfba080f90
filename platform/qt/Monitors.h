#pragma once
// The display monitors, in the order the system lists them.
#include <memory>
#include <vector>

#include <QPointer>
#include <QRect>
#include <QScreen>

class QScreen;

class CMonitor {
public:
    explicit CMonitor(QScreen* screen = nullptr);
    QScreen* GetHandle() const { return m_hMonitor; }
    bool IsValid() const { return !m_hMonitor.isNull(); }
    // Empty once the monitor has gone.
    QRect GetMonitorRect() const;
    QRect GetWorkAreaRect() const;

private:
    QPointer<QScreen> m_hMonitor;
};

class CMonitors {
public:
    CMonitors();
    ~CMonitors();
    CMonitors(const CMonitors&) = delete;
    CMonitors& operator=(const CMonitors&) = delete;

    int GetCount() const { return static_cast<int>(m_monitors.size()); }
    // Null for an index outside the list.
    const CMonitor* GetMonitor(int index) const;

private:
    std::vector<std::unique_ptr<CMonitor>> m_monitors;
};
