// A deterministic stand-in for GDI text output: every byte is kCharWidth
// wide, a row is the font's |lfHeight| high (12 when 0), and text wraps at
// blanks like DrawTextA's word break (a word wider than the rectangle
// overflows it). Records what was drawn.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "system/text_surface.h"

namespace kn::testing {

class FakeTextSurface final : public TextSurface {
 public:
  static constexpr int kCharWidth = 6;

  struct Call {
    std::string text;
    Rect rect;  // the rectangle as passed in
    unsigned flags;
    LogFont font;
    ColorRef color;
  };

  void UseFont(const LogFont& font) override {
    font_ = font;
    ++fontsMade;
  }
  void UseTextColor(ColorRef color) override { color_ = color; }

  int DrawWrapped(std::string_view text, Rect& rect, unsigned flags) override {
    calls.push_back({std::string(text), rect, flags, font_, color_});
    const int rowHeight = RowHeight();
    const int width = rect.right - rect.left;
    int rows = 0;
    int widest = 0;
    for (const std::string& row : Wrap(text, width)) {
      ++rows;
      widest = std::max(widest, static_cast<int>(row.size()) * kCharWidth);
    }
    if (rows == 0) rows = 1;
    const int height = rows * rowHeight;
    if (flags & kDtCalcRect) {
      rect.right = rect.left + widest;
      rect.bottom = rect.top + height;
    }
    return height;
  }

  int RowHeight() const {
    const int h = std::abs(font_.lfHeight);
    return h == 0 ? 12 : h;
  }

  std::vector<Call> calls;
  int fontsMade = 0;

 private:
  // Greedy word wrap by blanks; widths count bytes.
  static std::vector<std::string> Wrap(std::string_view text, int width) {
    std::vector<std::string> rows;
    const int maxChars = width / kCharWidth > 0 ? width / kCharWidth : 1;
    std::string row;
    std::size_t i = 0;
    while (i < text.size()) {
      std::size_t j = text.find(' ', i);
      if (j == std::string_view::npos) j = text.size();
      std::string word(text.substr(i, j - i));
      const std::string candidate = row.empty() ? word : row + " " + word;
      if (!row.empty() && static_cast<int>(candidate.size()) > maxChars) {
        rows.push_back(row);
        row = word;
      } else {
        row = candidate;
      }
      i = j + 1;
    }
    if (!row.empty() || rows.empty()) rows.push_back(row);
    return rows;
  }

  LogFont font_{};
  ColorRef color_ = 0;
};

}  // namespace kn::testing
