#pragma once
// Our strings are UTF-8; the recording files and the review programs that
// read them use the Western single-byte code page (Windows-1252).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Each code point to its Windows-1252 byte; '?' for a code point the code
// page lacks and for each malformed UTF-8 sequence. Never throws.
std::string Utf8ToWindows1252(std::string_view utf8);

// Each byte to its code point in UTF-8; a byte the code page leaves
// undefined becomes '?'. Never throws.
std::string Windows1252ToUtf8(std::string_view text);

// Converts `utf8` and copies at most fieldSize - 1 bytes of the result into
// the field; every byte after them is zero, so the field always ends in a
// zero. Nothing happens for a zero-sized field.
void CopyTextField(uint8_t* field, std::size_t fieldSize, std::string_view utf8);
