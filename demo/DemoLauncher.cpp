#include "demo/DemoLauncher.h"

#include "app/QuorinAppCore.h"
#include "app/SettingsNames.h"

void StartQuorinDemo(IShellLauncher& launcher, const std::string& folder)
{
    (void)launcher.StartProgram(folder + "/" + kProgramName, {kDemoSwitch}, folder);
}
