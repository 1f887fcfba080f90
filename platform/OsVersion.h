#pragma once
// The operating-system version as the program's Bluetooth and connection
// code asks for it. This build reports itself as a current NT system
// (10.0); tests put in any version.
#include <cstdint>
#include <string>

constexpr uint32_t kPlatformWin32Nt = 2;

struct OsVersionInfo {
    uint32_t majorVersion = 0;
    uint32_t minorVersion = 0;
    uint32_t platformId = 0;
    std::string servicePack;
};

class IOsVersion {
public:
    virtual ~IOsVersion() = default;
    // The version through the extended record (`extended`) or the basic
    // one; false when the system does not answer.
    [[nodiscard]] virtual bool Query(OsVersionInfo& info, bool extended) const = 0;
};

class CSystemOsVersion : public IOsVersion {
public:
    [[nodiscard]] bool Query(OsVersionInfo& info, bool extended) const override;
};

const IOsVersion& SystemOsVersion();

// Bluetooth support is usable from 6.0 on, and on 5.1 with service pack 2 or 3.
bool IsWindowsBluetoothUsable(const IOsVersion& os = SystemOsVersion());
bool IsWindowsXP(const IOsVersion& os = SystemOsVersion());
bool IsWindowsVista(const IOsVersion& os = SystemOsVersion());
bool IsWindows7(const IOsVersion& os = SystemOsVersion());
bool IsWindows8(const IOsVersion& os = SystemOsVersion());
