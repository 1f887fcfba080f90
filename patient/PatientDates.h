#pragma once
// Birth dates and ages. Every function that needs the present takes it as
// `now`, a local wall-clock date; days are calendar days.
#include <optional>
#include <string>
#include <string_view>

#include "platform/OleDate.h"

// The date control takes birth dates from this many days before now up to now.
constexpr int kBirthDateRangeDays = 73050;

// An age as the dialog shows it: years of 365 days, then the months in the
// rest of a year.
struct PatientAge {
    int years = 0;
    int months = 0;

    friend bool operator==(const PatientAge&, const PatientAge&) = default;
};

// The age on `now` of an animal born on `birthDate`: the span in days
// (rounded by half a second away from zero, then cut) / 365, and the
// fraction of the last year times 12, cut. Negative for a birth date after
// now; none when either date is invalid.
std::optional<PatientAge> AgeFromBirthDate(const COleDate& birthDate, const COleDate& now);

// `now` less years x 365 + months x 30 days, at now's time of day; invalid
// when now is.
COleDate BirthDateFromAge(int years, int months, const COleDate& now);

// A new patient's birth date: 1 January of the year before the old birth
// date's year (not the current year); an invalid date stays invalid.
COleDate NewPatientBirthDate(const COleDate& oldBirthDate);

// "%m/%d/%Y" (the record's `birthDateText`); empty for an invalid date.
std::string FormatBirthDateText(const COleDate& birthDate);
// Reads "%m/%d/%Y" (one or two digits for month and day, one to four for
// the year) whatever the locale; invalid for any other text or a day that
// does not exist.
COleDate ParseBirthDateText(std::string_view text);

// Today as "%Y%m%d": the patient ID when no name is given.
std::string DateStamp(const COleDate& now);
