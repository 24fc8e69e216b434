// HitTestLines: finding the line under a click by laying the lines out as
// drawing does, with the fake surface's 6-unit characters and 10-unit rows.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>

#include "native/fake_text_surface.h"
#include "render/layout_walks.h"
#include "markup/civil_date.h"

namespace kn {
namespace {

using testing::FakeTextSurface;

// 120 units wide: 20 characters to a row.
constexpr Rect kTextRect{32, 33, 152, 233};

// Rows, top to bottom (y ranges are exclusive at both ends):
//   33-43   "hello"                       x 32-62
//   43-63   "the quick brown fox" /       x 32-146 (two rows)
//           "jumps over"
//   63-73   " " (the empty line)
//   73-83   "abc" centred                 x 83-101
//   83-93   "abc" right-aligned           x 134-152
//   93-103  "Title" (a titled link)       x 32-62
constexpr const char* kBoard =
    "hello\r\n"
    "the quick brown fox jumps over\r\n"
    "\r\n"
    "$|abc\r\n"
    "%|abc\r\n"
    "!=Title|notepad.exe a.txt";

struct HitCase {
  const char* name;
  int firstLine;
  int x;
  int y;
  bool onLine;
  bool onText;
  std::string lineText;  // when onText
};

const HitCase kHits[] = {
    {"inside the first line", 0, 40, 38, true, true, "hello"},
    {"top edge of the first row", 0, 40, 33, false, false, ""},
    {"above the text rectangle", 0, 40, 20, false, false, ""},
    {"between two lines", 0, 40, 43, false, false, ""},
    {"beside a short line", 0, 100, 38, true, false, ""},
    {"left edge of the text", 0, 32, 38, true, false, ""},
    {"last unit of the text", 0, 61, 38, true, true, "hello"},
    {"right edge of the text", 0, 62, 38, true, false, ""},
    {"second row of a wrapped line", 0, 140, 58, true, true, "the quick brown fox jumps over"},
    // The surface measures a lone blank as no width: the row is there, with
    // no text to click on.
    {"empty line takes one row", 0, 35, 68, true, false, ""},
    {"centred text", 0, 84, 78, true, true, "abc"},
    {"left of centred text", 0, 83, 78, true, false, ""},
    {"where centred text would be if left-aligned", 0, 40, 78, true, false, ""},
    {"right-aligned text", 0, 151, 88, true, true, "abc"},
    {"left of right-aligned text", 0, 134, 88, true, false, ""},
    {"where right-aligned text would be if left-aligned", 0, 40, 88, true, false, ""},
    {"link title", 0, 50, 98, true, true, "!=Title|notepad.exe a.txt"},
    {"beside a link title, within its command", 0, 70, 98, true, false, ""},
    {"below the last line", 0, 40, 150, false, false, ""},
    {"scrolled by one line", 1, 40, 38, true, true, "the quick brown fox jumps over"},
    {"scrolled past the end", 6, 40, 38, false, false, ""},
    {"negative scroll position starts at the top", -2, 40, 38, true, true, "hello"},
};

class HitTestWalk : public ::testing::Test {
 protected:
  HitOutcome Hit(const char* text, int firstLine, const Rect& rect, int x, int y) {
    context_.baseFont.lfHeight = -10;
    context_.textColor = MakeRgb(1, 2, 3);
    context_.clock = &clock_;
    return HitTestLines(text, firstLine, rect, x, y, context_, surface_);
  }

  FixedClock clock_{MakeLocalTime(2000, 1, 5, 9, 5, 3)};
  LineContext context_{};
  FakeTextSurface surface_;
};

class HitTestWalkTest : public HitTestWalk, public ::testing::WithParamInterface<HitCase> {};

TEST_P(HitTestWalkTest, FindsTheLineUnderThePointer) {
  const HitCase& c = GetParam();
  const HitOutcome hit = Hit(kBoard, c.firstLine, kTextRect, c.x, c.y);
  EXPECT_EQ(hit.onLine, c.onLine);
  EXPECT_EQ(hit.onText, c.onText);
  if (c.onText) EXPECT_EQ(hit.lineText.Bytes(), c.lineText);
}

INSTANTIATE_TEST_SUITE_P(Clicks, HitTestWalkTest, ::testing::ValuesIn(kHits),
                         [](const ::testing::TestParamInfo<HitCase>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p) {
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           }
                           return name;
                         });

TEST_F(HitTestWalk, ClickBesideALineLooksAtNoLaterLine) {
  // Line 2 would be under the pointer if the walk went on past line 1.
  const HitOutcome hit = Hit("ab\nab", 0, kTextRect, 100, 38);
  EXPECT_TRUE(hit.onLine);
  EXPECT_FALSE(hit.onText);
  EXPECT_EQ(surface_.calls.size(), 1u);
}

TEST_F(HitTestWalk, MeasuresWithTheHitFlagsAndTheLineFont) {
  Hit("#b+2|bold", 0, kTextRect, 40, 38);
  ASSERT_EQ(surface_.calls.size(), 1u);
  EXPECT_EQ(surface_.calls[0].flags, kHitFlags);
  EXPECT_EQ(surface_.calls[0].font.lfHeight, -14);
  EXPECT_EQ(surface_.calls[0].font.lfWeight, kBoldWeight);
}

TEST_F(HitTestWalk, WalkGoesOnBelowTheTextRectangle) {
  const Rect oneRow{32, 33, 152, 43};
  const HitOutcome hit = Hit(kBoard, 0, oneRow, 84, 78);
  EXPECT_TRUE(hit.onText);
  EXPECT_EQ(hit.lineText.Bytes(), "abc");
}

TEST_F(HitTestWalk, CentringShiftTruncates) {
  // 121 units wide and "ab" 12 wide: the slack of 109 shifts the text by 54,
  // so it spans 86-98.
  const Rect oddWidth{32, 33, 153, 233};
  const std::pair<int, bool> kCases[] = {{86, false}, {87, true}, {97, true}, {98, false}};
  for (const auto& [x, onText] : kCases) {
    SCOPED_TRACE(x);
    surface_.calls.clear();
    const HitOutcome hit = Hit("$|ab", 0, oddWidth, x, 38);
    EXPECT_TRUE(hit.onLine);
    EXPECT_EQ(hit.onText, onText);
  }
}

TEST_F(HitTestWalk, TallerLineMovesTheRowsBelowIt) {
  // The first line is 20 high (33-53): y 48 is still on it, y 58 on the next.
  const char* text = "#+5|big\nsmall";
  EXPECT_EQ(Hit(text, 0, kTextRect, 40, 48).lineText.Bytes(), "big");
  EXPECT_EQ(Hit(text, 0, kTextRect, 40, 58).lineText.Bytes(), "small");
}

}  // namespace
}  // namespace kn
