#pragma once
// The practice's own data for the report headers: eight texts of the
// settings in force, and the rules of the dialog that edits them.
#include <array>
#include <string>
#include <string_view>

#include "app/RemoteConfiguration.h"

enum VetInfoField { kVetClinic, kVetAddress1, kVetAddress2, kVetCity, kVetState, kVetZip, kVetPhone, kVetEmail };
inline constexpr int kVetInfoCount = 8;
using VetInfoStrings = std::array<std::string, kVetInfoCount>;

// What an edit shows of its text, and how far typing may lengthen it.
inline constexpr int kVetInfoShownLength = 33;
inline constexpr int kVetInfoZipLength = 12;

// US codes, one empty entry, Canadian codes: in this order, unsorted.
inline constexpr int kVetInfoStateCount = 73;
extern const std::array<const char*, kVetInfoStateCount> kVetInfoStates;

// The first entry that begins with `stored`, ignoring case (an empty text
// matches the first entry); -1 when none does.
int FindVetInfoState(std::string_view stored);

VetInfoStrings ReadVetInfo(const RemoteConfiguration& config);
void WriteVetInfo(const VetInfoStrings& strings, RemoteConfiguration& config);
