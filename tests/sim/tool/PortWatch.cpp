#include "sim/tool/PortWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

PortWatch::PortWatch(const std::string& device)
{
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd >= 0 && ::inotify_add_watch(m_fd, device.c_str(), IN_OPEN | IN_CLOSE) < 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

PortWatch::~PortWatch()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::vector<PortWatch::Change> PortWatch::Take()
{
    std::vector<Change> changes;
    if (m_fd < 0)
        return changes;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if ((event->mask & IN_OPEN) != 0)
                changes.push_back({true, ++m_opens});
            if ((event->mask & IN_CLOSE) != 0 && m_opens > 0)
                changes.push_back({false, --m_opens});
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    return changes;
}
