// ScrollByRegion: the six click regions of scroll mode, at their edges, and
// the clamps that keep the scroll position on the text.
#include "render/scroll_regions.h"

#include <gtest/gtest.h>

#include <cctype>
#include <limits>
#include <string>

namespace kn {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct ScrollCase {
  const char* name;
  std::int32_t firstLine, lastLine, linesDrawn, top, bottom, y;
  std::int32_t expected;
};

// Unless a case says otherwise: top 10, bottom 110, so H = 100, H/4 = 25 and
// H/2 = 50; the regions are page up 11-25, up 3 26-34, up 1 35-59, down 1
// 60-84, down 3 85-94 and y <= 10 or y >= 110, page down 95-109.
const ScrollCase kScrolls[] = {
    {"y on the top row steps down 3", 10, 50, 5, 10, 110, 10, 13},
    {"y above the area steps down 3", 10, 50, 5, 10, 110, -40, 13},
    {"first row pages up", 10, 50, 5, 10, 110, 11, 5},
    {"last row of the top band pages up", 10, 50, 5, 10, 110, 25, 5},
    {"below the top band steps up 3", 10, 50, 5, 10, 110, 26, 7},
    {"last row of the first quarter steps up 3", 10, 50, 5, 10, 110, 34, 7},
    {"second quarter steps up 1", 10, 50, 5, 10, 110, 35, 9},
    {"last row of the upper half steps up 1", 10, 50, 5, 10, 110, 59, 9},
    {"middle steps down 1", 10, 50, 5, 10, 110, 60, 11},
    {"last row of the third quarter steps down 1", 10, 50, 5, 10, 110, 84, 11},
    {"fourth quarter steps down 3", 10, 50, 5, 10, 110, 85, 13},
    {"row above the bottom band steps down 3", 10, 50, 5, 10, 110, 94, 13},
    {"first row of the bottom band pages down", 10, 50, 5, 10, 110, 95, 15},
    {"last row pages down", 10, 50, 5, 10, 110, 109, 15},
    {"y on the bottom edge steps down 3", 10, 50, 5, 10, 110, 110, 13},
    // H = 103: H/4 = 25 and H/2 = 51, truncated.
    {"H/4 truncates", 10, 50, 5, 0, 103, 25, 9},
    {"H/4 truncation, upper half", 10, 50, 5, 0, 103, 24, 7},
    {"H/2 truncation", 10, 50, 5, 0, 103, 51, 11},
    {"page up stops at 0", 3, 50, 5, 10, 110, 11, 0},
    {"up 3 stops at 0", 1, 50, 5, 10, 110, 30, 0},
    {"up 1 from the top does nothing", 0, 50, 5, 10, 110, 40, 0},
    {"page down ends the last page on the last line", 44, 50, 5, 10, 110, 100, 46},
    {"page down near the end may move up", 48, 50, 5, 10, 110, 100, 46},
    {"down 1 on the last page does nothing", 46, 50, 5, 10, 110, 70, 46},
    {"down 3 clamps", 45, 50, 5, 10, 110, 90, 46},
    {"bands overlap when H < 32: page up wins", 10, 50, 5, 0, 20, 10, 5},
    {"bands overlap: last row of the top band", 10, 50, 5, 0, 20, 15, 5},
    {"bands overlap: below the top band pages down", 10, 50, 5, 0, 20, 16, 15},
    {"no lines drawn: page up does nothing", 7, 50, 0, 10, 110, 11, 7},
    {"no lines drawn: page down does nothing", 7, 50, 0, 10, 110, 100, 7},
    {"no lines drawn: step down past the last line", 50, 50, 0, 10, 110, 70, 51},
    {"text got shorter: clamp stops at 0", 10, 2, 5, 10, 110, 70, 0},
    {"empty text: clamp stops at 0", 4, -1, 0, 10, 110, 90, 0},
    {"stale negative position is raised to 0", -3, 50, 5, 10, 110, 40, 0},
    {"no overflow past the largest line", kMax - 1, kMax, 0, 10, 110, 90, kMax},
    {"no overflow in a huge area", 5, 100, 10, kMin, kMax, 0, 6},
    {"no overflow of top + 16", 5, 100, 10, kMax - 4, kMax, kMax - 2, 0},
    {"no overflow of bottom - 16", 5, 100, 10, kMin + 3, kMin + 4, kMin + 2, 15},
};

class ScrollByRegionTest : public ::testing::TestWithParam<ScrollCase> {};

TEST_P(ScrollByRegionTest, MovesFirstLine) {
  const ScrollCase& c = GetParam();
  std::int32_t firstLine = c.firstLine;
  const bool changed = ScrollByRegion(firstLine, c.lastLine, c.linesDrawn, c.top, c.bottom, c.y);
  EXPECT_EQ(firstLine, c.expected);
  EXPECT_EQ(changed, c.expected != c.firstLine);
}

INSTANTIATE_TEST_SUITE_P(Regions, ScrollByRegionTest, ::testing::ValuesIn(kScrolls),
                         [](const ::testing::TestParamInfo<ScrollCase>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p) {
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           }
                           return name;
                         });

TEST(ScrollByRegion, NeverNegativeForExtremeInputs) {
  const std::int32_t values[] = {kMin, kMin + 1, -17, -1, 0, 1, 16, 31, kMax - 1, kMax};
  for (std::int32_t first : values) {
    for (std::int32_t last : values) {
      for (std::int32_t drawn : values) {
        for (std::int32_t y : values) {
          std::int32_t firstLine = first;
          ScrollByRegion(firstLine, last, drawn, kMin, kMax, y);
          ASSERT_GE(firstLine, 0) << first << " " << last << " " << drawn << " " << y;
          firstLine = first;
          ScrollByRegion(firstLine, last, drawn, 0, 20, y);
          ASSERT_GE(firstLine, 0) << first << " " << last << " " << drawn << " " << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace kn
