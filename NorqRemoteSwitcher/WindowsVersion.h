#pragma once
// The operating system's name and code as the switcher knows them. Only
// code 0 ("Windows 2000") changes what it does; this build reports 10.0,
// which has no name and code 250.
#include <string>

#include "platform/OsVersion.h"

struct WindowsVersion {
    std::string name;
    int code = 250;
};

WindowsVersion DetermineWindowsVersion(const IOsVersion& os);
// `what`: 1 the name, 2 the code as text; anything else gives "".
std::string GetWindowsVersion(int what, const IOsVersion& os);
// The service-pack text, or "_error_" when the system does not answer.
std::string GetServicePack(const IOsVersion& os);

inline constexpr int kWindows2000Code = 0;
