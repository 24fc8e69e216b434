#include "render/scroll_regions.h"

#include <algorithm>
#include <limits>

namespace kn {
namespace {

// All arithmetic is done in 64 bits: no sum or difference of two 32-bit
// values can overflow there.
using Wide = std::int64_t;

// Moving down stops where the last page ends with the last line.
Wide ClampToLastPage(Wide first, Wide lastLine, Wide linesDrawn) {
  return first + linesDrawn > lastLine ? lastLine - linesDrawn + 1 : first;
}

Wide NewFirstLine(Wide first, Wide lastLine, Wide linesDrawn, Wide top, Wide bottom, Wide y) {
  const Wide height = bottom - top;
  const bool belowTop = top < y;
  if (belowTop && y < top + kScrollBand) return std::max<Wide>(first - linesDrawn, 0);
  if (bottom - kScrollBand < y && y < bottom) {
    return ClampToLastPage(first + linesDrawn, lastLine, linesDrawn);
  }
  if (belowTop && y < top + height / 4) return std::max<Wide>(first - 3, 0);
  if (belowTop && y < top + height / 2) return first > 0 ? first - 1 : first;
  if (belowTop && y < bottom - height / 4) return ClampToLastPage(first + 1, lastLine, linesDrawn);
  return ClampToLastPage(first + 3, lastLine, linesDrawn);
}

}  // namespace

bool ScrollByRegion(std::int32_t& firstLine, std::int32_t lastLine, std::int32_t linesDrawn,
                    std::int32_t top, std::int32_t bottom, std::int32_t y) {
  const Wide wanted = NewFirstLine(firstLine, lastLine, linesDrawn, top, bottom, y);
  // The clamp to the last page goes negative when the text has become
  // shorter than a page since the last paint; the top is as far up as it
  // goes.
  const Wide clamped = std::clamp<Wide>(wanted, 0, std::numeric_limits<std::int32_t>::max());
  const auto result = static_cast<std::int32_t>(clamped);
  const bool changed = result != firstLine;
  firstLine = result;
  return changed;
}

}  // namespace kn
