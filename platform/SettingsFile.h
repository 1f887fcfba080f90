#pragma once
// Settings files: a snapshot of a whole settings key as INI text, marked so
// that an import never takes an unrelated file for settings.
#include <string>

#include "platform/ProfileStore.h"

// Writes every value of `store` to `path`, through a temporary file that
// replaces the old one only once it is complete. False when the key holds
// nothing or the file cannot be written; an old file is then left as it was.
bool ExportSettingsFile(const IProfileStore& store, const std::string& path);

// The text of a settings file holding `values`; false when a section name
// cannot be written.
bool SettingsText(const IProfileStore::Values& values, std::string& out);

// Parses the text of a settings file; false (and `values` untouched) when it
// is unmarked or malformed.
bool ParseSettingsText(const std::string& text, IProfileStore::Values& values);

// Reads a settings file; false (and `values` untouched) when it is missing,
// unreadable, unmarked or malformed.
bool ReadSettingsFile(const std::string& path, IProfileStore::Values& values);

// Replaces the whole key with the file's values; changes nothing on failure.
bool ImportSettingsFile(IProfileStore& store, const std::string& path);
