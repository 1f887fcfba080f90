#include "NorqRemoteSwitcher/SwitcherMain.h"

#include <filesystem>
#include <system_error>

#include "NorqRemoteSwitcher/ShellRun.h"
#include "app/SettingsNames.h"

std::string QuorinPath(const SwitcherServices& services)
{
    return services.programFolder + "/" + kProgramName;
}

bool StartQuorin(const SwitcherServices& services)
{
    if (ShellRun(*services.launcher, *services.prompter, QuorinPath(services), {}, services.programFolder))
        return true;
    ShowSupportBox(*services.prompter);
    return false;
}

SwitcherStart Main(const SwitcherServices& services)
{
    if (!UseWindowsBluetooth(*services.registry, *services.stackProbe, *services.osVersion))
        return SwitcherStart::ShowForm;
    // What a first run decided is quorin's factory value too: a store that
    // cannot be written does not stop the start.
    (void)services.registry->Flush();
    std::error_code error;
    if (!std::filesystem::is_regular_file(QuorinPath(services), error))
        ShowSupportBox(*services.prompter);
    else
        (void)StartQuorin(services);
    return SwitcherStart::Ended;
}
