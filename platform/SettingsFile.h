#pragma once
// Settings files: a snapshot of a whole settings key as INI text, marked so
// that an import never takes an unrelated file for settings.
#include <string>

#include "platform/ProfileStore.h"

// Writes every value of `store` to `path`, through a temporary file that
// replaces the old one only once it is complete. False when the key holds
// nothing or the file cannot be written; an old file is then left as it was.
bool ExportSettingsFile(const IProfileStore& store, const std::string& path);

// Reads a settings file; false (and `values` untouched) when it is missing,
// unreadable, unmarked or malformed.
bool ReadSettingsFile(const std::string& path, IProfileStore::Values& values);

// Replaces the whole key with the file's values; changes nothing on failure.
bool ImportSettingsFile(IProfileStore& store, const std::string& path);
