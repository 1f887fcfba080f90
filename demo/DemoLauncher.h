#pragma once
// QuorinDemo's two rules: quorin starts in demo mode from the launcher's
// folder, and the commands 16 to 31 open the about box.
#include <string>

#include "platform/ShellLauncher.h"

inline constexpr unsigned kIdmAboutBox = 16;

inline bool IsAboutCommand(unsigned command) { return command >= kIdmAboutBox && command <= 31; }

// Starts `folder`/quorin with "SIMULATE_DATA" in `folder`. Whether it
// started is not reported: the launcher ends either way.
void StartQuorinDemo(IShellLauncher& launcher, const std::string& folder);
