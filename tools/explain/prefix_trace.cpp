#include "explain/prefix_trace.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "markup/color_spec.h"
#include "markup/sjis_string.h"
#include "markup/text_convert.h"

namespace kn::explain {
namespace {

constexpr std::size_t kFaceNameCapacity = sizeof(LogFont{}.lfFaceName) - 1;
constexpr std::string_view kFaceKeyword = "FACE=\"";
constexpr std::string_view kAnsiFaceKeyword = "FACEA=\"";

// The upper-cased prefix as the interpreter edits it, with the line position
// of every byte that is left, so that removals keep positions right.
class TrackedPrefix {
 public:
  TrackedPrefix(const SjisString& trimmedPrefix, int firstPosition)
      : text_(trimmedPrefix.ToUpper()) {
    for (int i = 0; i < text_.Length(); ++i) origin_.push_back(firstPosition + i);
  }
  const SjisString& Text() const { return text_; }
  std::string_view View() const { return text_.View(); }
  // Line position of the byte at 1-based prefix position i.
  int Origin(int i) const { return origin_[static_cast<std::size_t>(i - 1)]; }
  void Erase(int at, int count) {
    text_.Erase(at, count);
    const auto first = origin_.begin() + (at - 1);
    origin_.erase(first, first + std::min<std::ptrdiff_t>(count, origin_.end() - first));
  }

 private:
  SjisString text_;
  std::vector<int> origin_;
};

int LeadingBlanks(std::string_view line) {
  // TrimBlanks drops bytes up to 0x20 at both ends.
  int n = 0;
  while (n < static_cast<int>(line.size()) && static_cast<unsigned char>(line[n]) <= 0x20) ++n;
  return n;
}

bool IsTrail(const SjisString& line, int position) {
  return line.ClassAt(position) == ByteClass::kTrail;
}

int ColorNameIndex(std::string_view item) {
  for (int i = 0; ColorNames[i].name[0] != '\0'; ++i) {
    if (item.substr(0, 2) == ColorNames[i].name) return i;
  }
  return -1;
}

// A C at 0-based index from `from` on that would read as a colour.
int FirstReadableColor(const TrackedPrefix& prefix, std::size_t from) {
  const std::string_view p = prefix.View();
  for (std::size_t j = from; j < p.size(); ++j) {
    ColorRef scratch = 0;
    if (p[j] == 'C' && ParseColorSpec(p.substr(j + 1, 6), scratch) > 0) {
      return prefix.Origin(static_cast<int>(j) + 1);
    }
  }
  return 0;
}

void TraceColor(TrackedPrefix& prefix, const SjisString& line, ColorItem& item) {
  const int at = prefix.Text().Locate("C");
  if (at == 0) return;
  item.position = prefix.Origin(at);
  item.fromTrailByte = IsTrail(line, item.position);
  item.insideFace = at >= 3 && prefix.View().substr(static_cast<std::size_t>(at - 3), 4) == "FACE";
  const std::string_view colourBytes = prefix.View().substr(static_cast<std::size_t>(at), 6);
  item.length = ParseColorSpec(colourBytes, item.color);
  if (item.length > 0) {
    item.nameIndex = item.length == 3 ? ColorNameIndex(colourBytes) : -1;
    prefix.Erase(at, item.length);
    item.untriedPosition = FirstReadableColor(prefix, static_cast<std::size_t>(at - 1));
  } else {
    item.untriedPosition = FirstReadableColor(prefix, static_cast<std::size_t>(at));
  }
}

void TraceFace(TrackedPrefix& prefix, std::string_view keyword, FaceItem& item) {
  const int at = prefix.Text().Locate(keyword);
  if (at == 0) return;
  item.position = prefix.Origin(at);
  const std::string_view rest = prefix.View().substr(static_cast<std::size_t>(at - 1) + keyword.size());
  const std::size_t quote = rest.find('"');
  if (quote == std::string_view::npos) {
    item.name = std::string(rest.substr(0, rest.size() - 1));  // up to the closing `|`
    return;
  }
  item.closed = true;
  item.name = std::string(rest.substr(0, quote));
  prefix.Erase(at, static_cast<int>(keyword.size() + quote + 1));
}

void TraceFlag(const TrackedPrefix& prefix, const SjisString& line, const char* letter, FlagItem& item) {
  const int at = prefix.Text().Locate(letter);
  if (at == 0) return;
  item.position = prefix.Origin(at);
  item.fromTrailByte = IsTrail(line, item.position);
}

// The single byte after a sign, converted strictly; -1 when it is no number.
int DigitAfter(const SjisString& prefix, int signAt) {
  const std::optional<std::int32_t> digit =
      ParseInteger(prefix.View().substr(static_cast<std::size_t>(signAt), 1));
  return digit ? *digit : -1;
}

void TraceSize(const TrackedPrefix& prefix, SizeItem& item) {
  const SjisString& p = prefix.Text();
  const int plus = p.Locate("+");
  const int minus = p.Locate("-");
  const int at = plus != 0 ? plus : minus;
  if (at == 0) return;
  item.sign = plus != 0 ? '+' : '-';
  item.position = prefix.Origin(at);
  item.digit = DigitAfter(p, at);
  if (plus != 0 && minus != 0) {
    item.ignoredMinus = prefix.Origin(minus);
    item.ignoredMinusDigit = DigitAfter(p, minus);
  }
}

void SetFace(LogFont& font, const FaceItem& face, std::uint8_t charset) {
  if (!face.closed) return;
  std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
  std::memcpy(font.lfFaceName, face.name.data(), std::min(face.name.size(), kFaceNameCapacity));
  font.lfCharSet = charset;
}

std::int32_t Resized(std::int32_t height, const SizeItem& size) {
  if (size.digit < 0) return height;
  const std::int64_t change = std::int64_t{2} * size.digit * (size.sign == '+' ? 1 : -1);
  const std::int64_t resized = height >= 0 ? height + change : height - change;
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(resized, kMin, kMax));
}

}  // namespace

bool FaceItem::Cut() const { return closed && name.size() > kFaceNameCapacity; }

PrefixTrace TracePrefix(std::string_view lineBytes) {
  PrefixTrace trace;
  const SjisString line(lineBytes);
  const SjisString t = line.TrimBlanks();
  const int leading = LeadingBlanks(lineBytes);
  const int bar = t.Locate("|");
  trace.looksLikePrefix = !t.IsEmpty() && (t.ByteAt(1) == '#' || t.ByteAt(1) == '$' || t.ByteAt(1) == '%');
  if (t.Length() < 3) {
    trace.absence = PrefixAbsence::kTooShort;
  } else if (!trace.looksLikePrefix) {
    trace.absence = PrefixAbsence::kNoLead;
  } else if (bar < 2) {
    trace.absence = PrefixAbsence::kNoBar;
  }
  if (trace.absence != PrefixAbsence::kNone) return trace;

  trace.found = true;
  trace.lead = static_cast<char>(t.ByteAt(1));
  trace.leadPosition = leading + 1;
  trace.barPosition = leading + bar;
  trace.barIsTrailByte = IsTrail(line, trace.barPosition);

  TrackedPrefix prefix(t.Slice(1, bar), trace.leadPosition);
  TraceColor(prefix, line, trace.color);
  TraceFace(prefix, kFaceKeyword, trace.face);
  TraceFace(prefix, kAnsiFaceKeyword, trace.ansiFace);
  TraceFlag(prefix, line, "B", trace.bold);
  TraceFlag(prefix, line, "I", trace.italic);
  TraceFlag(prefix, line, "S", trace.strikeOut);
  TraceFlag(prefix, line, "U", trace.underline);
  TraceSize(prefix, trace.size);
  return trace;
}

LineFormat ExpectedFormat(const PrefixTrace& trace, const LineFormat& base) {
  LineFormat format = base;
  if (!trace.found) return format;
  if (trace.lead == '$') format.alignment = kAlignCenter;
  if (trace.lead == '%') format.alignment = kAlignRight;
  if (trace.color.length > 0) format.color = trace.color.color;
  SetFace(format.font, trace.face, kShiftJisCharset);
  SetFace(format.font, trace.ansiFace, kAnsiCharset);
  if (trace.bold.position != 0) format.font.lfWeight = kBoldWeight;
  if (trace.italic.position != 0) format.font.lfItalic = 1;
  if (trace.strikeOut.position != 0) format.font.lfStrikeOut = 1;
  if (trace.underline.position != 0) format.font.lfUnderline = 1;
  format.font.lfHeight = Resized(format.font.lfHeight, trace.size);
  return format;
}

std::string ContentOf(const PrefixTrace& trace, std::string_view line) {
  if (!trace.found) return std::string(line);
  std::string content(line.substr(0, static_cast<std::size_t>(trace.leadPosition - 1)));
  content.append(line.substr(static_cast<std::size_t>(trace.barPosition)));
  return content;
}

}  // namespace kn::explain
