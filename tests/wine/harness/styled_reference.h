// Paints lines that each have their own font, colour and alignment straight
// through GDI, the way a chip must show its formatted lines, so a chip's
// painting can be compared with it pixel for pixel.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "wine/harness/chip_fixture.h"
#include "wine/harness/paint_surface.h"
#include "wine/harness/reference_painter.h"

namespace kn::wine {

struct StyledLine {
  std::string text;  // the visible text, code page 932
  LOGFONTA font;
  COLORREF color;
  UINT alignment;  // DT_LEFT, DT_CENTER or DT_RIGHT
};

// Background over the client area, then every line word-wrapped into the
// text rectangle with its own font and colour, each below the one before,
// until the rectangle is full. Returns the top the next line would have, so
// a caller can tell whether every line fitted.
inline int PaintStyledReference(Canvas& canvas, const RECT& client, COLORREF backColor,
                                 const std::vector<StyledLine>& lines) {
  HDC dc = canvas.dc();
  const int saved = SaveDC(dc);
  HBRUSH brush = CreateSolidBrush(backColor);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  SetBkMode(dc, TRANSPARENT);
  RECT rect = TextRect(client);
  for (const StyledLine& line : lines) {
    HFONT font = CreateFontIndirectA(&line.font);
    HGDIOBJ previous = SelectObject(dc, font);
    SetTextColor(dc, line.color);
    const std::string text = line.text.empty() ? std::string(" ") : line.text;
    rect.top += DrawTextA(dc, text.data(), static_cast<int>(text.size()), &rect, line.alignment | kDrawFlags);
    SelectObject(dc, previous);
    DeleteObject(font);
    if (rect.top >= rect.bottom) break;
  }
  RestoreDC(dc, saved);
  return rect.top;
}

}  // namespace kn::wine
