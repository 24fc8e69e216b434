#include "markup/line_markup.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "markup/color_spec.h"
#include "markup/countdown.h"
#include "markup/date_time_format.h"

namespace kn {
namespace {

constexpr std::size_t kFaceNameCapacity = sizeof(LogFont{}.lfFaceName) - 1;
constexpr std::string_view kFaceKeyword = "FACE=\"";
constexpr std::string_view kAnsiFaceKeyword = "FACEA=\"";

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// What TrimBlanks keeps, as offsets into the line.
struct Trimmed {
  std::size_t begin = 0;
  std::string_view text;
};

Trimmed TrimmedView(std::string_view line) {
  std::size_t begin = 0;
  std::size_t end = line.size();
  while (begin < end && IsBlank(line[begin])) ++begin;
  while (end > begin && IsBlank(line[end - 1])) --end;
  return {begin, line.substr(begin, end - begin)};
}

// Only the first `C` of the prefix is tried, so one inside "FACE" hides a
// colour written after it.
void ApplyColor(SjisString& prefix, ColorRef& color) {
  const int at = prefix.Locate("C");
  if (at == 0) return;
  const int taken = ParseColorSpec(prefix.View().substr(static_cast<std::size_t>(at), 6), color);
  if (taken > 0) prefix.Erase(at, taken);
}

// Longer names are cut so that the terminating NUL always fits.
void SetFaceName(LogFont& font, std::string_view name) {
  std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
  std::memcpy(font.lfFaceName, name.data(), std::min(name.size(), kFaceNameCapacity));
}

// `keyword` ends with the opening double quote. Without a closing quote the
// item stays in the prefix and its letters count as flags.
void ApplyFace(SjisString& prefix, std::string_view keyword, std::uint8_t charset, LogFont& font) {
  const int at = prefix.Locate(keyword);
  if (at == 0) return;
  const std::string_view rest =
      prefix.View().substr(static_cast<std::size_t>(at - 1) + keyword.size());
  const std::size_t quote = rest.find('"');
  if (quote == std::string_view::npos) return;
  SetFaceName(font, rest.substr(0, quote));
  font.lfCharSet = charset;
  prefix.Erase(at, static_cast<int>(keyword.size() + quote + 1));
}

void ApplyFlags(const SjisString& prefix, LogFont& font) {
  if (prefix.Locate("B") != 0) font.lfWeight = kBoldWeight;
  if (prefix.Locate("I") != 0) font.lfItalic = 1;
  if (prefix.Locate("S") != 0) font.lfStrikeOut = 1;
  if (prefix.Locate("U") != 0) font.lfUnderline = 1;
}

// The single byte after a sign as a digit, or -1.
int DigitAfter(const SjisString& prefix, int signAt) {
  const std::string_view bytes = prefix.View();
  const std::size_t next = static_cast<std::size_t>(signAt);
  if (next >= bytes.size() || bytes[next] < '0' || bytes[next] > '9') return -1;
  return bytes[next] - '0';
}

// `+d` grows the height's magnitude by 2d; `-d`, only without any `+`,
// shrinks it and may pass through zero. A non-digit after the first sign
// found ends the step.
void ApplySize(const SjisString& prefix, LogFont& font) {
  int growth = 1;
  int signAt = prefix.Locate("+");
  if (signAt == 0) {
    growth = -1;
    signAt = prefix.Locate("-");
  }
  if (signAt == 0) return;
  const int digit = DigitAfter(prefix, signAt);
  if (digit < 0) return;
  const std::int64_t change = std::int64_t{2} * digit * growth;
  const std::int64_t height = font.lfHeight;
  const std::int64_t resized = height >= 0 ? height + change : height - change;
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  font.lfHeight = static_cast<std::int32_t>(resized < kMin ? kMin : (resized > kMax ? kMax : resized));
}

void ApplyPrefix(std::string_view prefixBytes, ColorRef& color, LogFont& font) {
  SjisString prefix = SjisString(prefixBytes).ToUpper();
  ApplyColor(prefix, color);
  ApplyFace(prefix, kFaceKeyword, kShiftJisCharset, font);
  ApplyFace(prefix, kAnsiFaceKeyword, kAnsiCharset, font);
  ApplyFlags(prefix, font);
  ApplySize(prefix, font);
}

}  // namespace

int InterpretLineMarkup(const SjisString& line, SjisString& visible, std::int32_t& alignment,
                        ColorRef& color, LogFont& font, const Clock& clock) {
  const ColorRef entryColor = color;
  const std::string_view raw = line.View();
  const Trimmed trimmed = TrimmedView(raw);
  const std::string_view t = trimmed.text;
  // Byte-wise: a `|` that is the trail byte of a double-byte character (ポ)
  // closes the prefix too.
  const std::size_t bar = t.find('|');
  if (t.size() < 3 || (t[0] != '#' && t[0] != '$' && t[0] != '%') ||
      bar == std::string_view::npos) {
    visible = SjisString(" ");
    return 0;
  }
  const std::size_t prefixLength = bar + 1;

  if (t[0] == '$') alignment = kAlignCenter;
  if (t[0] == '%') alignment = kAlignRight;
  ApplyPrefix(t.substr(0, prefixLength), color, font);

  // The prefix goes; blanks before it and after the content stay.
  std::string text;
  text.reserve(raw.size());
  text.append(raw.substr(0, trimmed.begin));
  text.append(raw.substr(trimmed.begin + prefixLength));
  SjisString shown(std::move(text));

  // Fields and countdowns all begin with `%`; without one the clock is not
  // needed.
  if (shown.View().find('%') != std::string_view::npos) {
    const BrokenDownTime now = clock.LocalNow();
    ExpandDateTimeFields(shown, now);
    if (ExpandCountdownField(shown, now).RestoresEntryColor()) color = entryColor;
  }

  visible = shown.IsEmpty() ? SjisString(" ") : std::move(shown);
  return 1;
}

}  // namespace kn
