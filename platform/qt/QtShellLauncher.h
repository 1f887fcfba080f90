#pragma once
// Program starts with QProcess::startDetached: nothing waits for the program.
// Documents and addresses open with QDesktopServices on the UI thread.
#include "platform/ShellLauncher.h"

class CQtShellLauncher : public IShellLauncher {
public:
    int StartProgram(const std::string& file, const std::vector<std::string>& arguments,
                     const std::string& folder) override;
    // A path is checked here first (folder, file, read access); a Windows
    // program (".exe") cannot run here and is refused as not runnable.
    int OpenDocument(const std::string& target) override;
};
