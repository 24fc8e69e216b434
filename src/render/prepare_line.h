// The preparation every walk applies to a line before drawing, measuring or
// hit testing it.
#pragma once

#include <string_view>

#include "system/clock.h"
#include "markup/sjis_string.h"
#include "system/types.h"
#include "markup/line_format.h"

namespace kn {

// What a walk needs to know of the chip to prepare its lines.
struct LineContext {
  LogFont baseFont;
  ColorRef textColor;
  const Clock* clock;  // null reads as the fixed time 1970-01-01 00:00
};

struct PreparedLine {
  SjisString lineText;     // after the markup interpreter
  SjisString linkDisplay;  // a link line's display text
  LineFormat format;
  bool isLink = false;

  // What is drawn or measured: the display text of a link, else the line.
  std::string_view Drawn() const { return isLink ? linkDisplay.View() : lineText.View(); }
};

// An empty line becomes one blank; the markup prefix sets the format and the
// visible text; a link line draws its display text, underlined.
PreparedLine PrepareLine(std::string_view line, const LineContext& context);

}  // namespace kn
