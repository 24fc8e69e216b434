// The three walks over the displayed text: drawing, measuring the preferred
// size and finding the line under a click. All three start at the scroll
// position and prepare each visited line the same way; lines before it are
// skipped with one scan and never prepared.
#pragma once

#include <string_view>

#include "markup/sjis_string.h"
#include "render/prepare_line.h"
#include "system/text_surface.h"

namespace kn {

struct DrawOutcome {
  int lastLine;    // line count - 1
  int linesDrawn;  // lines from firstLine whose rows ended above the bottom
};

// Draws the lines from firstLine into textRect, each below the one before,
// until a line reaches the bottom (that line is drawn, clipped, but not
// counted). Link lines left in the text colour take linkColor.
DrawOutcome DrawLines(std::string_view text, int firstLine, const Rect& textRect,
                      const LineContext& context, ColorRef linkColor, TextSurface& surface);

// The client size the lines need: the widest measured row, at most
// halfWidth, and the rows' summed height, at most workHeight.
struct MeasuredSize {
  int maxWidth;
  int totalHeight;
};

// Measures the lines from firstLine, each in a fresh (0, 0, halfWidth, 0)
// rectangle, until the summed height reaches workHeight.
MeasuredSize MeasureLines(std::string_view text, int firstLine, int halfWidth, int workHeight,
                          const LineContext& context, TextSurface& surface);

struct HitOutcome {
  bool onLine = false;  // the pointer is within a line's row
  bool onText = false;  // ... and within the text's horizontal extent
  SjisString lineText;  // that line after markup, when onText
};

// Lays the lines out as DrawLines does and finds the row under (x, y).
HitOutcome HitTestLines(std::string_view text, int firstLine, const Rect& textRect, int x, int y,
                        const LineContext& context, TextSurface& surface);

}  // namespace kn
