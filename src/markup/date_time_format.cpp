#include "markup/date_time_format.h"

#include <initializer_list>
#include <string>

#include "markup/countdown.h"

namespace kn {
namespace {

constexpr std::string_view kDefaultDatePattern = "YYYY/MM/DD(WWW)";
constexpr std::string_view kDefaultTimePattern = "HH:MM:SS";
constexpr int kMaxPatternLength = 50;

constexpr const char* kWeekdayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
// 日 月 火 水 木 金 土
constexpr const char* kWeekdayKanji[] = {"\x93\xFA", "\x8C\x8E", "\x89\xCE", "\x90\x85",
                                         "\x96\xD8", "\x8B\xE0", "\x93\x79"};
constexpr const char* kWeekdayInitials[] = {"S", "M", "T", "W", "T", "F", "S"};

struct NumberText {
  char bytes[16];
};

// printf's "%0<width>d" without printf, which costs more than the whole
// rest of a field: at least `width` characters, zeros after a minus sign.
NumberText Format(int width, int value) {
  char digits[12];
  int count = 0;
  const bool negative = value < 0;
  unsigned magnitude = negative ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  NumberText text{};
  int k = 0;
  if (negative) text.bytes[k++] = '-';
  for (int pad = width - count - (negative ? 1 : 0); pad > 0; --pad) text.bytes[k++] = '0';
  while (count > 0) text.bytes[k++] = digits[--count];
  return text;
}

// Replaces the first occurrence of the token in place; false when absent.
bool ReplaceFirst(SjisString& text, std::string_view token, std::string_view value) {
  const int at = text.Locate(token);
  if (at == 0) return false;
  text.Erase(at, static_cast<int>(token.size()));
  text.InsertAt(at, value);
  return true;
}

// "XX" as "%02d", else "X" as "%d".
void ReplaceNumber(SjisString& text, std::string_view twoLetters, int value) {
  if (!ReplaceFirst(text, twoLetters, Format(2, value).bytes)) {
    ReplaceFirst(text, twoLetters.substr(0, 1), Format(1, value).bytes);
  }
}

SjisString UpperPattern(std::string_view pattern, std::string_view fallback) {
  return SjisString(pattern.empty() ? fallback : pattern).ToUpper();
}

int WeekdayIndex(int weekday) { return ((weekday % 7) + 7) % 7; }

// The pattern after the keyword at 1-based position `at`: up to the next `%`
// or the text's end, at most 50 bytes.
std::string_view PatternAfter(std::string_view text, int at, int keywordLength) {
  const std::size_t begin = static_cast<std::size_t>(at - 1 + keywordLength);
  if (begin >= text.size()) return {};
  std::string_view rest = text.substr(begin, kMaxPatternLength);
  const std::size_t close = rest.find('%');
  return close == std::string_view::npos ? rest : rest.substr(0, close);
}

// What the field at `at` was, before it is replaced.
void TraceField(const SjisString& text, int at, std::string_view keyword, std::string_view pattern,
                const SjisString& value, FieldTrace& trace) {
  const std::string_view t = text.View();
  const std::size_t after = static_cast<std::size_t>(at - 1) + keyword.size() + pattern.size();
  trace.found = true;
  trace.pattern = std::string(pattern);
  trace.closed = after < t.size() && t[after] == '%';
  trace.patternCut = !trace.closed && pattern.size() == static_cast<std::size_t>(kMaxPatternLength) && after < t.size();
  trace.closingOpensCountdown = trace.closed && OpensCountdown(t.substr(after));
  if (trace.closed) {
    const SjisString next(t.substr(after, 5));
    for (const char* field : {"%DATE", "%TIME"}) {
      if (next.LocateFieldKeyword(field) == 1) trace.closingOpensField = field;
    }
  }
  trace.value = value.Bytes();
  trace.written = text.Slice(at, static_cast<int>(keyword.size() + pattern.size()) + 1).Bytes();
}

// Expands the first field of the keyword, looked for case-blind.
template <typename Formatter>
void ExpandField(SjisString& text, std::string_view keyword, Formatter format, FieldTrace* trace) {
  const int at = text.LocateFieldKeyword(keyword);
  if (at == 0) return;
  // The formatter copies the pattern before the text changes.
  const std::string_view pattern = PatternAfter(text.View(), at, static_cast<int>(keyword.size()));
  const SjisString field = format(pattern);
  if (trace) TraceField(text, at, keyword, pattern, field, *trace);
  text.Erase(at, static_cast<int>(pattern.size() + keyword.size()) + 1);
  text.InsertAt(at, field.View());
  if (trace) trace->laterKeyword = text.LocateFieldKeyword(keyword) != 0;
}

}  // namespace

SjisString FormatDate(int year, int month, int day, int weekday, std::string_view pattern) {
  SjisString r = UpperPattern(pattern, kDefaultDatePattern);
  if (!ReplaceFirst(r, "YYYY", Format(4, year).bytes)) {
    ReplaceFirst(r, "YY", Format(2, ((year % 100) + 100) % 100).bytes);
  }
  ReplaceNumber(r, "MM", month);
  ReplaceNumber(r, "DD", day);
  const int w = WeekdayIndex(weekday);
  if (!ReplaceFirst(r, "WWW", kWeekdayNames[w]) && !ReplaceFirst(r, "WW", kWeekdayKanji[w])) {
    ReplaceFirst(r, "W", kWeekdayInitials[w]);
  }
  return r;
}

SjisString FormatTime(int hour, int minute, int second, std::string_view pattern) {
  SjisString r = UpperPattern(pattern, kDefaultTimePattern);
  ReplaceNumber(r, "HH", hour);
  ReplaceNumber(r, "MM", minute);
  ReplaceNumber(r, "SS", second);
  return r;
}

void ExpandDateTimeFields(SjisString& text, const BrokenDownTime& now, FieldTrace* date,
                          FieldTrace* time) {
  // Both keywords start with `%`, which upper-casing never produces.
  if (text.View().find('%') == std::string_view::npos) return;
  ExpandField(
      text, "%DATE",
      [&now](std::string_view pattern) {
        return FormatDate(now.year + 1900, now.mon + 1, now.mday, now.wday, pattern);
      },
      date);
  ExpandField(
      text, "%TIME",
      [&now](std::string_view pattern) { return FormatTime(now.hour, now.min, now.sec, pattern); },
      time);
}

}  // namespace kn
