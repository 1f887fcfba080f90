#pragma once
#include <string>

// The user's documents folder: $XDG_DOCUMENTS_DIR, else the DOCUMENTS entry
// of ~/.config/user-dirs.dirs, else $HOME/Documents. Created with all its
// parents when missing. False when no folder can be had; `out` is then
// left unchanged.
[[nodiscard]] bool GetMyDocumentsFolder(std::string& out);

// Creates a folder with all missing parents; true when it exists afterwards.
[[nodiscard]] bool CreateFolderWithParents(const std::string& path);


// Whether a file can be made in the folder: tried with a file of our own,
// removed at once, since permission bits say nothing of /proc or a
// read-only mount (and root passes every permission test).
[[nodiscard]] bool CanWriteInFolder(const std::string& path);
