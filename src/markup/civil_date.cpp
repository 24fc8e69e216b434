#include "markup/civil_date.h"

#include "system/clock.h"

namespace kn {
namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

// Howard Hinnant's days_from_civil for a valid month 1-12.
std::int64_t DaysFromValidMonth(std::int64_t y, std::int64_t m) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = FloorDiv(y, 400);
  const std::int64_t yoe = y - era * 400;
  const std::int64_t mp = (m + 9) % 12;
  const std::int64_t doy = (153 * mp + 2) / 5;  // first day of the month
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

std::int32_t ClampToInt32(std::int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

}  // namespace

std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
  const std::int64_t m0 = month - 1;
  const std::int64_t carry = FloorDiv(m0, 12);
  return DaysFromValidMonth(year + carry, m0 - carry * 12 + 1) + day - 1;
}

// Howard Hinnant's civil_from_days.
CivilDate CivilFromDays(std::int64_t days) {
  const std::int64_t z = days + 719468;
  const std::int64_t era = FloorDiv(z, 146097);
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  return {year, month, day};
}

int WeekdayFromDays(std::int64_t days) {
  // 1970-01-01 was a Thursday.
  std::int64_t w = (days + 4) % 7;
  if (w < 0) w += 7;
  return static_cast<int>(w);
}

int DayOfYear(int year, int month, int day) {
  return static_cast<int>(DaysFromCivil(year, month, day) - DaysFromCivil(year, 1, 1));
}

// Fields out of range carry over as mktime carries them (second 60 is the
// next minute, 2000-02-30 is 2000-03-01), so the result is always a real
// date with a consistent weekday and day of the year.
BrokenDownTime MakeLocalTime(int year, int month, int day, int hour, int minute, int second) {
  const std::int64_t seconds = std::int64_t{hour} * 3600 + std::int64_t{minute} * 60 + second;
  const std::int64_t dayCarry = FloorDiv(seconds, 86400);
  const std::int64_t secondOfDay = seconds - dayCarry * 86400;
  const std::int64_t days = DaysFromCivil(year, month, day) + dayCarry;
  const CivilDate date = CivilFromDays(days);

  BrokenDownTime t{};
  t.sec = static_cast<std::int32_t>(secondOfDay % 60);
  t.min = static_cast<std::int32_t>(secondOfDay / 60 % 60);
  t.hour = static_cast<std::int32_t>(secondOfDay / 3600);
  t.mday = date.day;
  t.mon = date.month - 1;
  t.year = ClampToInt32(date.year - 1900);
  t.wday = WeekdayFromDays(days);
  t.yday = static_cast<std::int32_t>(days - DaysFromCivil(date.year, 1, 1));
  t.isdst = 0;
  return t;
}

}  // namespace kn
