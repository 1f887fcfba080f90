#include "platform/OsVersion.h"

namespace {

bool QueryAny(const IOsVersion& os, OsVersionInfo& info)
{
    return os.Query(info, true) || os.Query(info, false);
}

bool IsNtVersion(const IOsVersion& os, uint32_t major, uint32_t minor)
{
    OsVersionInfo info;
    return QueryAny(os, info) && info.platformId == kPlatformWin32Nt && info.majorVersion == major
        && info.minorVersion == minor;
}

} // namespace

bool CSystemOsVersion::Query(OsVersionInfo& info, bool /*extended*/) const
{
    info.majorVersion = 10;
    info.minorVersion = 0;
    info.platformId = kPlatformWin32Nt;
    info.servicePack.clear();
    return true;
}

const IOsVersion& SystemOsVersion()
{
    static const CSystemOsVersion system;
    return system;
}

bool IsWindowsBluetoothUsable(const IOsVersion& os)
{
    OsVersionInfo info;
    if (!QueryAny(os, info))
        return false;
    if (info.majorVersion > 5)
        return true;
    return info.majorVersion == 5 && info.minorVersion == 1
        && (info.servicePack == "Service Pack 2" || info.servicePack == "Service Pack 3");
}

bool IsWindowsXP(const IOsVersion& os) { return IsNtVersion(os, 5, 1); }
bool IsWindowsVista(const IOsVersion& os) { return IsNtVersion(os, 6, 0); }
bool IsWindows7(const IOsVersion& os) { return IsNtVersion(os, 6, 1); }
bool IsWindows8(const IOsVersion& os) { return IsNtVersion(os, 6, 2); }
