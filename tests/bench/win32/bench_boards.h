// The texts the benchmarks show: a plain board (every line ordinary text)
// and a rich one (prefixed, field and link lines among plain ones), each
// with every line as the chip shows it and how it looks, so that the floor
// can draw exactly the same lines without any preparation.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace kn::bench {

enum class BoardKind { kPlain, kRich };

inline const char* NameOf(BoardKind kind) { return kind == BoardKind::kPlain ? "plain" : "rich"; }

// How a shown line looks: which of the floor's fonts, colour, alignment.
enum FloorFontIndex { kBaseFont = 0, kBoldFont = 1, kUnderlinedFont = 2, kFloorFontCount = 3 };

struct LineLook {
  int font;
  COLORREF color;
  unsigned alignment;  // DT_LEFT, DT_CENTER or DT_RIGHT
};

// The rich board cycles through these four kinds of line.
enum RichLine { kPlainLine = 0, kPrefixedLine = 1, kFieldLine = 2, kLinkLine = 3, kRichKinds = 4 };

inline const LineLook& LookOf(int style) {
  static const LineLook looks[kRichKinds] = {
      {kBaseFont, RGB(0, 0, 0), DT_LEFT},
      {kBoldFont, RGB(255, 0, 0), DT_CENTER},
      {kBaseFont, RGB(0, 0, 0), DT_LEFT},
      {kUnderlinedFont, RGB(0, 0, 255), DT_LEFT},  // link lines take the blue link colour
  };
  return looks[style];
}

struct Board {
  std::string text;                // the memo: source lines joined by CR LF
  std::vector<std::string> shown;  // each line as the chip draws it
  std::vector<unsigned char> style;
  int Lines() const { return static_cast<int>(shown.size()); }
};

// Today as the "%DATEYYYY/MM/DD%" field writes it.
inline std::string TodayText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[16];
  std::snprintf(text, sizeof text, "%04u/%02u/%02u", now.wYear, now.wMonth, now.wDay);
  return text;
}

// Lines are short enough never to wrap in a small chip.
inline Board MakeBoard(BoardKind kind, int lines) {
  const std::string today = TodayText();
  Board board;
  board.text.reserve(static_cast<std::size_t>(lines) * 40);
  board.shown.reserve(static_cast<std::size_t>(lines));
  board.style.reserve(static_cast<std::size_t>(lines));
  char source[96];
  char shown[96];
  for (int i = 0; i < lines; ++i) {
    const int style = kind == BoardKind::kPlain ? kPlainLine : i % kRichKinds;
    switch (style) {
      case kPrefixedLine:
        std::snprintf(source, sizeof source, "$cFF0000b|prefixed line %d", i);
        std::snprintf(shown, sizeof shown, "prefixed line %d", i);
        break;
      case kFieldLine:
        std::snprintf(source, sizeof source, "#|line %d, today %%DATEYYYY/MM/DD%%", i);
        std::snprintf(shown, sizeof shown, "line %d, today %s", i, today.c_str());
        break;
      case kLinkLine:
        std::snprintf(source, sizeof source, "!=Open notes %d|notepad.exe notes.txt", i);
        std::snprintf(shown, sizeof shown, "Open notes %d", i);
        break;
      default:
        std::snprintf(source, sizeof source, "plain line %d of the board", i);
        std::snprintf(shown, sizeof shown, "%s", source);
        break;
    }
    if (i > 0) board.text += "\r\n";
    board.text += source;
    board.shown.emplace_back(shown);
    board.style.push_back(static_cast<unsigned char>(style));
  }
  return board;
}

}  // namespace kn::bench
