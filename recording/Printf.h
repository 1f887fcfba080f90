#pragma once
// printf-style formatting into a string of the length it needs. Only for
// the program's own formats: text from outside is an argument, never the
// format.
#include <string>

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
