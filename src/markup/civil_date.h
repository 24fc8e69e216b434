// Calendar arithmetic on the proleptic Gregorian calendar, free of time zones
// and of the range of a 32-bit calendar time.
#pragma once

#include <cstdint>

#include "system/types.h"

namespace kn {

// Days since 1970-01-01 of the given date. Months and days outside their
// ranges carry over as the C library's mktime normalises them: month 13 is
// January of the next year, month 0 December of the year before, day 0 the
// last day of the month before, 2000-02-30 is 2000-03-01. Any 32-bit year,
// month and day are fine.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day);

// The date of a day number from DaysFromCivil (month 1-12, day 1-31).
struct CivilDate {
  std::int64_t year;
  int month;
  int day;
};
CivilDate CivilFromDays(std::int64_t days);

// Weekday of a day number from DaysFromCivil, 0 = Sunday.
int WeekdayFromDays(std::int64_t days);

// Day of the year (0-based) of a normalised date.
int DayOfYear(int year, int month, int day);

// Builds a broken-down local time from calendar fields (month 1-12); the
// weekday and day of the year are derived from the date.
BrokenDownTime MakeLocalTime(int year, int month, int day, int hour = 0, int minute = 0,
                             int second = 0);

}  // namespace kn
