// The floors: what drawing, sizing and hit testing cost with nothing of the
// plug-in's own logic. The same shown lines are drawn or measured with bare
// DrawTextA calls in fonts made once in advance; where the plug-in must pass
// over the text (counting every line for the scroll limit, finding the first
// visible line) the floor makes one memchr pass of its own. Each floor also
// makes the few calls its entry point cannot do without: the client
// rectangle; for sizing and clicks, which get no device context, a context
// for the window and the metrics that place the text; for sizing the work
// area and the window adjustment; for clicks the keyboard state.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

#include "bench/win32/bench_boards.h"
#include "platform/win32_owners.h"

namespace kn::bench {

// Draw, measure and hit-test flags of the three walks.
constexpr unsigned kFloorDrawFlags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
constexpr unsigned kFloorMeasureFlags = kFloorDrawFlags | DT_EXTERNALLEADING | DT_CALCRECT;
constexpr unsigned kFloorHitFlags = kFloorDrawFlags | DT_CALCRECT;

// The three fonts the shown lines use, made once from the chip's base font.
class FloorFonts {
 public:
  explicit FloorFonts(const LOGFONTA& base) {
    LOGFONTA bold = base;
    bold.lfWeight = FW_BOLD;
    LOGFONTA underlined = base;
    underlined.lfUnderline = TRUE;
    fonts_[kBaseFont] = CreateFontIndirectA(&base);
    fonts_[kBoldFont] = CreateFontIndirectA(&bold);
    fonts_[kUnderlinedFont] = CreateFontIndirectA(&underlined);
  }
  ~FloorFonts() {
    for (HFONT font : fonts_) {
      if (font) DeleteObject(font);
    }
  }
  FloorFonts(const FloorFonts&) = delete;
  FloorFonts& operator=(const FloorFonts&) = delete;

  bool ok() const { return fonts_[0] && fonts_[1] && fonts_[2]; }
  HFONT operator[](int index) const { return fonts_[index]; }

 private:
  HFONT fonts_[kFloorFontCount] = {};
};

// Keeps the compiler from dropping a pass whose result nobody reads.
inline volatile std::size_t floorSink = 0;

// Line breaks of the whole text, one memchr pass.
inline std::size_t CountLineBreaks(const std::string& text) {
  std::size_t count = 0;
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    const void* hit = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
    if (!hit) break;
    ++count;
    p = static_cast<const char*>(hit) + 1;
  }
  return count;
}

// Where line `index` starts, one memchr pass over the lines before it.
inline std::size_t OffsetOfLine(const std::string& text, int index) {
  std::size_t offset = 0;
  for (int i = 0; i < index && offset < text.size(); ++i) {
    const void* hit = std::memchr(text.data() + offset, '\n', text.size() - offset);
    if (!hit) return text.size();
    offset = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) + 1;
  }
  return offset;
}

// The client rectangle inset by the frame metrics, where text goes.
inline RECT FloorTextRect(const RECT& client) {
  RECT rect = client;
  InflateRect(&rect, -GetSystemMetrics(SM_CXFRAME), -GetSystemMetrics(SM_CYFRAME));
  return rect;
}

// A paint: background, then the lines from `first` until one reaches the
// bottom, then the pass that counts every line. Returns the lines whose
// rows ended above the bottom.
inline int FloorPaint(HWND window, HDC dc, HBRUSH back, const FloorFonts& fonts, const Board& board,
                      int first) {
  RECT client{};
  GetClientRect(window, &client);
  const RECT textRect = FloorTextRect(client);
  FillRect(dc, &client, back);
  SetBkMode(dc, TRANSPARENT);
  const SelectedObject scope(dc, fonts[kBaseFont]);
  RECT rect = textRect;
  int whole = 0;
  for (int i = first; i < board.Lines(); ++i) {
    const LineLook& look = LookOf(board.style[static_cast<std::size_t>(i)]);
    const std::string& line = board.shown[static_cast<std::size_t>(i)];
    SelectObject(dc, fonts[look.font]);
    SetTextColor(dc, look.color);
    rect.top += DrawTextA(dc, line.data(), static_cast<int>(line.size()), &rect,
                          kFloorDrawFlags | look.alignment);
    if (rect.top >= rect.bottom) break;
    ++whole;
  }
  floorSink = CountLineBreaks(board.text);
  return whole;
}

// A size proposal: the work area, then find the first line and measure
// lines in a fresh (0, 0, halfWidth, 0) rectangle until the work area's
// height is filled; the outer window size for that client size.
inline SIZE FloorProposeSize(HWND window, const FloorFonts& fonts, const Board& board, int first) {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const LONG halfWidth = (work.right - work.left) / 2;
  const LONG workHeight = work.bottom - work.top;
  SIZE size{0, 0};
  {
    const WindowDc dc(window);
    floorSink = OffsetOfLine(board.text, first);
    const SelectedObject scope(dc.get(), fonts[kBaseFont]);
    for (int i = first; i < board.Lines(); ++i) {
      const LineLook& look = LookOf(board.style[static_cast<std::size_t>(i)]);
      const std::string& line = board.shown[static_cast<std::size_t>(i)];
      SelectObject(dc.get(), fonts[look.font]);
      RECT rect{0, 0, halfWidth, 0};
      size.cy += DrawTextA(dc.get(), line.data(), static_cast<int>(line.size()), &rect,
                           kFloorMeasureFlags | look.alignment);
      if (rect.right - rect.left > size.cx) size.cx = rect.right - rect.left;
      if (size.cy >= workHeight) break;
    }
  }
  RECT outer{0, 0, (size.cx < halfWidth ? size.cx : halfWidth) + 2 * GetSystemMetrics(SM_CXFRAME),
             (size.cy < workHeight ? size.cy : workHeight) + 2 * GetSystemMetrics(SM_CYFRAME)};
  AdjustWindowRectEx(&outer, WS_POPUP | WS_VISIBLE | WS_BORDER, FALSE, WS_EX_TOOLWINDOW);
  return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

// A hit test: the keys, the geometry, then find the first line and lay out
// the rows down to `target`. Returns the target's row (left and right as
// measured).
inline RECT FloorHitWalk(HWND window, const FloorFonts& fonts, const Board& board, int first, int target) {
  BYTE keys[256];
  GetKeyboardState(keys);
  RECT client{};
  GetClientRect(window, &client);
  RECT area = FloorTextRect(client);
  const WindowDc dc(window);
  floorSink = OffsetOfLine(board.text, first) + keys[VK_SHIFT];
  const SelectedObject scope(dc.get(), fonts[kBaseFont]);
  RECT rect = area;
  for (int i = first; i <= target && i < board.Lines(); ++i) {
    const LineLook& look = LookOf(board.style[static_cast<std::size_t>(i)]);
    const std::string& line = board.shown[static_cast<std::size_t>(i)];
    SelectObject(dc.get(), fonts[look.font]);
    rect = area;
    DrawTextA(dc.get(), line.data(), static_cast<int>(line.size()), &rect, kFloorHitFlags | look.alignment);
    area.top += rect.bottom - rect.top;
  }
  return rect;
}

}  // namespace kn::bench
