// Countdown fields: "%!YYYYMMDD%" (ASCII digits), "%$YYYYMMDD%" (full-width
// digits) and "%@YYYYMMDD%" (hidden) show the days from today to a date. Up
// to four digit, `+` or `-` bytes before the closing `%` move the day from
// which the prefix colour applies.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "markup/markup_trace.h"
#include "markup/sjis_string.h"
#include "system/types.h"

namespace kn {

// Shown in place of a malformed field: "時間指定ミス%!YYYYMMDD%で指定の事" between
// ASCII double quotes, 35 bytes.
inline constexpr std::string_view kCountdownErrorText =
    "\"\x8E\x9E\x8A\xD4\x8E\x77\x92\xE8\x83\x7E\x83\x58%!YYYYMMDD%"
    "\x82\xC5\x8E\x77\x92\xE8\x82\xCC\x8E\x96\"";

// Expands every `<` of the text: "<!digits>", "<$digits>" and "<@digits>"
// become the day count from today's local date to the date of the first
// eight digits (months and days beyond their range carry over); any other
// `<` through the next `>`, or a field with fewer than eight digits, becomes
// kCountdownErrorText. `out` is replaced by the result. Returns the day
// count of the last field expanded, or 1 when none was.
std::int32_t ExpandCountdowns(std::string& out, std::string_view text, const BrokenDownTime& now);

struct CountdownOutcome {
  bool expanded = false;
  std::int32_t dayCount = 1;
  std::int32_t threshold = 0;  // the negated offset

  // The prefix colour shows once the count has fallen to the threshold.
  bool RestoresEntryColor() const { return expanded && dayCount > threshold; }
};

// The countdown step of a formatted line: when the text's first `%` opens a
// countdown, rewrites the field for ExpandCountdowns and expands the text.
// Otherwise the text stays as written. With a trace, how the field was read
// (or why it opened none) is recorded.
CountdownOutcome ExpandCountdownField(SjisString& text, const BrokenDownTime& now,
                                      CountdownTrace* trace = nullptr);

// True when the text's first `%` opens a countdown field.
bool OpensCountdown(std::string_view text);

}  // namespace kn
