#pragma once
// The text of one value as it stands in an INI file of QSettings.
#include <QString>
#include <optional>

// The text after '=' on the line that holds `key` ("a/b/c": section [a], key
// b\c; a key without '/' is in [General]), trimmed at both ends and cut at a
// comment, with any quotes and escapes as written; the last such line wins.
// Nothing when the file cannot be read or holds no such line.
std::optional<QString> IniLineValue(const QString& fileName, const QString& key);
