#pragma once
// Where a COM port number lives on this machine. The settings store keeps
// a map in the section "PortMap" (value "COM5" = "/dev/rfcomm0", say); a
// port without an entry is the N-th plain serial device, /dev/ttyS{N-1}.
#include <optional>
#include <string>

constexpr const char* kPortMapSection = "PortMap";

class IPortMap {
public:
    virtual ~IPortMap() = default;
    // The device path stored for a port name such as "COM5"; nothing when
    // the map has no entry for it.
    virtual std::optional<std::string> Lookup(const std::string& comName) const = 0;
};

// The port name ("COM5") of "\\.\COM5" or "COM5" (any case, N >= 1);
// nothing for anything else.
std::optional<std::string> ComPortName(const std::string& device);

// The device path to open: a COM name through the map (null: no map), any
// other text as it stands.
std::string ResolveSerialDevice(const std::string& device, const IPortMap* map);
