#pragma once
#include <string>

// The user's documents folder: $XDG_DOCUMENTS_DIR, else the DOCUMENTS entry
// of ~/.config/user-dirs.dirs, else $HOME/Documents. Created with all its
// parents when missing. False when no folder can be had; `out` is then
// left unchanged.
[[nodiscard]] bool GetMyDocumentsFolder(std::string& out);

// Creates a folder with all missing parents; true when it exists afterwards.
[[nodiscard]] bool CreateFolderWithParents(const std::string& path);

