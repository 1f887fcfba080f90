#pragma once
// Patterns in the dialect of the template library's regular expressions, as
// the firmware-file and version-text checks are written: matching ignores
// case, "\b" is a blank or tab, "\d" a digit, "\w" a run of letters, and a
// backslash before any other character makes it literal ("\.", "\+",
// "\-"). Everything else is read as an ECMAScript pattern.
#include <regex>
#include <string>
#include <string_view>

// The pattern as a standard regular expression (case ignored). Throws
// std::regex_error for a malformed pattern: the patterns are the program's
// own.
std::regex TemplatePattern(std::string_view pattern);

// True when `text` holds a match anywhere.
bool TemplatePatternFound(std::string_view pattern, std::string_view text);
