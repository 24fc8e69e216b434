// Arbitrary bytes as one line through PrepareLine: the markup prefix, faces,
// sizes, date and time fields, countdowns and link recognition must neither
// crash nor throw, and must keep the line format's invariants. The first
// three bytes choose the base font height, the text colour and the clock.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "system/clock.h"
#include "markup/civil_date.h"
#include "markup/line_format.h"
#include "markup/countdown.h"
#include "markup/date_time_format.h"
#include "render/prepare_line.h"

namespace {

constexpr std::size_t kHeaderSize = 3;
constexpr std::size_t kErrorGrowth = 35;

void Require(bool condition) {
  if (!condition) std::abort();
}

std::int32_t BaseHeight(std::uint8_t selector) {
  constexpr std::int32_t kHeights[] = {-12, 12, 0, -1, 1, INT32_MIN, INT32_MAX, INT32_MIN + 10};
  return kHeights[selector % 8];
}

kn::BrokenDownTime Now(std::uint8_t selector) {
  switch (selector % 4) {
    case 0: return kn::MakeLocalTime(2000, 1, 5, 9, 5, 3);
    case 1: return kn::MakeLocalTime(2000, 12, 25, 12, 0, 0);
    case 2: return kn::MakeLocalTime(1969, 12, 31, 23, 59, 59);
    default: return kn::MakeLocalTime(2040, 2, 29, 0, 0, 0);
  }
}

// Only height, weight, italic, underline, strike-out, character set and face
// may change; the face always ends inside its field.
void CheckFont(const kn::LogFont& before, const kn::LogFont& after) {
  Require(std::memchr(after.lfFaceName, 0, sizeof after.lfFaceName) != nullptr);
  Require(after.lfWidth == before.lfWidth && after.lfEscapement == before.lfEscapement &&
          after.lfOrientation == before.lfOrientation);
  Require(after.lfOutPrecision == before.lfOutPrecision &&
          after.lfClipPrecision == before.lfClipPrecision &&
          after.lfQuality == before.lfQuality && after.lfPitchAndFamily == before.lfPitchAndFamily);
  Require(after.lfWeight == before.lfWeight || after.lfWeight == kn::kBoldWeight);
  Require(after.lfCharSet == before.lfCharSet || after.lfCharSet == kn::kShiftJisCharset ||
          after.lfCharSet == kn::kAnsiCharset);
}

// Each `<` can at worst become the error text; nothing else grows.
void CheckCountdowns(std::string_view line, const kn::BrokenDownTime& now) {
  std::string out;
  kn::ExpandCountdowns(out, line, now);
  const auto opens = static_cast<std::size_t>(std::count(line.begin(), line.end(), '<'));
  Require(out.size() <= line.size() + kErrorGrowth * opens);
}

// Only one-letter number tokens grow, each by one byte.
void CheckPatterns(std::string_view line, const kn::BrokenDownTime& now) {
  const std::string_view pattern = line.substr(0, 50);
  const std::size_t dateBase = pattern.empty() ? 15 : pattern.size();
  const std::size_t timeBase = pattern.empty() ? 8 : pattern.size();
  Require(kn::FormatDate(now.year + 1900, now.mon + 1, now.mday, now.wday, pattern).View().size() <=
          dateBase + 3);
  Require(kn::FormatTime(now.hour, now.min, now.sec, pattern).View().size() <= timeBase + 3);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto header = [&](std::size_t i) -> std::uint8_t { return i < size ? data[i] : 0; };
  const std::size_t skip = std::min(size, kHeaderSize);
  const std::string_view line(reinterpret_cast<const char*>(data) + skip, size - skip);

  const kn::FixedClock clock(Now(header(2)));
  kn::LineContext context{};
  context.baseFont.lfHeight = BaseHeight(header(0));
  context.baseFont.lfWeight = 400;
  context.baseFont.lfCharSet = 1;
  context.baseFont.lfQuality = 2;
  std::memcpy(context.baseFont.lfFaceName, "Base", 5);
  context.textColor = kn::MakeRgb(header(1), 255 - header(1), header(1) ^ 0x5A);
  context.clock = &clock;

  const kn::PreparedLine prepared = kn::PrepareLine(line, context);
  CheckFont(context.baseFont, prepared.format.font);
  Require(prepared.format.alignment >= kn::kAlignLeft &&
          prepared.format.alignment <= kn::kAlignRight);
  Require((prepared.format.color >> 24) == 0);
  Require(!prepared.lineText.IsEmpty());
  const auto opens = static_cast<std::size_t>(std::count(line.begin(), line.end(), '<'));
  Require(prepared.lineText.View().size() <= line.size() + 64 + kErrorGrowth * (opens + 1));

  CheckCountdowns(line, clock.LocalNow());
  CheckPatterns(line, clock.LocalNow());
  return 0;
}
