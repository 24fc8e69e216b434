#include "render/layout_walks.h"

#include <algorithm>
#include <climits>

#include "markup/line_list.h"

namespace kn {
namespace {

// Positions a cursor at the first visited line; the lines before it are
// scanned once and never copied. A negative scroll position starts at the
// top. `skipped` receives the number of lines passed over.
LineCursor CursorAt(std::string_view text, int firstLine, int* skipped = nullptr) {
  LineCursor cursor(text);
  const int passed = firstLine > 0 ? cursor.Skip(firstLine) : 0;
  if (skipped) *skipped = passed;
  return cursor;
}

// Only the three alignment flags may reach the text output: a stray value
// must never turn drawing into measuring.
unsigned AlignmentFlags(const LineFormat& format) {
  const std::int32_t a = format.alignment;
  return a == kAlignCenter || a == kAlignRight ? static_cast<unsigned>(a) : 0u;
}

}  // namespace

DrawOutcome DrawLines(std::string_view text, int firstLine, const Rect& textRect,
                      const LineContext& context, ColorRef linkColor, TextSurface& surface) {
  surface.UseFont(context.baseFont);
  Rect rect = textRect;
  int visited = 0;
  LineCursor cursor = CursorAt(text, firstLine, &visited);
  int linesDrawn = 0;
  std::string_view line;
  while (cursor.Next(line)) {
    ++visited;
    PreparedLine prepared = PrepareLine(line, context);
    if (prepared.isLink && prepared.format.color == context.textColor) {
      prepared.format.color = linkColor;
    }
    surface.UseTextColor(prepared.format.color);
    surface.UseFont(prepared.format.font);
    rect.top += surface.DrawWrapped(prepared.Drawn(), rect,
                                    AlignmentFlags(prepared.format) | kDrawFlags);
    if (rect.top >= rect.bottom) break;
    ++linesDrawn;
  }
  // The lines below the bottom are only counted, in the same single scan.
  const long long lineCount = static_cast<long long>(visited) + CountLines(cursor.Rest());
  const int lastLine = lineCount > INT_MAX ? INT_MAX - 1 : static_cast<int>(lineCount) - 1;
  return DrawOutcome{lastLine, linesDrawn};
}

MeasuredSize MeasureLines(std::string_view text, int firstLine, int halfWidth, int workHeight,
                          const LineContext& context, TextSurface& surface) {
  MeasuredSize size{0, 0};
  surface.UseFont(context.baseFont);
  const Rect measuring{0, 0, halfWidth, 0};
  LineCursor cursor = CursorAt(text, firstLine);
  std::string_view line;
  while (cursor.Next(line)) {
    const PreparedLine prepared = PrepareLine(line, context);
    surface.UseFont(prepared.format.font);
    Rect rect = measuring;
    size.totalHeight += surface.DrawWrapped(prepared.Drawn(), rect,
                                            AlignmentFlags(prepared.format) | kMeasureFlags);
    size.maxWidth = std::max(size.maxWidth, rect.right - rect.left);
    if (size.totalHeight >= workHeight) break;
  }
  // A word wider than the rectangle measures wider than it; the window never
  // grows beyond half the work area nor taller than the work area.
  size.maxWidth = std::min(size.maxWidth, halfWidth);
  size.totalHeight = std::min(size.totalHeight, workHeight);
  return size;
}

HitOutcome HitTestLines(std::string_view text, int firstLine, const Rect& textRect, int x, int y,
                        const LineContext& context, TextSurface& surface) {
  HitOutcome outcome;
  surface.UseFont(context.baseFont);
  Rect area = textRect;
  LineCursor cursor = CursorAt(text, firstLine);
  std::string_view line;
  while (cursor.Next(line)) {
    PreparedLine prepared = PrepareLine(line, context);
    surface.UseFont(prepared.format.font);
    Rect rect = area;
    surface.DrawWrapped(prepared.Drawn(), rect,
                        AlignmentFlags(prepared.format) | kHitFlags);
    area.top += rect.bottom - rect.top;
    const int slack = area.Width() - rect.Width();
    const int shift = prepared.format.alignment == kAlignCenter  ? slack / 2
                      : prepared.format.alignment == kAlignRight ? slack
                                                                 : 0;
    rect.left += shift;
    rect.right += shift;
    if (rect.top < y && y < rect.bottom) {
      outcome.onLine = true;
      if (rect.left < x && x < rect.right) {
        outcome.onText = true;
        outcome.lineText = std::move(prepared.lineText);
      }
      break;
    }
    // Rows only move down: once they start at or below y, none can hold it.
    if (area.top >= y) break;
  }
  return outcome;
}

}  // namespace kn
