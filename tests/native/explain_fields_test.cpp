// The explainer's account of date, time and countdown fields: values,
// thresholds and the first day a countdown line shows its prefix colour,
// evaluated on a chosen day as --today does.
#include <gtest/gtest.h>

#include <string>

#include "explain/explain_options.h"
#include "explain/line_explanation.h"
#include "system/clock.h"
#include "markup/civil_date.h"
#include "markup/countdown.h"

namespace kn::explain {
namespace {

const std::string kAka = "\x90\xD4";  // 赤
const ColorRef kRed = MakeRgb(255, 0, 0);

// As kn-explain --today DAY evaluates, at noon.
LineExplanation ExplainOn(const std::string& line, const char* day) {
  const std::optional<ExplainDay> today = ParseDay(std::string(day) + "120000");
  EXPECT_TRUE(today.has_value());
  const FixedClock clock(EvaluationTime(today, MakeLocalTime(1990, 1, 1, 3, 4, 5)));
  return ExplainLine(line, 1, DefaultSettings(), clock);
}

TEST(ExplainFields, DateAndTimeValues) {
  const LineExplanation e = ExplainOn("#|Today %DATE% at %TIMEhh:mm%!", "20000105");
  EXPECT_TRUE(e.date.found);
  EXPECT_EQ(e.date.written, "%DATE%");
  EXPECT_EQ(e.date.pattern, "");
  EXPECT_EQ(e.date.value, "2000/01/05(Wed)");
  EXPECT_EQ(e.time.written, "%TIMEhh:mm%");
  EXPECT_EQ(e.time.pattern, "hh:mm");
  EXPECT_EQ(e.time.value, "12:00");
  EXPECT_EQ(e.prepared.Drawn(), "Today 2000/01/05(Wed) at 12:00!");
  EXPECT_TRUE(e.notes.empty());
}

struct FieldNoteCase {
  const char* name;
  std::string line;
  NoteKind kind;
};

const FieldNoteCase kFieldNotes[] = {
    {"second date field", "#|%DATEYYYY% and %DATEYYYY%", NoteKind::kFieldNotExpanded},
    {"second time field", "#|%TIME% %time%", NoteKind::kFieldNotExpanded},
    {"pattern of 50 bytes eats the next", "#|%DATE" + std::string(50, 'x') + "Z", NoteKind::kDatePatternCut},
    {"date field takes the countdown's %", "#|%DATE %!20001231%\x93\xFA", NoteKind::kFieldTakesCountdownMark},
};

TEST(ExplainFields, Notes) {
  for (const FieldNoteCase& c : kFieldNotes) {
    SCOPED_TRACE(c.name);
    const LineExplanation e = ExplainOn(c.line, "20001225");
    EXPECT_TRUE(HasNote(e.notes, c.kind));
  }
  const LineExplanation cut = ExplainOn("#|%DATE" + std::string(50, 'x') + "Z", "20001225");
  EXPECT_TRUE(cut.date.patternCut);
  EXPECT_EQ(cut.date.written.back(), 'Z');
}

struct CountdownCase {
  const char* name;
  std::string line;
  const char* today;
  std::int32_t dayCount;
  std::int32_t threshold;
  const char* shown;
  bool colorToday;
  int firstYear, firstMonth, firstDay;  // 0: no first colour day
};

const CountdownCase kCountdowns[] = {
    {"days left", "#c" + kAka + "|%!20001231%", "20001225", 6, 0, "6", false, 2000, 12, 31},
    {"on the date", "#c" + kAka + "|%!20001231%", "20001231", 0, 0, "0", true, 2000, 12, 31},
    {"after the date", "#c" + kAka + "|%!20001231%", "20010102", -2, 0, "-2", true, 2000, 12, 31},
    {"offset -3 before its day", "#c" + kAka + "|%!20001231-3%", "20001227", 4, 3, "4", false, 2000, 12, 28},
    {"offset -3 on its day", "#c" + kAka + "|%!20001231-3%", "20001228", 3, 3, "3", true, 2000, 12, 28},
    {"offset +2 across the year", "#c" + kAka + "|%!20001231+2%", "20010101", -1, -2, "-1", false, 2001, 1, 2},
    {"offset +2 on its day", "#c" + kAka + "|%!20001231+2%", "20010102", -2, -2, "-2", true, 2001, 1, 2},
    {"full-width digits", "#c" + kAka + "|%$20001220%", "20001225", -5, 0, "\x81\x7C\x82\x54", true, 2000, 12, 20},
    {"hidden count", "#c" + kAka + "|%@20001225%", "20001225", 0, 0, "", true, 2000, 12, 25},
    {"carried date", "#c" + kAka + "|%!20000230%", "20000301", 0, 0, "0", true, 2000, 3, 1},
    {"bad date keeps the entry colour", "#c" + kAka + "|%!2000ABCD%", "20001225", 1, 0, nullptr, false, 0, 0, 0},
    {"bad date with threshold 1 shows it", "#c" + kAka + "|%!2000ABCD-1%", "20001225", 1, 1, nullptr, true, 0, 0, 0},
};

TEST(ExplainFields, CountdownColourDay) {
  for (const CountdownCase& c : kCountdowns) {
    SCOPED_TRACE(c.name);
    const LineExplanation e = ExplainOn(c.line, c.today);
    const CountdownTrace& cd = e.countdown;
    ASSERT_EQ(cd.state, CountdownState::kExpanded);
    EXPECT_EQ(cd.dayCount, c.dayCount);
    EXPECT_EQ(cd.threshold, c.threshold);
    EXPECT_EQ(cd.shown, c.shown ? std::string(c.shown) : std::string(kCountdownErrorText));
    EXPECT_EQ(cd.colorShowsToday, c.colorToday);
    // The explanation matches the colour the chip draws.
    EXPECT_EQ(e.prepared.format.color == kRed, c.colorToday);
    EXPECT_EQ(cd.hasFirstColorDay, c.firstYear != 0);
    if (c.firstYear != 0) {
      EXPECT_EQ(cd.firstColorDay.year, c.firstYear);
      EXPECT_EQ(cd.firstColorDay.month, c.firstMonth);
      EXPECT_EQ(cd.firstColorDay.day, c.firstDay);
    }
  }
}

TEST(ExplainFields, CountdownFieldAsWritten) {
  const LineExplanation e = ExplainOn("#|\x82\xA0\x82\xC6%!20001231-3%\x93\xFA", "20001225");
  EXPECT_EQ(e.countdown.marker, '!');
  EXPECT_EQ(e.countdown.written, "%!20001231-3%");
  EXPECT_EQ(e.countdown.dateBytes, "20001231");
  EXPECT_EQ(e.countdown.offsetBytes, "-3");
  EXPECT_EQ(e.prepared.Drawn(), "\x82\xA0\x82\xC6" "6\x93\xFA");  // あと6日
}

struct CountdownNoteCase {
  const char* name;
  std::string line;
  CountdownState state;
  NoteKind kind;
};

const CountdownNoteCase kCountdownNotes[] = {
    {"an earlier percent hides it", "#|50% %!20001231%", CountdownState::kNotFirstPercent,
     NoteKind::kCountdownNotFirstPercent},
    {"no closing percent", "#|%!20001231", CountdownState::kNotClosed, NoteKind::kCountdownNotClosed},
    {"closing percent too far", "#|%!20001231abcde%", CountdownState::kNotClosed, NoteKind::kCountdownNotClosed},
    {"slashes in the date", "#|%!2000/12/31%", CountdownState::kExpanded, NoteKind::kCountdownBadDate},
    {"carried date", "#|%!20001232%", CountdownState::kExpanded, NoteKind::kCountdownDateCarried},
    {"a stray angle", "#|a<b %!20001231%", CountdownState::kExpanded, NoteKind::kCountdownStrayAngle},
    {"another field decides the colour", "#|%!20001231% <!20010101>", CountdownState::kExpanded,
     NoteKind::kCountdownOtherCount},
};

TEST(ExplainFields, CountdownNotes) {
  for (const CountdownNoteCase& c : kCountdownNotes) {
    SCOPED_TRACE(c.name);
    const LineExplanation e = ExplainOn(c.line, "20001225");
    EXPECT_EQ(e.countdown.state, c.state);
    EXPECT_TRUE(HasNote(e.notes, c.kind));
  }
}

TEST(ExplainFields, OtherFieldCountDecidesNoFirstDay) {
  const LineExplanation e = ExplainOn("#c" + kAka + "|%!20001231% <!20010101>", "20001225");
  EXPECT_EQ(e.countdown.dayCount, 6);
  EXPECT_EQ(e.countdown.colorCount, 7);
  EXPECT_FALSE(e.countdown.hasFirstColorDay);
}

TEST(ExplainFields, NothingExpandsWithoutPrefix) {
  const LineExplanation e = ExplainOn("Today %DATE% %!20001231%", "20001225");
  EXPECT_FALSE(e.date.found);
  EXPECT_EQ(e.countdown.state, CountdownState::kNone);
  EXPECT_EQ(e.prepared.Drawn(), "Today %DATE% %!20001231%");
  EXPECT_NE(FindNote(e.notes, NoteKind::kFieldWithoutPrefix)->text.find("%DATE, countdown"), std::string::npos);
}

}  // namespace
}  // namespace kn::explain
