#pragma once
// Starting a program the switcher's way: a failure gets a box that names
// the file and says why.
#include <string>
#include <vector>

#include "platform/Prompter.h"
#include "platform/ShellLauncher.h"

// The text for a failed start's code; empty for a code without one.
std::string ShellRunMessage(int code);

// True when the program started (or the code is one that counts as such).
bool ShellRun(IShellLauncher& launcher, IPrompter& prompter, const std::string& file,
              const std::vector<std::string>& arguments, const std::string& folder);

// The box that ends every failed start of quorin.
void ShowSupportBox(IPrompter& prompter);
inline constexpr char kSupportText[] = "There was a problem loading Quorin.\nPlease call Norq Technology for support.";
inline constexpr char kSupportCaption[] = "Error";
