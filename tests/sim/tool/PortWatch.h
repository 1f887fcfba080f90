#pragma once
// Tells when others open and close a device: the PC's port on the remote's
// pseudo-terminal. A remote's link is up while the PC has its port open.
#include <string>
#include <vector>

class PortWatch {
public:
    explicit PortWatch(const std::string& device);
    ~PortWatch();
    PortWatch(const PortWatch&) = delete;
    PortWatch& operator=(const PortWatch&) = delete;

    // False when the system cannot watch the device.
    bool Ok() const { return m_fd >= 0; }
    struct Change {
        bool opened = false;  // else closed
        int openNow = 0;      // how many have it open after the change
    };
    // The opens and closes since the last call, in order.
    std::vector<Change> Take();
    // Whether anyone has the device open, as far as the changes taken tell.
    bool Open() const { return m_opens > 0; }

private:
    int m_fd = -1;
    int m_opens = 0;
};
