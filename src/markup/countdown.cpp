#include "markup/countdown.h"

#include <cstdio>
#include <limits>

#include "markup/civil_date.h"
#include "markup/text_convert.h"

namespace kn {
namespace {

constexpr std::size_t kDateLength = 8;
constexpr std::size_t kMaxOffsetLength = 4;

bool IsMarker(char c) { return c == '!' || c == '$' || c == '@'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsOffsetByte(char c) { return IsDigit(c) || c == '+' || c == '-'; }

std::int32_t ClampToInt32(std::int64_t value) {
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value < kMin ? kMin : (value > kMax ? kMax : value));
}

// Whole calendar days from today's local date to the given date; time of day
// and daylight saving play no part.
std::int32_t DaysFromToday(std::int32_t year, std::int32_t month, std::int32_t day,
                           const BrokenDownTime& now) {
  const std::int64_t today =
      DaysFromCivil(std::int64_t{now.year} + 1900, std::int64_t{now.mon} + 1, now.mday);
  return ClampToInt32(DaysFromCivil(year, month, day) - today);
}

// The first eight digits between the marker and the closing `>`.
struct DateDigits {
  char digits[kDateLength] = {};
  std::size_t count = 0;
};

DateDigits CollectDigits(std::string_view body) {
  DateDigits date;
  for (char c : body) {
    if (IsDigit(c) && date.count < kDateLength) date.digits[date.count++] = c;
  }
  return date;
}

void AppendCount(std::string& out, std::int32_t count, char marker) {
  if (marker == '@') return;
  char text[16];
  const int length = std::snprintf(text, sizeof text, "%d", static_cast<int>(count));
  for (int k = 0; k < length; ++k) {
    if (marker != '$') {
      out.push_back(text[k]);
    } else if (text[k] == '-') {
      out.append("\x81\x7C");  // －
    } else {
      out.push_back('\x82');  // ０ to ９
      out.push_back(static_cast<char>(0x4F + (text[k] - '0')));
    }
  }
}

// Where a countdown field stands: the text's first `%` at `percent`, its
// marker after it, eight date bytes, and the closing `%` at `close`, at most
// four bytes after the date. `close` is npos when the first `%` opens no
// field.
struct CountdownField {
  std::size_t percent = std::string_view::npos;
  std::size_t close = std::string_view::npos;
};

CountdownField FindCountdownField(std::string_view t) {
  CountdownField field;
  // 0-based: `%` at p, marker at p + 1, date bytes p + 2 ... p + 9; the closing
  // `%` must stand at p + 10 ... p + 14 and inside the text.
  const std::size_t p = t.find('%');
  field.percent = p;
  if (p == std::string_view::npos || p + 1 >= t.size() || !IsMarker(t[p + 1])) return field;
  const std::size_t dateEnd = p + 2 + kDateLength;
  if (dateEnd >= t.size()) return field;
  // A `%` after a lead byte is no closing mark; without one the last byte is
  // tried.
  const std::size_t close = dateEnd + static_cast<std::size_t>(CharIndexOrLast(t.substr(dateEnd), '%'));
  if (t[close] != '%' || close > dateEnd + kMaxOffsetLength) return field;
  field.close = close;
  return field;
}

// The first `%` followed by a marker, 1-based, or 0.
int LaterCountdownMark(std::string_view t) {
  for (std::size_t i = t.find('%'); i != std::string_view::npos; i = t.find('%', i + 1)) {
    if (i + 1 < t.size() && IsMarker(t[i + 1])) return static_cast<int>(i) + 1;
  }
  return 0;
}

// How the field was written, and why it opened no countdown when it did not.
void TraceFieldAsWritten(std::string_view t, const CountdownField& found, CountdownTrace& c) {
  const std::size_t p = found.percent;
  if (p == std::string_view::npos) return;
  if (p + 1 >= t.size() || !IsMarker(t[p + 1])) {
    c.hiddenAt = LaterCountdownMark(t);
    if (c.hiddenAt != 0) c.state = CountdownState::kNotFirstPercent;
    return;
  }
  c.marker = t[p + 1];
  c.dateBytes = std::string(t.substr(p + 2, kDateLength));
  if (found.close == std::string_view::npos) {
    c.state = CountdownState::kNotClosed;
    return;
  }
  const std::size_t close = found.close;
  const std::size_t dateEnd = p + 2 + kDateLength;
  c.state = CountdownState::kExpanded;
  c.written = std::string(t.substr(p, close - p + 1));
  c.offsetBytes = std::string(t.substr(dateEnd, close - dateEnd));
  c.strayAngle = t.substr(0, p).find('<') != std::string_view::npos ||
                 t.substr(close + 1).find('<') != std::string_view::npos;
}

// This field's own count and date, and from which day the colour shows.
void TraceCount(const CountdownOutcome& outcome, const BrokenDownTime& now, CountdownTrace& c) {
  c.dayCount = ExpandCountdowns(c.shown, std::string("<") + c.marker + c.dateBytes + ">", now);
  c.dateValid = c.dateBytes.size() == kDateLength;
  for (char b : c.dateBytes) c.dateValid = c.dateValid && IsDigit(b);
  c.threshold = outcome.threshold;
  c.colorCount = outcome.dayCount;
  c.colorShowsToday = !outcome.RestoresEntryColor();
  if (!c.dateValid) return;
  const std::string_view digits = c.dateBytes;
  c.writtenYear = LeadingInteger(digits.substr(0, 4));
  c.writtenMonth = LeadingInteger(digits.substr(4, 2));
  c.writtenDay = LeadingInteger(digits.substr(6, 2));
  const std::int64_t days = DaysFromCivil(c.writtenYear, c.writtenMonth, c.writtenDay);
  c.date = CivilFromDays(days);
  c.carried = c.date.year != c.writtenYear || c.date.month != c.writtenMonth || c.date.day != c.writtenDay;
  if (c.colorCount != c.dayCount) return;
  // The colour shows once the count has fallen to the threshold: from the
  // date moved back by the threshold.
  c.firstColorDay = CivilFromDays(days - c.threshold);
  c.hasFirstColorDay = true;
}

}  // namespace

std::int32_t ExpandCountdowns(std::string& out, std::string_view text, const BrokenDownTime& now) {
  out.clear();
  out.reserve(text.size() + 16);
  std::int32_t result = 1;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t open = text.find('<', i);
    if (open == std::string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    out.append(text.substr(i, open - i));
    const std::size_t close = text.find('>', open + 1);
    const std::size_t end = close == std::string_view::npos ? text.size() : close;
    i = close == std::string_view::npos ? text.size() : close + 1;

    const char marker = open + 1 < text.size() ? text[open + 1] : '\0';
    if (!IsMarker(marker)) {
      out.append(kCountdownErrorText);
      continue;
    }
    const DateDigits date = CollectDigits(text.substr(open + 2, end - (open + 2)));
    if (date.count < kDateLength) {
      out.append(kCountdownErrorText);
      continue;
    }
    const std::string_view digits(date.digits, kDateLength);
    result = DaysFromToday(LeadingInteger(digits.substr(0, 4)), LeadingInteger(digits.substr(4, 2)),
                           LeadingInteger(digits.substr(6, 2)), now);
    AppendCount(out, result, marker);
  }
  return result;
}

CountdownOutcome ExpandCountdownField(SjisString& text, const BrokenDownTime& now,
                                      CountdownTrace* trace) {
  const std::string_view t = text.View();
  const CountdownField found = FindCountdownField(t);
  if (trace) TraceFieldAsWritten(t, found, *trace);
  if (found.close == std::string_view::npos) return {};
  const std::size_t p = found.percent;
  const std::size_t close = found.close;
  const std::size_t dateEnd = p + 2 + kDateLength;

  const std::string_view offsetBytes = t.substr(dateEnd, close - dateEnd);
  std::size_t taken = 0;
  while (taken < offsetBytes.size() && IsOffsetByte(offsetBytes[taken])) ++taken;

  CountdownOutcome outcome;
  outcome.expanded = true;
  // At most four bytes, so the negation cannot overflow.
  outcome.threshold = -LeadingInteger(offsetBytes.substr(0, taken));

  std::string field;
  field.reserve(t.size());
  field.append(t.substr(0, p));
  field.push_back('<');
  field.append(t.substr(p + 1, 1 + kDateLength));
  field.push_back('>');
  field.append(t.substr(close + 1));

  std::string expanded;
  outcome.dayCount = ExpandCountdowns(expanded, field, now);
  if (trace) TraceCount(outcome, now, *trace);
  text = SjisString(std::move(expanded));
  return outcome;
}

bool OpensCountdown(std::string_view text) {
  return FindCountdownField(text).close != std::string_view::npos;
}

}  // namespace kn
