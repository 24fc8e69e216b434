// Follows the expansion of the date, time and countdown fields of a
// formatted line, with the core's formatters and countdown code, and records
// what each field was, what it became and, for a countdown, from which day
// the prefix colour shows.
#pragma once

#include <cstdint>
#include <string>

#include "markup/civil_date.h"
#include "markup/sjis_string.h"
#include "system/types.h"

namespace kn::explain {

struct FieldTrace {
  bool found = false;
  std::string written;   // keyword, pattern and the byte after the pattern
  std::string pattern;   // empty: the default pattern
  bool closed = false;   // the pattern ended at a `%`
  bool patternCut = false;             // 50 bytes without `%`; the byte after them went too
  bool closingOpensCountdown = false;  // the closing `%` begins what would be a countdown
  std::string value;                   // the text that replaced the field
  bool laterKeyword = false;           // another field of the kind stays as written
};

// Expand the first "%DATE" (or "%TIME") field of the text as the interpreter
// does, and say what was expanded.
FieldTrace TraceDateField(SjisString& text, const BrokenDownTime& now);
FieldTrace TraceTimeField(SjisString& text, const BrokenDownTime& now);

enum class CountdownState {
  kNone,             // the text's first `%` does not begin one and none follows
  kNotFirstPercent,  // a countdown follows, but the first `%` of the text is not it
  kNotClosed,        // `%` and a marker, but no closing `%` in reach
  kExpanded,
};

struct CountdownTrace {
  CountdownState state = CountdownState::kNone;
  int hiddenAt = 0;         // kNotFirstPercent: 1-based position of the later field in the text
  char marker = 0;          // '!', '$' or '@'
  std::string written;      // the field as written, `%` to `%`
  std::string dateBytes;    // the eight bytes after the marker
  std::string offsetBytes;  // the bytes between the date and the closing `%`
  std::int32_t threshold = 0;
  bool dateValid = false;   // all eight date bytes are digits
  int writtenYear = 0, writtenMonth = 0, writtenDay = 0;
  CivilDate date{};         // the written date with months and days carried over
  bool carried = false;     // date differs from what was written
  std::int32_t dayCount = 1;      // this field's count
  std::string shown;              // how this field is drawn
  std::int32_t colorCount = 1;    // the count the colour rule used (the line's last field)
  bool colorShowsToday = false;   // the prefix colour is kept today
  bool hasFirstColorDay = false;
  CivilDate firstColorDay{};      // the first day the prefix colour shows
  bool strayAngle = false;        // another `<` in the text turns into the error text
};

// The countdown step on the text left by the date and time fields: expands
// it with ExpandCountdownField and explains it.
CountdownTrace TraceCountdown(SjisString& text, const BrokenDownTime& now);

// True when the text's first `%` would open a countdown (fields of a line
// without prefix are not expanded; this tells the author they are there).
bool HoldsCountdown(const SjisString& text, const BrokenDownTime& now);

}  // namespace kn::explain
