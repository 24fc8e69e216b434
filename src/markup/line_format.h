// A line's format as the markup leaves it: font, alignment and colour.
#pragma once

#include <cstdint>

#include "system/types.h"

namespace kn {

// Alignment values are the DrawTextA flags DT_LEFT, DT_CENTER and DT_RIGHT.
enum Alignment : std::int32_t { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };

// A line's font, alignment and colour.
struct LineFormat {
  LogFont font;
  std::int32_t alignment;
  ColorRef color;
};

}  // namespace kn
