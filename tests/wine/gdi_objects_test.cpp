// Painting and sizing make fonts, brushes and pens on every call; none may
// outlive the call.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "wine/harness/chip_fixture.h"
#include "wine/harness/gdi_objects.h"

namespace kn::wine {
namespace {

TEST(GdiObjectCount, SeesObjectsComeAndGo) {
  HDC screen = GetDC(nullptr);
  ReleaseDC(nullptr, screen);  // the first drawing caches a few objects
  const int before = CountGdiObjects();
  ASSERT_GE(before, 0) << "no GDI handle table";
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HPEN pen = CreatePen(PS_SOLID, 2, RGB(4, 5, 6));
  EXPECT_EQ(CountGdiObjects(), before + 2);
  DeleteObject(brush);
  DeleteObject(pen);
  EXPECT_EQ(CountGdiObjects(), before);
}

// Lines that make the walks create fonts of every kind: plain, empty,
// formatted (bold, italic, sizes, colours, faces), links and dates.
const char kRichMemo[] =
    "plain line\r\n"
    "\r\n"
    "$b|centred bold\r\n"
    "%i+3|right italic larger\r\n"
    "#su-2cff0000|struck underlined small red\r\n"
    "!=a link|http://example.com/\r\n"
    "http://example.com/page\r\n"
    "today %DATE %TIME\r\n"
    "$c\x90\xD4|\x90\xD4 red by name\r\n"  // 赤
    "a long line that wraps a long line that wraps a long line that wraps a long line that wraps\r\n";

// More distinct fonts than a surface keeps at once, so that measuring them
// all replaces kept fonts while others are in use.
const char kManyFontsMemo[] =
    "-2|a\r\n-1|b\r\nc\r\n+1|d\r\n+2|e\r\n+3|f\r\n+4|g\r\nb|h\r\ni|j\r\n"
    "u|k\r\ns|l\r\nbi|m\r\nbu-1|n\r\n-2|a again\r\n+4|g again\r\nc again";

struct LeakSubject {
  const char* name;
  const char* memo;
  Modes modes;
};

class GdiLeakTest : public PaintTest {};

TEST_F(GdiLeakTest, AThousandPaintsAndSizeRequestsLeaveTheCountUnchanged) {
  const LeakSubject subjects[] = {
      {"plain", kRichMemo, Modes{}},
      {"scroll mode", kRichMemo, ModesOf(IDM_INTERVAL_1MIN, IDM_LINK_RED, 0, 0, IDM_SCROLL_MODE)},
      {"many fonts", kManyFontsMemo, Modes{}},
  };
  std::vector<std::unique_ptr<ScopedChip>> chips;
  for (const LeakSubject& subject : subjects) {
    ChipSettings settings;
    settings.Memo(subject.memo).WithModes(subject.modes);
    chips.push_back(std::make_unique<ScopedChip>(settings));
    ASSERT_EQ(chips.back()->initResult(), 0) << subject.name;
  }

  auto exercise = [&](int rounds) {
    for (int i = 0; i < rounds; ++i) {
      const ScopedChip& chip = *chips[static_cast<size_t>(i) % chips.size()];
      ASSERT_EQ(Paint(chip), 0) << "round " << i;
      int size[2] = {100, 100};
      Api().CalcDefaultRect(chip.get(), hwnd(), size);
    }
  };
  exercise(10);  // warm-up: GDI caches what the first drawing needs
  const int before = CountGdiObjects();
  ASSERT_GE(before, 0);
  exercise(1000);
  EXPECT_EQ(CountGdiObjects(), before) << "GDI objects leaked by 1,000 paints and size requests";
}

}  // namespace
}  // namespace kn::wine
