// Calendar arithmetic: day numbers, mktime-style carrying, weekdays and the
// fixed local times the tests build.
#include "markup/civil_date.h"

#include <gtest/gtest.h>

#include "system/clock.h"

namespace kn {
namespace {

struct DayCase {
  int year;
  int month;
  int day;
  std::int64_t days;  // since 1970-01-01
  int weekday;        // 0 = Sunday
};

TEST(DaysFromCivil, CountsDaysAndWeekdaysAcrossTheCenturies) {
  const DayCase cases[] = {
      {1970, 1, 1, 0, 4},       {1969, 12, 31, -1, 3},   {2000, 1, 1, 10957, 6},
      {2000, 3, 1, 11017, 3},   {2038, 1, 19, 24855, 2}, {2038, 1, 20, 24856, 3},
      {2040, 2, 29, 25626, 3},  {1960, 2, 29, -3594, 1}, {1900, 1, 1, -25567, 1},
      {1600, 3, 1, -135080, 3}, {1, 1, 1, -719162, 1},   {9999, 12, 31, 2932896, 5},
  };
  for (const DayCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day);
    EXPECT_EQ(DaysFromCivil(c.year, c.month, c.day), c.days);
    EXPECT_EQ(WeekdayFromDays(c.days), c.weekday);
    const CivilDate back = CivilFromDays(c.days);
    EXPECT_EQ(back.year, c.year);
    EXPECT_EQ(back.month, c.month);
    EXPECT_EQ(back.day, c.day);
  }
}

struct CarryCase {
  const char* name;
  int year, month, day;     // out of range
  int nYear, nMonth, nDay;  // as mktime normalises it
};

TEST(DaysFromCivil, CarriesOutOfRangeFieldsLikeMktime) {
  const CarryCase cases[] = {
      {"30 February of a leap year", 2000, 2, 30, 2000, 3, 1},
      {"29 February of a common year", 2001, 2, 29, 2001, 3, 1},
      {"29 February 1900 (not leap)", 1900, 2, 29, 1900, 3, 1},
      {"29 February 2100 (not leap)", 2100, 2, 29, 2100, 3, 1},
      {"month 13", 2000, 13, 1, 2001, 1, 1},
      {"month 0", 2000, 0, 1, 1999, 12, 1},
      {"month -11", 2000, -11, 1, 1999, 1, 1},
      {"month -12", 2000, -12, 1, 1998, 12, 1},
      {"month 25", 2000, 25, 1, 2002, 1, 1},
      {"day 0", 2000, 1, 0, 1999, 12, 31},
      {"day 0 of March, leap year", 2000, 3, 0, 2000, 2, 29},
      {"day -1", 2000, 3, -1, 2000, 2, 28},
      {"day 32", 1999, 12, 32, 2000, 1, 1},
      {"day 400", 2000, 1, 400, 2001, 2, 3},
      {"month 0 day 0 before 1970", 1960, 0, 0, 1959, 11, 30},
      {"day 99 after 2038", 2040, 12, 99, 2041, 3, 9},
      {"month 99 day 99", 99, 99, 99, 107, 6, 7},
  };
  for (const CarryCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DaysFromCivil(c.year, c.month, c.day), DaysFromCivil(c.nYear, c.nMonth, c.nDay));
  }
}

TEST(DaysFromCivil, CarriesHugeMonthsAndDaysWithoutOverflow) {
  // A month count near the 32-bit limit is a hundred million years on.
  const int years = 100000000;
  EXPECT_EQ(DaysFromCivil(2000, 12 * years + 1, 1), DaysFromCivil(2000 + years, 1, 1));
  EXPECT_EQ(DaysFromCivil(2000, -12 * years + 1, 1), DaysFromCivil(2000 - years, 1, 1));
  EXPECT_EQ(DaysFromCivil(1970, 1, INT32_MAX), std::int64_t{INT32_MAX} - 1);
  EXPECT_EQ(DaysFromCivil(1970, 1, INT32_MIN), std::int64_t{INT32_MIN} - 1);
  const CivilDate far = CivilFromDays(DaysFromCivil(INT32_MAX, INT32_MAX, INT32_MAX));
  EXPECT_GT(far.year, std::int64_t{INT32_MAX});
  const CivilDate near = CivilFromDays(DaysFromCivil(INT32_MIN, INT32_MIN, INT32_MIN));
  EXPECT_LT(near.year, std::int64_t{INT32_MIN});
}

// Every day from 1 AD to 2400 is one more than the day before, the date
// advances by one, and the weekday cycles.
TEST(CivilFromDays, WalksTheCalendarDayByDay) {
  const std::int64_t first = DaysFromCivil(1, 1, 1);
  const std::int64_t last = DaysFromCivil(2400, 12, 31);
  CivilDate prev = CivilFromDays(first);
  for (std::int64_t d = first + 1; d <= last; ++d) {
    const CivilDate cur = CivilFromDays(d);
    const bool nextDay =
        cur.year == prev.year && cur.month == prev.month && cur.day == prev.day + 1;
    const bool nextMonth = cur.year == prev.year && cur.month == prev.month + 1 && cur.day == 1;
    const bool nextYear = cur.year == prev.year + 1 && cur.month == 1 && cur.day == 1 &&
                          prev.month == 12 && prev.day == 31;
    ASSERT_TRUE(nextDay || nextMonth || nextYear) << "day " << d;
    ASSERT_EQ(DaysFromCivil(cur.year, cur.month, cur.day), d);
    ASSERT_EQ(WeekdayFromDays(d), (WeekdayFromDays(d - 1) + 1) % 7);
    prev = cur;
  }
}

TEST(DayOfYear, CountsFromZeroAndKnowsLeapYears) {
  EXPECT_EQ(DayOfYear(2000, 1, 1), 0);
  EXPECT_EQ(DayOfYear(2000, 3, 1), 60);
  EXPECT_EQ(DayOfYear(2001, 3, 1), 59);
  EXPECT_EQ(DayOfYear(2000, 12, 31), 365);
  EXPECT_EQ(DayOfYear(1900, 12, 31), 364);
}

TEST(MakeLocalTime, FillsTheBrokenDownFields) {
  const BrokenDownTime t = MakeLocalTime(2000, 1, 5, 9, 5, 3);
  EXPECT_EQ(t.year, 100);
  EXPECT_EQ(t.mon, 0);
  EXPECT_EQ(t.mday, 5);
  EXPECT_EQ(t.hour, 9);
  EXPECT_EQ(t.min, 5);
  EXPECT_EQ(t.sec, 3);
  EXPECT_EQ(t.wday, 3);  // Wednesday
  EXPECT_EQ(t.yday, 4);
  EXPECT_EQ(t.isdst, 0);
}

struct LocalCase {
  const char* name;
  int in[6];   // year, month, day, hour, minute, second
  int out[6];  // normalised
  int wday;
  int yday;
};

TEST(MakeLocalTime, NormalisesLikeMktime) {
  const LocalCase cases[] = {
      {"30 February", {2000, 2, 30, 0, 0, 0}, {2000, 3, 1, 0, 0, 0}, 3, 60},
      {"hour 24", {2000, 12, 31, 24, 0, 0}, {2001, 1, 1, 0, 0, 0}, 1, 0},
      {"second -1", {1970, 1, 1, 0, 0, -1}, {1969, 12, 31, 23, 59, 59}, 3, 364},
      {"minute 60", {2038, 1, 19, 3, 60, 7}, {2038, 1, 19, 4, 0, 7}, 2, 18},
      {"month 13", {2040, 13, 1, 12, 0, 0}, {2041, 1, 1, 12, 0, 0}, 2, 0},
      {"month 0", {2000, 0, 15, 0, 0, 0}, {1999, 12, 15, 0, 0, 0}, 3, 348},
  };
  for (const LocalCase& c : cases) {
    SCOPED_TRACE(c.name);
    const BrokenDownTime t = MakeLocalTime(c.in[0], c.in[1], c.in[2], c.in[3], c.in[4], c.in[5]);
    EXPECT_EQ(t.year + 1900, c.out[0]);
    EXPECT_EQ(t.mon + 1, c.out[1]);
    EXPECT_EQ(t.mday, c.out[2]);
    EXPECT_EQ(t.hour, c.out[3]);
    EXPECT_EQ(t.min, c.out[4]);
    EXPECT_EQ(t.sec, c.out[5]);
    EXPECT_EQ(t.wday, c.wday);
    EXPECT_EQ(t.yday, c.yday);
  }
}

}  // namespace
}  // namespace kn
