#pragma once
// Program starts with QProcess::startDetached: nothing waits for the program.
#include "platform/ShellLauncher.h"

class CQtShellLauncher : public IShellLauncher {
public:
    int StartProgram(const std::string& file, const std::vector<std::string>& arguments,
                     const std::string& folder) override;
};
