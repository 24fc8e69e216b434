// PrepareLine: the shared per-line preparation of the three walks.
#include "render/prepare_line.h"
#include "markup/civil_date.h"

#include <gtest/gtest.h>

namespace kn {
namespace {

LineContext Context(const Clock& clock) {
  LineContext context{};
  context.baseFont.lfHeight = -12;
  context.textColor = MakeRgb(1, 2, 3);
  context.clock = &clock;
  return context;
}

TEST(PrepareLine, EmptyLineBecomesOneBlankInTheBaseFormat) {
  const FixedClock clock(MakeLocalTime(2000, 1, 5, 9, 5, 3));
  const PreparedLine p = PrepareLine("", Context(clock));
  EXPECT_EQ(p.lineText, SjisString(" "));
  EXPECT_EQ(p.Drawn(), " ");
  EXPECT_FALSE(p.isLink);
  EXPECT_EQ(p.format.alignment, kAlignLeft);
  EXPECT_EQ(p.format.color, MakeRgb(1, 2, 3));
  EXPECT_EQ(p.format.font.lfHeight, -12);
}

TEST(PrepareLine, LinkLineDrawsItsDisplayTextUnderlined) {
  const FixedClock clock(MakeLocalTime(2000, 1, 5));
  const PreparedLine p = PrepareLine("!=Title|notepad.exe", Context(clock));
  EXPECT_TRUE(p.isLink);
  EXPECT_EQ(p.Drawn(), "Title");
  EXPECT_EQ(p.lineText, SjisString("!=Title|notepad.exe"));
  EXPECT_EQ(p.format.font.lfUnderline, 1);
}

TEST(PrepareLine, PrefixIsRemovedBeforeLinkRecognition) {
  const FixedClock clock(MakeLocalTime(2000, 1, 5));
  const PreparedLine p = PrepareLine("$b|http://example.com", Context(clock));
  EXPECT_TRUE(p.isLink);
  EXPECT_EQ(p.lineText, SjisString("http://example.com"));
  EXPECT_EQ(p.format.alignment, kAlignCenter);
  EXPECT_EQ(p.format.font.lfWeight, kBoldWeight);
}

}  // namespace
}  // namespace kn
