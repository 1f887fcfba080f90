#pragma once
#include <string>

// Enables (or disables) a named privilege of the process. This build needs
// no privilege to save or restore its own settings, so the two the settings
// files use succeed at once; any other name is unknown (false).
[[nodiscard]] bool EnablePrivilege(bool enable, const std::string& name);
