// FormatDate, FormatTime and the "%DATE" / "%TIME" fields of a formatted line.
#include "markup/date_time_format.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "markup/line_markup.h"
#include "markup/civil_date.h"

namespace kn {
namespace {

const std::string kSui = "\x90\x85";  // 水
const std::string kJi = "\x8E\x9E";   // 時
const std::string kFun = "\x95\xAA";  // 分
const std::string kGi = "\x83\x4D";   // ギ: its second byte is 'M'
const std::string kGo = "\x83\x53";   // ゴ: its second byte is 'S'

struct PatternCase {
  std::string pattern;
  std::string expected;
};

// Wednesday 5 January 2000.
TEST(FormatDate, TokensOfAWednesday) {
  const PatternCase cases[] = {
      {"", "2000/01/05(Wed)"},
      {"YY.M.D WW", "00.1.5 " + kSui},
      {"W", "W"},
      {"mm/dd", "01/05"},
      {"yyyy-mm-dd day", "2000-01-05 DAY"},  // "DD" is found before "D" of DAY
      {"YYY", "00Y"},
      {"YYYYYYYY", "2000YYYY"},  // one occurrence per token
      {"WWW WW W", "Wed WW W"},  // one weekday token only
      {"ab" + kSui + "!", "AB" + kSui + "!"},
      {kGi, "\x83" "1"},  // the trail byte M is the month token
      {"mmm", "01M"},
  };
  for (const PatternCase& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(FormatDate(2000, 1, 5, 3, c.pattern).Bytes(), c.expected);
  }
}

TEST(FormatDate, NumbersAndWeekdays) {
  EXPECT_EQ(FormatDate(1999, 12, 31, 5, "YY M D").Bytes(), "99 12 31");
  EXPECT_EQ(FormatDate(5, 3, 9, 0, "YYYY").Bytes(), "0005");
  EXPECT_EQ(FormatDate(2100, 3, 9, 0, "YY").Bytes(), "00");
  const char* names[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  // 日 月 火 水 木 金 土
  const char* kanji[] = {"\x93\xFA", "\x8C\x8E", "\x89\xCE", "\x90\x85",
                         "\x96\xD8", "\x8B\xE0", "\x93\x79"};
  const char* initials[] = {"S", "M", "T", "W", "T", "F", "S"};
  for (int w = 0; w < 7; ++w) {
    SCOPED_TRACE(w);
    EXPECT_EQ(FormatDate(2000, 1, 2 + w, w, "WWW").Bytes(), names[w]);
    EXPECT_EQ(FormatDate(2000, 1, 2 + w, w, "ww").Bytes(), kanji[w]);
    EXPECT_EQ(FormatDate(2000, 1, 2 + w, w, "w").Bytes(), initials[w]);
  }
}

TEST(FormatTime, TokensAtNineOFiveAndThree) {
  const PatternCase cases[] = {
      {"", "09:05:03"},
      {"H" + kJi + "M" + kFun, "9" + kJi + "5" + kFun},
      {"hh:mm", "09:05"},
      {"HHH", "09H"},
      {"s", "3"},
      {"HH:MM:SS SS", "09:05:03 SS"},
      {kGo, "\x83" "3"},  // the trail byte S is the second token
  };
  for (const PatternCase& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(FormatTime(9, 5, 3, c.pattern).Bytes(), c.expected);
  }
  EXPECT_EQ(FormatTime(23, 59, 58, "H:M:S").Bytes(), "23:59:58");
}

// Fields in formatted lines, with the clock at Wednesday 5 January 2000,
// 09:05:03.
struct LineCase {
  std::string line;
  std::string visible;
};

std::string Visible(const std::string& line, int* result = nullptr) {
  const FixedClock clock(MakeLocalTime(2000, 1, 5, 9, 5, 3));
  SjisString visible;
  std::int32_t alignment = 0;
  ColorRef color = 0;
  LogFont font{};
  const int r = InterpretLineMarkup(SjisString(line), visible, alignment, color, font, clock);
  if (result) *result = r;
  return visible.Bytes();
}

TEST(DateTimeFields, ExpandedInFormattedLines) {
  const LineCase cases[] = {
      {"#|Today %DATE%", "Today 2000/01/05(Wed)"},
      {"#|%DATEYY.M.D WW%", "00.1.5 " + kSui},
      {"#|%DATEW%", "W"},
      {"#|%datemm/dd%", "01/05"},
      {"#|%Date%", "2000/01/05(Wed)"},
      {"#|%DATEyyyy-mm-dd day%", "2000-01-05 DAY"},
      {"#|%DATEYYY%", "00Y"},
      {"#|%TIME%", "09:05:03"},
      {"#|%TIMEH" + kJi + "M" + kFun + "%", "9" + kJi + "5" + kFun},
      {"#|%TIMEhh:mm%", "09:05"},
      {"#|%DATEYYYY% and %DATEYYYY%", "2000 and %DATEYYYY%"},
      {"#|%DATEYYYY", "2000"},
      {"#|%DATE", "2000/01/05(Wed)"},
      {"#|%DATE%%TIME%", "2000/01/05(Wed)09:05:03"},
      {"#|%TIMEHH%-%DATEDD%", "09-05"},
      {"#|%DATE %!20001231%\x93\xFA", " !20001231%\x93\xFA"},
      {"#|at %TIME%!", "at 09:05:03!"},
      {"#|%DATE\x83", "\x83"},  // a lone lead byte as the whole pattern
      {"#|%DATE" + std::string(60, 'x') + "%",  // cut at 50, the 51st byte goes
       std::string(50, 'X') + std::string(9, 'x') + "%"},
      {"#|%DATE" + std::string(50, 'x') + "%x", std::string(50, 'X') + "x"},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.line);
    int result = 0;
    EXPECT_EQ(Visible(c.line, &result), c.visible);
    EXPECT_EQ(result, 1);
  }
}

TEST(DateTimeFields, LineWithoutPrefixIsNotExpanded) {
  int result = -1;
  Visible("Today %DATE% %TIME%", &result);
  EXPECT_EQ(result, 0);
}

// Counts its readings, so the interpreter is seen to use the clock it is
// given, once per line, and only when a field could need it.
class CountingClock final : public Clock {
 public:
  BrokenDownTime LocalNow() const override {
    ++reads;
    return MakeLocalTime(2000, 12, 25, 12);
  }
  mutable int reads = 0;
};

TEST(DateTimeFields, ClockIsReadOncePerLineAndOnlyWhenNeeded) {
  const struct {
    const char* line;
    int reads;
  } cases[] = {{"#|%DATE% %TIME% %!20001231%", 1}, {"#|no fields", 0}, {"#|%", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    CountingClock clock;
    SjisString visible;
    std::int32_t alignment = 0;
    ColorRef color = 0;
    LogFont font{};
    InterpretLineMarkup(SjisString(c.line), visible, alignment, color, font, clock);
    EXPECT_EQ(clock.reads, c.reads);
  }
}


// Numbers are written as printf's "%0Nd" would write them, extremes and
// negative values included (a field can hold a year far outside 1900-2099).
TEST(FormatNumbers, AsPrintfWritesThem) {
  const int values[] = {0, 5, -5, 9, 10, 99, 100, 999, 1000, 12345, -12345, 2147483647, -2147483647 - 1};
  for (int v : values) {
    char four[32], two[32], one[32];
    std::snprintf(four, sizeof four, "%04d", v);
    std::snprintf(two, sizeof two, "%02d", v);
    std::snprintf(one, sizeof one, "%d", v);
    EXPECT_EQ(FormatDate(v, v, v, 0, "YYYY").Bytes(), four) << v;
    EXPECT_EQ(FormatDate(2000, v, v, 0, "MM DD").Bytes(), std::string(two) + " " + two) << v;
    EXPECT_EQ(FormatDate(2000, v, v, 0, "M D").Bytes(), std::string(one) + " " + one) << v;
    EXPECT_EQ(FormatTime(v, v, v, "HH:MM:SS").Bytes(), std::string(two) + ":" + two + ":" + two) << v;
    EXPECT_EQ(FormatTime(v, 0, 0, "H").Bytes(), one) << v;
  }
}

}  // namespace
}  // namespace kn
