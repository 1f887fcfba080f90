#include "NorqRemoteSwitcher/WindowsVersion.h"

namespace {

constexpr uint32_t kPlatformWin32Windows = 1;

WindowsVersion XpVersion(const IOsVersion& os)
{
    const std::string servicePack = GetServicePack(os);
    if (servicePack == "_error_")
        return {"Windows XP", 1};
    if (servicePack == "Service Pack 2")
        return {"Windows XP SP2", 2};
    return {"Windows XP SP1", 1};
}

} // namespace

std::string GetServicePack(const IOsVersion& os)
{
    OsVersionInfo info;
    if (!os.Query(info, true))
        return "_error_";
    return info.servicePack;
}

WindowsVersion DetermineWindowsVersion(const IOsVersion& os)
{
    OsVersionInfo info;
    if (!os.Query(info, false))
        return {};
    if (info.platformId == kPlatformWin32Windows) {
        switch (info.minorVersion) {
        case 0: return {"Windows 95", 251};
        case 10: return {"Windows 98", 252};
        case 90: return {"Windows Millennium", 253};
        default: return {};
        }
    }
    if (info.platformId != kPlatformWin32Nt)
        return {};
    switch (info.majorVersion) {
    case 3: return {"Windows NT 3.51", 254};
    case 4: return {"Windows NT 4.0", 255};
    case 5: return info.minorVersion == 0 ? WindowsVersion{"Windows 2000", kWindows2000Code} : XpVersion(os);
    case 6: return {"Windows Vista", 3};
    case 7: return {"Windows 7", 4};
    default: return {};
    }
}

std::string GetWindowsVersion(int what, const IOsVersion& os)
{
    const WindowsVersion version = DetermineWindowsVersion(os);
    if (what == 1)
        return version.name;
    if (what == 2)
        return std::to_string(version.code);
    return {};
}
