#include "NorqRemoteSwitcher/BluetoothStack.h"

#include "NorqRemoteSwitcher/WindowsVersion.h"
#include "app/SettingsNames.h"

int DetectBluetoothStack(const IBluetoothStackProbe& probe, const IOsVersion& os)
{
    const bool windows2000 = DetermineWindowsVersion(os).code == kWindows2000Code;
    const std::string folder = windows2000 ? "C:\\WinNT\\System32\\" : "C:\\Windows\\System32\\";
    const bool other = probe.FileExists(folder + "btcpl.cpl");
    const bool local = probe.FileExists(folder + "LocalCOM.cpl");
    // Windows 2000 has no stack of its own to look for.
    const bool system = !windows2000 && probe.FileExists(folder + "bthprops.cpl");
    if (other)
        return system ? 4 : (local ? 6 : 1);
    if (local)
        return system ? 5 : 3;
    return system ? 2 : 0;
}

bool UseWindowsBluetooth(CRegistryModule& registry, const IBluetoothStackProbe& probe, const IOsVersion& os)
{
    if (!registry.HasStore())
        return true;
    if (registry.KeyExists(kSectionValues)) {
        const bool winBluetooth = registry.GetInt(kSectionValues, kValueWinBluetooth) == 1;
        if (registry.KeyExists(kSectionRemotes) || winBluetooth)
            return winBluetooth;
        (void)registry.CreateKey(kSectionRemotes, kValueRNum);
        return false;
    }
    const int stack = DetectBluetoothStack(probe, os);
    if (stack == 0 || stack == 2) {
        (void)registry.SetValue(kSectionValues, kValueWinBluetooth, 1);
        return true;
    }
    (void)registry.SetValue(kSectionValues, kValueWinBluetooth, 0);
    (void)registry.CreateKey(kSectionRemotes, kValueRNum);
    return false;
}
