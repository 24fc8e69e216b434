// Countdown fields: detection in a formatted line, ExpandCountdowns, the
// calendar-day count and the colour rule.
#include "markup/countdown.h"

#include <gtest/gtest.h>

#include <string>

#include "markup/line_markup.h"
#include "markup/civil_date.h"

namespace kn {
namespace {

const std::string kAto = "\x82\xA0\x82\xC6";  // あと
const std::string kHi = "\x93\xFA";           // 日
const std::string kShime = "\x92\xF7\x90\xD8";  // 締切
const std::string kAka = "\x90\xD4";          // 赤
const std::string kErr(kCountdownErrorText);
const ColorRef kEntryColor = MakeRgb(1, 2, 3);
const ColorRef kRed = MakeRgb(255, 0, 0);

// Full-width digits ０ to ９ and the full-width minus －.
std::string Wide(const std::string& ascii) {
  std::string out;
  for (char c : ascii) {
    if (c == '-') {
      out += "\x81\x7C";
    } else {
      out += '\x82';
      out += static_cast<char>(0x4F + (c - '0'));
    }
  }
  return out;
}

struct Shown {
  int result;
  std::string visible;
  ColorRef color;
};

Shown Interpret(const std::string& line, const BrokenDownTime& now) {
  const FixedClock clock(now);
  Shown s{0, {}, kEntryColor};
  SjisString visible;
  std::int32_t alignment = 0;
  LogFont font{};
  s.result = InterpretLineMarkup(SjisString(line), visible, alignment, s.color, font, clock);
  s.visible = visible.Bytes();
  return s;
}

// Monday 25 December 2000, 12:00.
const BrokenDownTime kChristmas = MakeLocalTime(2000, 12, 25, 12);

TEST(CountdownLines, ExpandedAtChristmas2000) {
  const struct {
    std::string line;
    std::string visible;
  } cases[] = {
      {"#|" + kAto + "%!20001231%" + kHi, kAto + "6" + kHi},
      {"#|" + kAto + "%$20001231%" + kHi, kAto + Wide("6") + kHi},
      {"#|%!20001220%", "-5"},
      {"#|%$20001220%", Wide("-5")},
      {"#|%$20011225%", Wide("365")},
      {"#|" + kShime + "%@20001225%", kShime},
      {"#|%!20001231-3%x", "6x"},  // the offset changes no number
      {"#|%!20001231+123%", "6"},   // four offset bytes fit
      {"#|%!2000ABCD%", kErr},
      {"#|%!2000/12/31%", kErr},  // "31" is taken for the offset
      {"#|%!2000%231%", kErr},    // a % among the date bytes closes nothing
      {"#|a<b %!20001231%" + kHi, "a" + kErr + kHi},
      {"#|<!20001226> %!20001231%", "1 6"},
      {"#|<x>%!20001231%<", kErr + "6" + kErr},
      {"#|%!20001231\x83%", "6"},  // the lone % after a lead byte is the last byte
      // Not countdowns: shown as written.
      {"#|50% %!20001231%", "50% %!20001231%"},
      {"#|a<b>50%", "a<b>50%"},
      {"#|50%", "50%"},
      {"#|%!", "%!"},
      {"#|%!2000123", "%!2000123"},
      {"#|%!20001231", "%!20001231"},
      {"#|%!20001231ab", "%!20001231ab"},
      {"#|%!20001231+1234%", "%!20001231+1234%"},
      {"#|%!20001231\x83", "%!20001231\x83"},
      {"#|%#20001231%", "%#20001231%"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const Shown s = Interpret(c.line, kChristmas);
    EXPECT_EQ(s.result, 1);
    EXPECT_EQ(s.visible, c.visible);
  }
}

TEST(CountdownLines, LineWithoutPrefixKeepsItsField) {
  EXPECT_EQ(Interpret(kAto + "%!20001231%" + kHi, kChristmas).result, 0);
}

// A short line with several malformed fields grows far beyond twice its
// length.
TEST(CountdownLines, SeveralErrorTextsInAShortLine) {
  const Shown s = Interpret("#|<><><>%!20001231%", kChristmas);
  EXPECT_EQ(s.visible, kErr + kErr + kErr + "6");
  const Shown t = Interpret("#|%!2000ABCD%<><", kChristmas);
  EXPECT_EQ(t.visible, kErr + kErr + kErr);
}

TEST(CountdownColor, PrefixColourShowsFromTheThresholdDayOn) {
  const struct {
    const char* name;
    std::string line;
    BrokenDownTime now;
    ColorRef color;
  } cases[] = {
      {"six days ahead", "#c" + kAka + "|%!20001231%", kChristmas, kEntryColor},
      {"on the day", "#c" + kAka + "|%!20001231%", MakeLocalTime(2000, 12, 31), kRed},
      {"after the day", "#c" + kAka + "|%!20001231%", MakeLocalTime(2001, 1, 3), kRed},
      {"hidden count 0", "#c" + kAka + "|%@20001225%", kChristmas, kRed},
      {"-3 four days ahead", "#c" + kAka + "|%!20001231-3%", MakeLocalTime(2000, 12, 27),
       kEntryColor},
      {"-3 three days ahead", "#c" + kAka + "|%!20001231-3%", MakeLocalTime(2000, 12, 28), kRed},
      {"+2 one day after", "#c" + kAka + "|%!20001231+2%", MakeLocalTime(2001, 1, 1), kEntryColor},
      {"+2 two days after", "#c" + kAka + "|%!20001231+2%", MakeLocalTime(2001, 1, 2), kRed},
      {"error text counts 1", "#c" + kAka + "|%!2000ABCD%", kChristmas, kEntryColor},
      {"error text with -1", "#c" + kAka + "|%!2000ABCD-1%", kChristmas, kRed},
      {"no countdown keeps the colour", "#c" + kAka + "|50%", kChristmas, kRed},
      {"offset ends at a non-offset byte", "#c" + kAka + "|%!20001231-\x83\x40%", kChristmas,
       kEntryColor},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Interpret(c.line, c.now).color, c.color);
  }
}

TEST(ExpandCountdowns, FieldsAndTheirResult) {
  const struct {
    const char* name;
    std::string text;
    std::string out;
    std::int32_t result;
  } cases[] = {
      {"no field", "plain > text", "plain > text", 1},
      {"ascii", "<!20001231>", "6", 6},
      {"wide negative", "<$20001220>", Wide("-5"), -5},
      {"hidden", "a<@20001225>b", "ab", 0},
      {"last field's count", "<!20001231><!20001220>", "6-5", -5},
      {"error keeps the count", "<!20001231><x>", "6" + kErr, 6},
      {"non-digits passed over", "<!2000-12-31>", "6", 6},
      {"digits after the eighth ignored", "<!200012319999>", "6", 6},
      {"unclosed field runs to the end", "<!20001231", "6", 6},
      {"seven digits", "<!2000123>x", kErr + "x", 1},
      {"lone <", "ab<", "ab" + kErr, 1},
      {"marker at the end", "ab<!", "ab" + kErr, 1},
      {"empty brackets", "<>", kErr, 1},
      {"other byte swallows to >", "<a<!20001231>z", kErr + "z", 1},
      {"five errors in ten bytes", "<><><><><>", kErr + kErr + kErr + kErr + kErr, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string out = "stale";
    EXPECT_EQ(ExpandCountdowns(out, c.text, kChristmas), c.result);
    EXPECT_EQ(out, c.out);
  }
}

// Whole calendar days between today's date and the field's normalised date:
// no time of day, no daylight saving, no 1970-2038 limit.
TEST(ExpandCountdowns, CountsCalendarDaysAcrossAnyRange) {
  const struct {
    const char* name;
    BrokenDownTime now;
    const char* field;
    std::int32_t days;
  } cases[] = {
      {"late evening to the next day", MakeLocalTime(1969, 12, 31, 23, 59), "<!19700101>", 1},
      {"before 1970", MakeLocalTime(2000, 1, 1), "<!19690720>", -11122},
      {"after 2038", MakeLocalTime(2000, 1, 1, 0, 30), "<!20400101>", 14610},
      {"1900", MakeLocalTime(2000, 1, 1), "<!19000101>", -36524},
      {"across a spring-forward night", MakeLocalTime(2000, 3, 25, 23, 30), "<!20000327>", 2},
      {"across a fall-back night", MakeLocalTime(2000, 10, 28, 0, 10), "<!20001030>", 2},
      {"February 30th is March 1st", MakeLocalTime(2000, 3, 1, 8), "<!20000230>", 0},
      {"month 13 is January", MakeLocalTime(2001, 1, 1), "<!20001301>", 0},
      {"month 0 is December", MakeLocalTime(1999, 12, 1), "<!20000001>", 0},
      {"day 0 is the last of the month before", MakeLocalTime(2000, 2, 29), "<!20000300>", 0},
      {"year 0", MakeLocalTime(1, 1, 1), "<!00000101>", -366},
      {"far future", MakeLocalTime(2000, 1, 1), "<!99991231>", 2921939},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string out;
    EXPECT_EQ(ExpandCountdowns(out, c.field, c.now), c.days);
    EXPECT_EQ(out, std::to_string(c.days));
  }
}

}  // namespace
}  // namespace kn
