// DrawChip paints the window's client area: background, the scroll-mode
// bevel and the text, pixel for pixel as GDI draws the same lines directly.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "wine/harness/chip_fixture.h"
#include "wine/harness/reference_painter.h"

namespace kn::wine {
namespace {

class DrawChipTest : public PaintTest {};

struct BlankCase {
  const char* name;
  bool hasMemo;
  const char* memo;
};

class BlankMemoTest : public PaintTest, public testing::WithParamInterface<BlankCase> {};

// Nothing to show: the background covers the whole client area.
TEST_P(BlankMemoTest, PaintsBackgroundOnly) {
  ChipSettings settings;
  settings.BackColor(RGB(250, 240, 200));
  if (GetParam().hasMemo) settings.Memo(GetParam().memo);
  else settings.NoMemo();
  ScopedChip chip(settings);
  EXPECT_EQ(Paint(chip), 0);
  EXPECT_EQ(canvas().CountOther(settings.backColor()), 0);
}

INSTANTIATE_TEST_SUITE_P(Memos, BlankMemoTest,
                         testing::Values(BlankCase{"NullMemo", false, nullptr}, BlankCase{"EmptyMemo", true, ""},
                                         BlankCase{"OneEmptyLine", true, "\r\n"},
                                         BlankCase{"BlanksOnly", true, "   \n\t\n"}),
                         [](const testing::TestParamInfo<BlankCase>& info) { return std::string(info.param.name); });

TEST_F(DrawChipTest, EmptyMemoAfterTextShowsNothing) {
  ChipSettings settings;
  settings.Memo("abc");
  ScopedChip chip(settings);
  ASSERT_EQ(Paint(chip), 0);
  ASSERT_GT(canvas().CountOther(settings.backColor()), 0) << "abc drew nothing";
  settings.Memo("");
  EXPECT_EQ(chip.Update(settings), 1);
  EXPECT_EQ(Paint(chip), 0);
  EXPECT_EQ(canvas().CountOther(settings.backColor()), 0);
}

TEST_F(DrawChipTest, ScrollModeFramesTheClientAreaWithARaisedBevel) {
  ChipSettings settings;
  settings.Memo("").WithModes(ScrollModeOn());
  ScopedChip chip(settings);
  ASSERT_EQ(Paint(chip), 0);

  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  ASSERT_NE(light, settings.backColor());
  ASSERT_NE(shadow, settings.backColor());
  const Canvas& c = canvas();
  const int w = c.width();
  const int h = c.height();
  // Each edge along its length, the corners left out.
  for (int x = 4; x < w - 4; ++x) {
    ASSERT_EQ(c.At(x, 0), light) << "top edge at x=" << x;
    ASSERT_EQ(c.At(x, h - 1), shadow) << "bottom edge at x=" << x;
  }
  for (int y = 4; y < h - 4; ++y) {
    ASSERT_EQ(c.At(0, y), light) << "left edge at y=" << y;
    ASSERT_EQ(c.At(w - 1, y), shadow) << "right edge at y=" << y;
  }
  // Inside the bevel (pens two units wide) only background.
  EXPECT_EQ(c.CountOther(settings.backColor(), RECT{3, 3, w - 3, h - 3}), 0);
}

TEST_F(DrawChipTest, NoBevelOutsideScrollMode) {
  ChipSettings settings;
  settings.Memo("");
  ScopedChip chip(settings);
  ASSERT_EQ(Paint(chip), 0);
  EXPECT_EQ(canvas().At(canvas().width() / 2, 0), settings.backColor());
  EXPECT_EQ(canvas().At(canvas().width() - 1, canvas().height() / 2), settings.backColor());
}

// Plain memos and the lines they must show, drawn by the reference painter.
struct TextCase {
  const char* name;
  const char* memo;
  std::vector<std::string> lines;
};

std::string Words(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "word" + std::to_string(i) + " ";
  return text;
}

std::string NumberedLines(int count, const char* separator) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "line " + std::to_string(i) + separator;
  return text;
}

std::vector<std::string> NumberedLineList(int count) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back("line " + std::to_string(i));
  return lines;
}

const std::string kLongLine = Words(30);
const std::string kManyLines = NumberedLines(20, "\r\n");

class DrawnTextTest : public PaintTest, public testing::WithParamInterface<TextCase> {};

TEST_P(DrawnTextTest, PaintsTheSamePixelsAsDrawTextDirectly) {
  ChipSettings settings;
  settings.Memo(GetParam().memo).TextColor(RGB(120, 0, 0)).BackColor(RGB(255, 255, 204));
  ScopedChip chip(settings);
  ASSERT_EQ(chip.initResult(), 0);
  EXPECT_EQ(Paint(chip), 0);

  Canvas expected(client());
  PaintReference(expected, client(),
                 {GetParam().lines, settings.textColor(), settings.backColor(), settings.font()});
  ASSERT_GT(expected.CountOther(settings.backColor()), 0) << "the reference drew no text";
  EXPECT_EQ(canvas().FirstDifference(expected), "");
}

INSTANTIATE_TEST_SUITE_P(
    Memos, DrawnTextTest,
    testing::Values(TextCase{"Abc", "abc", {"abc"}},
                    TextCase{"CrLf", "abc\r\ndef", {"abc", "def"}},
                    TextCase{"LoneLf", "abc\ndef\n", {"abc", "def"}},
                    TextCase{"LoneCr", "abc\rdef", {"abc", "def"}},
                    TextCase{"EmptyLineKeepsItsRow", "abc\r\n\r\ndef", {"abc", "", "def"}},
                    TextCase{"Tabs", "a\tb\tc", {"a\tb\tc"}},
                    TextCase{"Ampersand", "a&b", {"a&b"}},
                    TextCase{"Kana", "\x82\xA9\x82\xEA\x82\xA2", {"\x82\xA9\x82\xEA\x82\xA2"}},  // かれい
                    TextCase{"WrapsLongLine", kLongLine.c_str(), {kLongLine}},
                    TextCase{"StopsAtTheBottom", kManyLines.c_str(), NumberedLineList(20)}),
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

TEST_F(DrawChipTest, RestoresTheDeviceContext) {
  ChipSettings settings;
  settings.Memo("abc\r\n$b+2|big\r\n%cff0000|red\r\n!=link|http://example.com/")
      .WithModes(ScrollModeOn());
  ScopedChip chip(settings);

  HDC dc = canvas().dc();
  const LOGFONTA testFont = settings.font();
  HFONT font = CreateFontIndirectA(&testFont);
  HGDIOBJ previousFont = SelectObject(dc, font);
  const HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
  const HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkMode(dc, OPAQUE);
  MoveToEx(dc, 7, 9, nullptr);

  EXPECT_EQ(Paint(chip), 0);

  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
  EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  POINT position{0, 0};
  GetCurrentPositionEx(dc, &position);
  EXPECT_EQ(position.x, 7);
  EXPECT_EQ(position.y, 9);
  SelectObject(dc, previousFont);
  DeleteObject(font);
}

}  // namespace
}  // namespace kn::wine
