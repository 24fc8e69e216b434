// DrawLines and MeasureLines over the fake surface (6-unit characters, rows
// as high as the font's height), and the cost of the lines a walk skips.
#include "plugin/chip_paint.h"
#include "render/layout_walks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "native/fake_text_surface.h"
#include "markup/civil_date.h"

// Counts every allocation of the test program, so that a test can show that
// a walk's cost does not grow with the lines it skips.
namespace {
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace kn {
namespace {

using testing::FakeTextSurface;

constexpr ColorRef kTextColor = MakeRgb(1, 2, 3);
constexpr ColorRef kLinkColor = MakeRgb(0, 0, 255);
constexpr int kRow = 12;                   // the base font's row height
constexpr Rect kTextRect{32, 33, 152, 0};  // 20 characters wide; bottom per test

class LayoutWalk : public ::testing::Test {
 protected:
  LayoutWalk() {
    context_.baseFont.lfHeight = -kRow;
    context_.textColor = kTextColor;
    context_.clock = &clock_;
  }

  DrawOutcome Draw(std::string_view text, int firstLine, int bottom) {
    Rect rect = kTextRect;
    rect.bottom = bottom;
    return DrawLines(text, firstLine, rect, context_, kLinkColor, surface_);
  }

  std::vector<std::string> DrawnTexts() const {
    std::vector<std::string> texts;
    for (const auto& call : surface_.calls) texts.push_back(call.text);
    return texts;
  }

  FixedClock clock_{MakeLocalTime(2000, 1, 5, 9, 5, 3)};
  LineContext context_{};
  FakeTextSurface surface_;
};

TEST_F(LayoutWalk, EmptyTextDrawsNothing) {
  const DrawOutcome outcome = Draw("", 0, 500);
  EXPECT_EQ(outcome.lastLine, -1);
  EXPECT_EQ(outcome.linesDrawn, 0);
  EXPECT_TRUE(surface_.calls.empty());
}

TEST_F(LayoutWalk, ScrollPositionAtOrBeyondTheEndDrawsNothing) {
  for (int firstLine : {3, 4, 1000, INT_MAX}) {
    SCOPED_TRACE(firstLine);
    surface_.calls.clear();
    const DrawOutcome outcome = Draw("a\nb\nc\n", firstLine, 500);
    EXPECT_EQ(outcome.lastLine, 2);
    EXPECT_EQ(outcome.linesDrawn, 0);
    EXPECT_TRUE(surface_.calls.empty());
  }
}

TEST_F(LayoutWalk, NegativeScrollPositionStartsAtTheTop) {
  const DrawOutcome outcome = Draw("a\nb", -5, 500);
  EXPECT_EQ(outcome.lastLine, 1);
  EXPECT_EQ(outcome.linesDrawn, 2);
  EXPECT_EQ(DrawnTexts(), (std::vector<std::string>{"a", "b"}));
}

TEST_F(LayoutWalk, FirstLineTallerThanTheRectangleIsDrawnButNotCounted) {
  const DrawOutcome outcome = Draw("first\nsecond", 0, kTextRect.top + kRow - 1);
  EXPECT_EQ(outcome.linesDrawn, 0);
  EXPECT_EQ(outcome.lastLine, 1);
  EXPECT_EQ(DrawnTexts(), std::vector<std::string>{"first"});
}

TEST_F(LayoutWalk, RectangleWithNoHeightStillDrawsOneLine) {
  const DrawOutcome outcome = Draw("a\nb", 0, kTextRect.top);
  EXPECT_EQ(outcome.linesDrawn, 0);
  EXPECT_EQ(DrawnTexts(), std::vector<std::string>{"a"});
}

struct StopCase {
  const char* name;
  int bottom;
  int linesDrawn;
  int drawCalls;
};

// Four one-row lines from y = 33; the rows end at 45, 57, 69 and 81.
TEST_F(LayoutWalk, StopsWhenTheTopReachesTheBottom) {
  const StopCase cases[] = {
      {"bottom at the end of the third row", 69, 2, 3},
      {"bottom one past the third row", 70, 3, 4},
      {"bottom one before the third row ends", 68, 2, 3},
      {"bottom at the end of the first row", 45, 0, 1},
      {"room for all four", 82, 4, 4},
      {"bottom exactly after all four", 81, 3, 4},
  };
  for (const StopCase& c : cases) {
    SCOPED_TRACE(c.name);
    surface_.calls.clear();
    const DrawOutcome outcome = Draw("a\nb\nc\nd", 0, c.bottom);
    EXPECT_EQ(outcome.linesDrawn, c.linesDrawn);
    EXPECT_EQ(static_cast<int>(surface_.calls.size()), c.drawCalls);
    EXPECT_EQ(outcome.lastLine, 3);
  }
}

TEST_F(LayoutWalk, EachLineStartsBelowTheRowsOfTheLineBefore) {
  // The second line wraps into two rows of the 20-character rectangle.
  Draw("one\nthe quick brown fox jumps\n\nend", 0, 500);
  ASSERT_EQ(surface_.calls.size(), 4u);
  const int expectedTops[] = {33, 45, 69, 81};
  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const auto& call = surface_.calls[i];
    EXPECT_EQ(call.rect.top, expectedTops[i]);
    EXPECT_EQ(call.rect.left, kTextRect.left);
    EXPECT_EQ(call.rect.right, kTextRect.right);
    EXPECT_EQ(call.rect.bottom, 500);
    EXPECT_EQ(call.flags, kDrawFlags);
    EXPECT_EQ(call.flags, 0x850u);
  }
  EXPECT_EQ(surface_.calls[2].text, " ") << "an empty line draws as one blank";
  EXPECT_EQ(surface_.calls[2].font.lfHeight, -kRow);
}

TEST_F(LayoutWalk, LinkLinesInTheTextColourTakeTheLinkColour) {
  Draw("plain\nhttp://example.com\n!=Title|notepad.exe", 0, 500);
  ASSERT_EQ(surface_.calls.size(), 3u);
  EXPECT_EQ(surface_.calls[0].color, kTextColor);
  EXPECT_EQ(surface_.calls[0].font.lfUnderline, 0);
  EXPECT_EQ(surface_.calls[1].color, kLinkColor);
  EXPECT_EQ(surface_.calls[1].font.lfUnderline, 1);
  EXPECT_EQ(surface_.calls[2].text, "Title");
  EXPECT_EQ(surface_.calls[2].color, kLinkColor);
  EXPECT_EQ(surface_.calls[2].font.lfUnderline, 1);
}

TEST_F(LayoutWalk, LinkColouredByItsMarkupKeepsItsColour) {
  // "#c00ff00|" paints the line green; "#c010203|" asks for the text colour
  // itself, which a link then trades for the link colour.
  Draw("#c00ff00|http://example.com\n#c010203|http://example.com\n#c00ff00|plain", 0, 500);
  ASSERT_EQ(surface_.calls.size(), 3u);
  EXPECT_EQ(surface_.calls[0].color, MakeRgb(0, 255, 0));
  EXPECT_EQ(surface_.calls[0].font.lfUnderline, 1);
  EXPECT_EQ(surface_.calls[1].color, kLinkColor);
  EXPECT_EQ(surface_.calls[1].font.lfUnderline, 1);
  EXPECT_EQ(surface_.calls[2].color, MakeRgb(0, 255, 0));
}

TEST_F(LayoutWalk, AlignmentIsOredIntoTheFlags) {
  Draw("#|left\n$|centre\n%|right", 0, 500);
  ASSERT_EQ(surface_.calls.size(), 3u);
  EXPECT_EQ(surface_.calls[0].flags, kDrawFlags);
  EXPECT_EQ(surface_.calls[1].flags, kDrawFlags | kDtCenter);
  EXPECT_EQ(surface_.calls[2].flags, kDrawFlags | kDtRight);
  EXPECT_EQ(surface_.calls[1].text, "centre");
}

TEST_F(LayoutWalk, AMissingClockNeverCrashes) {
  context_.clock = nullptr;
  const DrawOutcome outcome = Draw("#|%TIME\nplain", 0, 500);
  EXPECT_EQ(outcome.linesDrawn, 2);
  EXPECT_EQ(surface_.calls.size(), 2u);
}

struct LinkColorCase {
  std::int32_t setting;
  ColorRef color;
};

TEST(LinkColorFor, RedGreenOrBlueForEverythingElse) {
  const LinkColorCase cases[] = {
      {10003, 0x000000FF}, {10004, 0x0000FF00}, {10005, 0x00FF0000}, {10002, 0x00FF0000},
      {10006, 0x00FF0000}, {0, 0x00FF0000},     {-1, 0x00FF0000},    {INT_MIN, 0x00FF0000},
  };
  for (const LinkColorCase& c : cases) {
    SCOPED_TRACE(c.setting);
    EXPECT_EQ(LinkColorFor(c.setting), c.color);
  }
}

// A clock that counts how often the markup asks it for the time.
class CountingClock final : public Clock {
 public:
  BrokenDownTime LocalNow() const override {
    ++reads;
    return MakeLocalTime(2000, 1, 5, 9, 5, 3);
  }
  mutable int reads = 0;
};

TEST_F(LayoutWalk, LinesBeforeTheScrollPositionAreNeitherPreparedNorDrawn) {
  CountingClock counting;
  context_.clock = &counting;
  std::string text;
  for (int i = 0; i < 50; ++i) text += "#|%TIME hidden\r\n";
  text += "shown 1\r\n#|%TIME shown 2\r\nshown 3";
  const DrawOutcome outcome = Draw(text, 50, 500);
  EXPECT_EQ(outcome.lastLine, 52);
  EXPECT_EQ(outcome.linesDrawn, 3);
  ASSERT_EQ(surface_.calls.size(), 3u);
  EXPECT_EQ(surface_.calls[0].text, "shown 1");
  EXPECT_EQ(surface_.calls[2].text, "shown 3");
  EXPECT_EQ(surface_.fontsMade, 1 + 3) << "the base font and one per drawn line";
  EXPECT_EQ(counting.reads, 1) << "only the visible time field reads the clock";

  surface_.calls.clear();
  counting.reads = 0;
  const MeasuredSize size = MeasureLines(text, 50, 120, 1000, context_, surface_);
  EXPECT_EQ(surface_.calls.size(), 3u);
  EXPECT_EQ(size.totalHeight, 3 * kRow);
  EXPECT_EQ(counting.reads, 1);
}

// Allocations made by one call, on a fresh surface.
template <typename Walk>
long AllocationsOf(Walk walk) {
  const long before = g_allocations.load();
  walk();
  return g_allocations.load() - before;
}

std::string ManyLines(int count, const char* line) {
  std::string text;
  for (int i = 0; i < count; ++i) text.append(line).append("\r\n");
  return text;
}

TEST_F(LayoutWalk, SkippedAndHiddenLinesCostNoAllocation) {
  const std::string visible = "shown\nalso shown";
  for (const char* skipped : {"x", "#b|http://example.com %TIME", ""}) {
    SCOPED_TRACE(skipped);
    const std::string few = ManyLines(10, skipped) + visible;
    const std::string many = ManyLines(20000, skipped) + visible;
    auto draw = [&](const std::string& text, int firstLine) {
      return AllocationsOf([&] {
        FakeTextSurface surface;
        Rect rect = kTextRect;
        rect.bottom = 500;
        const DrawOutcome outcome = DrawLines(text, firstLine, rect, context_, kLinkColor, surface);
        EXPECT_EQ(outcome.linesDrawn, 2);
      });
    };
    EXPECT_EQ(draw(few, 10), draw(many, 20000)) << "lines before the scroll position";

    auto measure = [&](const std::string& text, int firstLine) {
      return AllocationsOf([&] {
        FakeTextSurface surface;
        MeasureLines(text, firstLine, 120, 1000, context_, surface);
      });
    };
    EXPECT_EQ(measure(few, 10), measure(many, 20000)) << "measuring";

    auto hit = [&](const std::string& text, int firstLine) {
      return AllocationsOf([&] {
        FakeTextSurface surface;
        HitTestLines(text, firstLine, Rect{32, 33, 152, 500}, 40, 38, context_, surface);
      });
    };
    EXPECT_EQ(hit(few, 10), hit(many, 20000)) << "hit testing";

    // Lines below the bottom are counted for lastLine only.
    const std::string shortTail = visible + "\n" + ManyLines(10, skipped);
    const std::string longTail = visible + "\n" + ManyLines(20000, skipped);
    auto drawTop = [&](const std::string& text, int expectedLast) {
      return AllocationsOf([&] {
        FakeTextSurface surface;
        Rect rect = kTextRect;
        rect.bottom = kTextRect.top + kRow;  // one row
        const DrawOutcome outcome = DrawLines(text, 0, rect, context_, kLinkColor, surface);
        EXPECT_EQ(outcome.lastLine, expectedLast);
      });
    };
    EXPECT_EQ(drawTop(shortTail, 11), drawTop(longTail, 20001)) << "lines below the bottom";
  }
}

TEST_F(LayoutWalk, MeasureLinesUsesAFreshRectangleForEachLine) {
  const MeasuredSize size = MeasureLines("ab\nabcd\n\nx", 0, 120, 1000, context_, surface_);
  ASSERT_EQ(surface_.calls.size(), 4u);
  for (const auto& call : surface_.calls) {
    EXPECT_EQ(call.rect.left, 0);
    EXPECT_EQ(call.rect.top, 0);
    EXPECT_EQ(call.rect.right, 120);
    EXPECT_EQ(call.rect.bottom, 0);
    EXPECT_EQ(call.flags, 0xE50u);
  }
  EXPECT_EQ(size.maxWidth, 4 * FakeTextSurface::kCharWidth) << "the widest measured line";
  EXPECT_EQ(size.totalHeight, 4 * kRow);
}

struct MeasureCase {
  const char* name;
  std::string text;
  int firstLine;
  int halfWidth;
  int workHeight;
  int width;
  int height;
  int measured;  // lines measured
};

TEST_F(LayoutWalk, MeasureLinesKeepsWithinHalfTheWorkAreaAndItsHeight) {
  const MeasureCase cases[] = {
      {"short lines", "ab\nabcd", 0, 120, 1000, 24, 24, 2},
      {"wrapped line never wider than the rectangle", "aaaa bbbb cccc dddd eeee ffff", 0, 60, 1000,
       54, 36, 1},
      {"a word wider than the rectangle is capped", "abcdefghijklmnop", 0, 60, 1000, 60, 12, 1},
      {"stops once the height reaches the work area", "a\nb\nc\nd", 0, 120, 24, 6, 24, 2},
      {"height capped at the work area", "a\nb\nc\nd", 0, 120, 30, 6, 30, 3},
      {"lines above the scroll position are not measured", "abcdefgh\nab", 1, 120, 1000, 12, 12, 1},
      {"scroll position past the end", "abc", 1, 120, 1000, 0, 0, 0},
      {"empty text", "", 0, 120, 1000, 0, 0, 0},
  };
  for (const MeasureCase& c : cases) {
    SCOPED_TRACE(c.name);
    surface_.calls.clear();
    const MeasuredSize size =
        MeasureLines(c.text, c.firstLine, c.halfWidth, c.workHeight, context_, surface_);
    EXPECT_EQ(size.maxWidth, c.width);
    EXPECT_EQ(size.totalHeight, c.height);
    EXPECT_EQ(static_cast<int>(surface_.calls.size()), c.measured);
  }
}

}  // namespace
}  // namespace kn
