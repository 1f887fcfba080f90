#pragma once
// Which Bluetooth stack the PC has, told by the control-panel files it
// installs, and whether quorin finds the remote by itself.
#include <string>

#include "NorqRemoteSwitcher/RegistryModule.h"
#include "platform/OsVersion.h"

// Looks for a control-panel file. This platform has none: a first run
// therefore lets quorin find its remote itself.
class IBluetoothStackProbe {
public:
    virtual ~IBluetoothStackProbe() = default;
    virtual bool FileExists(const std::string& path) const = 0;
};

class CNoBluetoothStackProbe : public IBluetoothStackProbe {
public:
    bool FileExists(const std::string&) const override { return false; }
};

// 0 none, 1 another maker's only, 2 the system's own only, 3 the local COM
// panel only, 4 another maker's and the system's, 5 the local COM panel
// and the system's, 6 another maker's and the local COM panel.
int DetectBluetoothStack(const IBluetoothStackProbe& probe, const IOsVersion& os);

// True when quorin is to be started at once, without the form. A first run
// decides by the stack and writes `WinBluetooth`.
bool UseWindowsBluetooth(CRegistryModule& registry, const IBluetoothStackProbe& probe, const IOsVersion& os);
