#pragma once
// The one way files that must not be lost are made and named: a new file is
// created only where nothing exists, a name is given only where none exists,
// and bytes go to an explicit offset.
#include <cstddef>
#include <cstdint>
#include <string>

// Opens a new file for writing (mode 0644), never an existing one. Returns
// the descriptor, or -1 with errno in `error` (EEXIST when the name is taken).
int CreateNewFile(const std::string& path, int& error);

// Gives `from` the name `to` only when `to` does not exist (EEXIST
// otherwise). On a file system that refuses the no-replace flag, a hard link
// and an unlink do the same; either way nothing is ever replaced.
bool RenameNoReplace(const std::string& from, const std::string& to, int& error);

// Writes all `size` bytes at `offset`, looping over short writes and
// retrying interrupted ones. False with errno in `error` on failure.
bool WriteAllAt(int fd, uint64_t offset, const uint8_t* data, std::size_t size, int& error);
