#include "NorqRemoteSwitcher/ShellRun.h"

#include <map>

std::string ShellRunMessage(int code)
{
    static const std::map<int, std::string> messages = {
        {0, "Insufficent system memory or resources."},
        {2, "File Not found."},
        {3, "Invalid path."},
        {5, "File name association is incomplete or invalid."},
        {8, "Insufficient memory To run the program."},
        {11, "Invalid EXE file or error in EXE image."},
        {26, "A sharing violation occurred."},
        {27, "Incomplete or invalid file association."},
        {28, "DDE time out."},
        {29, "DDE transaction failed."},
        {30, "DDE busy."},
        {31, "No association for file extension."},
        {32, "A required DLL file is not found."},
    };
    const auto found = messages.find(code);
    return found == messages.end() ? std::string() : found->second;
}

bool ShellRun(IShellLauncher& launcher, IPrompter& prompter, const std::string& file,
              const std::vector<std::string>& arguments, const std::string& folder)
{
    const int code = launcher.StartProgram(file, arguments, folder);
    const std::string message = ShellRunMessage(code);
    if (code > 32 || message.empty())
        return true;
    prompter.MessageBox(message, "Error running " + file, kMbOk | kMbIconError);
    return false;
}

void ShowSupportBox(IPrompter& prompter)
{
    prompter.MessageBox(kSupportText, kSupportCaption, kMbOk | kMbIconError);
}
