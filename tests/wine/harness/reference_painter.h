// Paints plain lines (no markup) the way a chip must look, straight through
// GDI, so a chip's painting can be compared pixel for pixel: same machine,
// same fonts, same pixels.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "wine/harness/chip_fixture.h"
#include "wine/harness/paint_surface.h"

namespace kn::wine {

// DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX
constexpr UINT kDrawFlags = 0x850;
// The same plus DT_EXTERNALLEADING | DT_CALCRECT, as sizes are measured.
constexpr UINT kMeasureFlags = 0xE50;

struct PlainPicture {
  std::vector<std::string> lines;
  COLORREF textColor;
  COLORREF backColor;
  LOGFONTA font;
};

// Background over the whole client area, then each line word-wrapped into
// the text rectangle, every line starting below the previous one, until the
// rectangle is full. An empty line is drawn as one blank.
inline void PaintReference(Canvas& canvas, const RECT& client, const PlainPicture& picture) {
  HDC dc = canvas.dc();
  const int saved = SaveDC(dc);
  HBRUSH brush = CreateSolidBrush(picture.backColor);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  HFONT font = CreateFontIndirectA(&picture.font);
  SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, picture.textColor);
  RECT rect = TextRect(client);
  for (const std::string& line : picture.lines) {
    const std::string text = line.empty() ? std::string(" ") : line;
    rect.top += DrawTextA(dc, text.data(), static_cast<int>(text.size()), &rect, kDrawFlags);
    if (rect.top >= rect.bottom) break;
  }
  RestoreDC(dc, saved);
  DeleteObject(font);
}

// The desktop work area's half width and height, the limits of a proposed size.
struct WorkLimits {
  int halfWidth;
  int height;
};

inline WorkLimits WorkAreaLimits() {
  RECT work{0, 0, 0, 0};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return WorkLimits{(work.right - work.left) / 2, work.bottom - work.top};
}

// The outer size a chip showing these plain lines proposes: each line
// measured word-wrapped at half the work-area width.
inline SIZE ReferenceSize(HWND window, const std::vector<std::string>& lines, const LOGFONTA& logFont) {
  const WorkLimits limits = WorkAreaLimits();
  HDC dc = GetDC(window);
  HFONT font = CreateFontIndirectA(&logFont);
  HGDIOBJ previous = SelectObject(dc, font);
  int width = 0;
  int height = 0;
  for (const std::string& line : lines) {
    const std::string text = line.empty() ? std::string(" ") : line;
    RECT rect{0, 0, limits.halfWidth, 0};
    height += DrawTextA(dc, text.data(), static_cast<int>(text.size()), &rect, kMeasureFlags);
    if (rect.right - rect.left > width) width = rect.right - rect.left;
    if (height >= limits.height) break;
  }
  SelectObject(dc, previous);
  DeleteObject(font);
  ReleaseDC(window, dc);
  if (width > limits.halfWidth) width = limits.halfWidth;
  if (height > limits.height) height = limits.height;
  return OuterSize(width + 2 * GetSystemMetrics(SM_CXFRAME), height + 2 * GetSystemMetrics(SM_CYFRAME));
}

}  // namespace kn::wine
