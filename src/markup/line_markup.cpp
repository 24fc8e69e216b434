#include "markup/line_markup.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "markup/color_spec.h"
#include "markup/countdown.h"
#include "markup/date_time_format.h"
#include "markup/line_format.h"

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

// The upper-cased prefix as its items are taken out of it. When traced, it
// also knows where in the line each byte that is left stood, and the line
// itself, so that positions and double-byte characters can be reported.
class PrefixText {
 public:
  PrefixText(std::string_view bytes, const SjisString* tracedLine, int firstPosition)
      : text_(SjisString(bytes).ToUpper()), line_(tracedLine) {
    if (!line_) return;
    origins_.resize(static_cast<std::size_t>(text_.Length()));
    for (std::size_t i = 0; i < origins_.size(); ++i) origins_[i] = firstPosition + static_cast<int>(i);
  }

  bool traced() const { return line_ != nullptr; }
  std::string_view View() const { return text_.View(); }
  int Locate(std::string_view needle) const { return text_.Locate(needle); }
  void Erase(int at, int count) {
    text_.Erase(at, count);
    if (!traced()) return;
    const auto first = origins_.begin() + (at - 1);
    origins_.erase(first, first + std::min<std::ptrdiff_t>(count, origins_.end() - first));
  }
  // Where the byte at prefix position `at` stands in the line.
  int Origin(int at) const { return origins_[static_cast<std::size_t>(at - 1)]; }
  bool IsTrailInLine(int linePosition) const { return line_->ClassAt(linePosition) == ByteClass::kTrail; }

 private:
  SjisString text_;
  const SjisString* line_;
  std::vector<int> origins_;
};

// The line position of a C, from prefix index `from` (0-based) on, that
// would read as a colour; 0 when there is none.
int FirstReadableColor(const PrefixText& prefix, std::size_t from) {
  const std::string_view p = prefix.View();
  for (std::size_t j = from; j < p.size(); ++j) {
    ColorRef scratch = 0;
    if (p[j] == 'C' && ParseColorSpec(p.substr(j + 1, 6), scratch) > 0) {
      return prefix.Origin(static_cast<int>(j) + 1);
    }
  }
  return 0;
}

// Only the first `C` of the prefix is tried, so one inside "FACE" hides a
// colour written after it.
void ApplyColor(PrefixText& prefix, ColorRef& color, ColorItem* item) {
  const int at = prefix.Locate("C");
  if (at == 0) return;
  const std::string_view colorBytes = prefix.View().substr(static_cast<std::size_t>(at), 6);
  int nameIndex = -1;
  ColorRef read = color;
  const int taken = ParseColorSpec(colorBytes, read, &nameIndex);
  if (taken > 0) color = read;
  if (item) {
    item->position = prefix.Origin(at);
    item->fromTrailByte = prefix.IsTrailInLine(item->position);
    item->insideFace = at >= 3 && prefix.View().substr(static_cast<std::size_t>(at - 3), 4) == "FACE";
    item->length = taken;
    if (taken > 0) item->color = read;
    item->nameIndex = nameIndex;
  }
  if (taken > 0) prefix.Erase(at, taken);
  if (item) {
    item->untriedPosition = FirstReadableColor(prefix, static_cast<std::size_t>(taken > 0 ? at - 1 : at));
  }
}

// Longer names are cut so that the terminating NUL always fits.
void SetFaceName(LogFont& font, std::string_view name) {
  std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
  std::memcpy(font.lfFaceName, name.data(), std::min(name.size(), kFaceNameCapacity));
}

// `keyword` ends with the opening double quote. Without a closing quote the
// item stays in the prefix and its letters count as flags.
void ApplyFace(PrefixText& prefix, std::string_view keyword, std::uint8_t charset, LogFont& font,
               FaceItem* item) {
  const int at = prefix.Locate(keyword);
  if (at == 0) return;
  const std::string_view rest = prefix.View().substr(static_cast<std::size_t>(at - 1) + keyword.size());
  const std::size_t quote = rest.find('"');
  if (item) {
    item->position = prefix.Origin(at);
    item->closed = quote != std::string_view::npos;
    // Unclosed, the name runs to the `|` that ends the prefix.
    item->name = std::string(item->closed ? rest.substr(0, quote) : rest.substr(0, rest.size() - 1));
  }
  if (quote == std::string_view::npos) return;
  SetFaceName(font, rest.substr(0, quote));
  font.lfCharSet = charset;
  prefix.Erase(at, static_cast<int>(keyword.size() + quote + 1));
}

template <typename Apply>
void ApplyFlag(const PrefixText& prefix, const char* letter, FlagItem* item, Apply apply) {
  const int at = prefix.Locate(letter);
  if (at == 0) return;
  apply();
  if (item) {
    item->position = prefix.Origin(at);
    item->fromTrailByte = prefix.IsTrailInLine(item->position);
  }
}

void ApplyFlags(const PrefixText& prefix, LogFont& font, PrefixTrace* trace) {
  ApplyFlag(prefix, "B", trace ? &trace->bold : nullptr, [&font] { font.lfWeight = kBoldWeight; });
  ApplyFlag(prefix, "I", trace ? &trace->italic : nullptr, [&font] { font.lfItalic = 1; });
  ApplyFlag(prefix, "S", trace ? &trace->strikeOut : nullptr, [&font] { font.lfStrikeOut = 1; });
  ApplyFlag(prefix, "U", trace ? &trace->underline : nullptr, [&font] { font.lfUnderline = 1; });
}

// The single byte after a sign as a digit, or -1.
int DigitAfter(const PrefixText& prefix, int signAt) {
  const std::string_view bytes = prefix.View();
  const std::size_t next = static_cast<std::size_t>(signAt);
  if (next >= bytes.size() || bytes[next] < '0' || bytes[next] > '9') return -1;
  return bytes[next] - '0';
}

// `+d` grows the height's magnitude by 2d; `-d`, only without any `+`,
// shrinks it and may pass through zero. A non-digit after the first sign
// found ends the step.
void ApplySize(const PrefixText& prefix, LogFont& font, SizeItem* item) {
  int growth = 1;
  const int plus = prefix.Locate("+");
  int signAt = plus;
  if (signAt == 0) {
    growth = -1;
    signAt = prefix.Locate("-");
  }
  if (signAt == 0) return;
  const int digit = DigitAfter(prefix, signAt);
  if (item) {
    item->sign = growth > 0 ? '+' : '-';
    item->position = prefix.Origin(signAt);
    item->digit = digit;
    const int minus = plus != 0 ? prefix.Locate("-") : 0;
    if (minus != 0) {
      item->ignoredMinus = prefix.Origin(minus);
      item->ignoredMinusDigit = DigitAfter(prefix, minus);
    }
  }
  if (digit < 0) return;
  const std::int64_t change = std::int64_t{2} * digit * growth;
  const std::int64_t height = font.lfHeight;
  const std::int64_t resized = height >= 0 ? height + change : height - change;
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  font.lfHeight = static_cast<std::int32_t>(resized < kMin ? kMin : (resized > kMax ? kMax : resized));
}

void ApplyPrefix(PrefixText& prefix, ColorRef& color, LogFont& font, PrefixTrace* trace) {
  ApplyColor(prefix, color, trace ? &trace->color : nullptr);
  ApplyFace(prefix, kFaceKeyword, kShiftJisCharset, font, trace ? &trace->face : nullptr);
  ApplyFace(prefix, kAnsiFaceKeyword, kAnsiCharset, font, trace ? &trace->ansiFace : nullptr);
  ApplyFlags(prefix, font, trace);
  ApplySize(prefix, font, trace ? &trace->size : nullptr);
}

// Why a line has no prefix.
PrefixAbsence AbsenceOf(std::string_view t, std::size_t bar) {
  if (t.size() < 3) return PrefixAbsence::kTooShort;
  if (t[0] != '#' && t[0] != '$' && t[0] != '%') return PrefixAbsence::kNoLead;
  if (bar == std::string_view::npos) return PrefixAbsence::kNoBar;
  return PrefixAbsence::kNone;
}

}  // namespace

bool FaceItem::Cut() const { return closed && name.size() > kFaceNameCapacity; }

int InterpretLineMarkup(const SjisString& line, SjisString& visible, std::int32_t& alignment,
                        ColorRef& color, LogFont& font, const Clock& clock, MarkupTrace* trace) {
  const ColorRef entryColor = color;
  const std::string_view raw = line.View();
  const Trimmed trimmed = TrimmedView(raw);
  const std::string_view t = trimmed.text;
  // Byte-wise: a `|` that is the trail byte of a double-byte character (ポ)
  // closes the prefix too.
  const std::size_t bar = t.find('|');
  const PrefixAbsence absence = AbsenceOf(t, bar);
  if (trace) {
    trace->prefix.absence = absence;
    trace->prefix.looksLikePrefix = !t.empty() && (t[0] == '#' || t[0] == '$' || t[0] == '%');
  }
  if (absence != PrefixAbsence::kNone) {
    visible = SjisString(" ");
    return 0;
  }
  const std::size_t prefixLength = bar + 1;
  const int leadPosition = static_cast<int>(trimmed.begin) + 1;
  if (trace) {
    PrefixTrace& p = trace->prefix;
    p.found = true;
    p.lead = t[0];
    p.leadPosition = leadPosition;
    p.barPosition = leadPosition + static_cast<int>(bar);
    p.barIsTrailByte = line.ClassAt(p.barPosition) == ByteClass::kTrail;
  }

  if (t[0] == '$') alignment = kAlignCenter;
  if (t[0] == '%') alignment = kAlignRight;
  PrefixText prefix(t.substr(0, prefixLength), trace ? &line : nullptr, leadPosition);
  ApplyPrefix(prefix, color, font, trace ? &trace->prefix : nullptr);

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
    ExpandDateTimeFields(shown, now, trace ? &trace->date : nullptr, trace ? &trace->time : nullptr);
    if (ExpandCountdownField(shown, now, trace ? &trace->countdown : nullptr).RestoresEntryColor()) {
      color = entryColor;
    }
  }

  visible = shown.IsEmpty() ? SjisString(" ") : std::move(shown);
  return 1;
}

}  // namespace kn
