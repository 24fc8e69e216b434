#include "board/update_stamps.h"

#include <cstddef>
#include <string_view>

#include "markup/date_time_format.h"

namespace kn {

namespace {

constexpr int kKeywordLength = 7;
constexpr std::size_t kMaxPatternLength = 51;

// The pattern after the keyword at 1-based position p: up to the next `%`,
// at most kMaxPatternLength bytes, or to the end of the line.
std::string_view PatternAfter(const SjisString& line, int p) {
  const std::string_view tail = line.View().substr(static_cast<std::size_t>(p - 1 + kKeywordLength));
  const std::string_view limited = tail.substr(0, kMaxPatternLength);
  return limited.substr(0, limited.find('%'));
}

// Replaces the first field of `keyword` by `format(pattern)`.
template <typename Format>
void ExpandField(SjisString& line, std::string_view keyword, Format format) {
  const int p = line.LocateFieldKeyword(keyword);
  if (p == 0) return;
  const std::string_view pattern = PatternAfter(line, p);
  const int fieldLength = static_cast<int>(pattern.size()) + kKeywordLength + 1;
  const SjisString out = format(pattern);
  line.Erase(p, fieldLength);  // clipped at the end of the line
  line.InsertAt(p, out.View());
}

}  // namespace

void ExpandUpdateStamps(SjisString& line, const SystemTime& fileTime) {
  ExpandField(line, "%UPDATE", [&fileTime](std::string_view pattern) {
    return FormatDate(fileTime.wYear, fileTime.wMonth, fileTime.wDay, fileTime.wDayOfWeek, pattern);
  });
  ExpandField(line, "%UPTIME", [&fileTime](std::string_view pattern) {
    return FormatTime(fileTime.wHour, fileTime.wMinute, fileTime.wSecond, pattern);
  });
}

}  // namespace kn
