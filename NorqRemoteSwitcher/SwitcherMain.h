#pragma once
// What the switcher does when it starts: quorin at once, or the form.
#include <string>

#include "NorqRemoteSwitcher/BluetoothStack.h"
#include "NorqRemoteSwitcher/RegistryModule.h"
#include "platform/Prompter.h"
#include "platform/ShellLauncher.h"

struct SwitcherServices {
    CRegistryModule* registry = nullptr;
    IPrompter* prompter = nullptr;
    IShellLauncher* launcher = nullptr;
    const IBluetoothStackProbe* stackProbe = nullptr;
    const IOsVersion* osVersion = nullptr;
    // The switcher's own folder: quorin lies there and runs there.
    std::string programFolder;
};

std::string QuorinPath(const SwitcherServices& services);

// Starts quorin from the program folder, without arguments; a failure
// ends in the support box. Whatever quorin is to read must be flushed
// before: it reads the file as it starts.
bool StartQuorin(const SwitcherServices& services);

enum class SwitcherStart { Ended, ShowForm };
SwitcherStart Main(const SwitcherServices& services);
