#include "explain/field_trace.h"

#include <string_view>

#include "markup/countdown.h"
#include "markup/date_time_format.h"
#include "markup/text_convert.h"

namespace kn::explain {
namespace {

constexpr std::size_t kMaxPattern = 50;
constexpr std::size_t kDateBytes = 8;
constexpr std::size_t kMaxOffsetBytes = 4;

bool IsMarker(char c) { return c == '!' || c == '$' || c == '@'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

template <typename Formatter>
FieldTrace TraceField(SjisString& text, std::string_view keyword, const BrokenDownTime& now, Formatter format) {
  FieldTrace field;
  const int at = text.ToUpper().Locate(keyword);
  if (at == 0) return field;
  field.found = true;
  const std::string_view t = text.View();
  const std::size_t begin = static_cast<std::size_t>(at - 1) + keyword.size();
  const std::string_view window = begin < t.size() ? t.substr(begin, kMaxPattern) : std::string_view();
  const std::size_t close = window.find('%');
  const std::string_view pattern = close == std::string_view::npos ? window : window.substr(0, close);
  const std::size_t after = begin + pattern.size();
  field.pattern = std::string(pattern);
  field.closed = after < t.size() && t[after] == '%';
  field.patternCut = !field.closed && pattern.size() == kMaxPattern && after < t.size();
  // The closing `%` and the bytes after it would have made a countdown.
  field.closingOpensCountdown = field.closed && HoldsCountdown(SjisString(t.substr(after)), now);
  field.value = format(pattern).Bytes();

  const int length = static_cast<int>(keyword.size() + pattern.size()) + 1;
  field.written = text.Slice(at, length).Bytes();
  text.Erase(at, length);
  text.InsertAt(at, field.value);
  field.laterKeyword = text.ToUpper().Locate(keyword) != 0;
  return field;
}

// The first `%` followed by a marker, 1-based, or 0.
int LaterCountdownMark(std::string_view t) {
  for (std::size_t i = t.find('%'); i != std::string_view::npos; i = t.find('%', i + 1)) {
    if (i + 1 < t.size() && IsMarker(t[i + 1])) return static_cast<int>(i) + 1;
  }
  return 0;
}

void TraceDate(CountdownTrace& c, const BrokenDownTime& now) {
  // The count of this field alone, exactly as the line's expansion computes it.
  const std::string field = std::string("<") + c.marker + c.dateBytes + ">";
  c.dayCount = ExpandCountdowns(c.shown, field, now);
  c.dateValid = true;
  for (char b : c.dateBytes) c.dateValid = c.dateValid && IsDigit(b);
  if (!c.dateValid) return;
  const std::string_view digits = c.dateBytes;
  c.writtenYear = LeadingInteger(digits.substr(0, 4));
  c.writtenMonth = LeadingInteger(digits.substr(4, 2));
  c.writtenDay = LeadingInteger(digits.substr(6, 2));
  const std::int64_t days = DaysFromCivil(c.writtenYear, c.writtenMonth, c.writtenDay);
  c.date = CivilFromDays(days);
  c.carried = c.date.year != c.writtenYear || c.date.month != c.writtenMonth || c.date.day != c.writtenDay;
}

void TraceColorDay(CountdownTrace& c) {
  if (!c.dateValid || c.colorCount != c.dayCount) return;
  // The colour shows once the count has fallen to the threshold: from the
  // date moved back by the threshold.
  const std::int64_t days = DaysFromCivil(c.date.year, c.date.month, c.date.day);
  c.firstColorDay = CivilFromDays(days - c.threshold);
  c.hasFirstColorDay = true;
}

}  // namespace

FieldTrace TraceDateField(SjisString& text, const BrokenDownTime& now) {
  return TraceField(text, "%DATE", now, [&now](std::string_view pattern) {
    return FormatDate(now.year + 1900, now.mon + 1, now.mday, now.wday, pattern);
  });
}

FieldTrace TraceTimeField(SjisString& text, const BrokenDownTime& now) {
  return TraceField(text, "%TIME", now, [&now](std::string_view pattern) {
    return FormatTime(now.hour, now.min, now.sec, pattern);
  });
}

CountdownTrace TraceCountdown(SjisString& text, const BrokenDownTime& now) {
  CountdownTrace c;
  const std::string before = text.Bytes();
  const std::string_view t = before;
  const std::size_t p = t.find('%');
  if (p == std::string_view::npos) return c;
  if (p + 1 >= t.size() || !IsMarker(t[p + 1])) {
    c.hiddenAt = LaterCountdownMark(t);
    if (c.hiddenAt != 0) c.state = CountdownState::kNotFirstPercent;
    return c;
  }
  c.marker = t[p + 1];
  const std::size_t dateEnd = p + 2 + kDateBytes;
  c.state = CountdownState::kNotClosed;
  c.dateBytes = std::string(t.substr(p + 2, kDateBytes));
  if (dateEnd >= t.size()) return c;
  // The closing `%` is searched stepping over double-byte characters.
  const std::size_t close = dateEnd + static_cast<std::size_t>(CharIndexOrLast(t.substr(dateEnd), '%'));
  if (t[close] != '%' || close > dateEnd + kMaxOffsetBytes) return c;

  c.state = CountdownState::kExpanded;
  c.written = std::string(t.substr(p, close - p + 1));
  c.offsetBytes = std::string(t.substr(dateEnd, close - dateEnd));
  c.strayAngle = t.substr(0, p).find('<') != std::string_view::npos ||
                 t.substr(close + 1).find('<') != std::string_view::npos;
  TraceDate(c, now);

  const CountdownOutcome outcome = ExpandCountdownField(text, now);
  if (!outcome.expanded) c.state = CountdownState::kNone;  // reported as a disagreement
  c.threshold = outcome.threshold;
  c.colorCount = outcome.dayCount;
  c.colorShowsToday = !outcome.RestoresEntryColor();
  TraceColorDay(c);
  return c;
}

bool HoldsCountdown(const SjisString& text, const BrokenDownTime& now) {
  SjisString scratch = text;
  return ExpandCountdownField(scratch, now).expanded;
}

}  // namespace kn::explain
