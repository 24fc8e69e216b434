// CalcDefaultRect proposes the outer window size that fits the chip's text,
// and answers 1 once the host's window already has that size.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "wine/harness/chip_fixture.h"
#include "wine/harness/reference_painter.h"

namespace kn::wine {
namespace {

class CalcDefaultRectTest : public PaintTest {
 protected:
  // Asks with the given current size; returns the answer, leaves the proposal in size.
  int Ask(const ScopedChip& chip, int size[2]) { return Api().CalcDefaultRect(chip.get(), hwnd(), size); }
};

struct SizeCase {
  const char* name;
  std::string memo;
  std::vector<std::string> lines;
};

std::string Repeat(const std::string& piece, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += piece;
  return text;
}

// A word far wider than half of any work area, and a line of many words.
const std::string kHugeWord = Repeat("W", 800);
const std::string kManyWords = Repeat("wrap me ", 300);

class ProposedSizeTest : public CalcDefaultRectTest, public testing::WithParamInterface<SizeCase> {};

TEST_P(ProposedSizeTest, FitsTheMeasuredTextAndIsAFixedPoint) {
  ChipSettings settings;
  settings.Memo(GetParam().memo);
  ScopedChip chip(settings);
  ASSERT_EQ(chip.initResult(), 0);

  const SIZE expected = ReferenceSize(hwnd(), GetParam().lines, settings.font());
  int size[2] = {1, 1};
  EXPECT_EQ(Ask(chip, size), 0) << "the proposal differs from 1 x 1";
  EXPECT_EQ(size[0], expected.cx);
  EXPECT_EQ(size[1], expected.cy);

  const int proposed[2] = {size[0], size[1]};
  EXPECT_EQ(Ask(chip, size), 1) << "asked again with its own proposal";
  EXPECT_EQ(size[0], proposed[0]);
  EXPECT_EQ(size[1], proposed[1]);
}

INSTANTIATE_TEST_SUITE_P(
    Memos, ProposedSizeTest,
    testing::Values(SizeCase{"Abc", "abc", {"abc"}},
                    SizeCase{"TwoLines", "abc\r\nlonger second line", {"abc", "longer second line"}},
                    SizeCase{"EmptyLine", "abc\n\nx", {"abc", "", "x"}},
                    SizeCase{"EmptyMemoIsTheFrameAlone", "", {}},
                    SizeCase{"HugeWordIsCappedAtHalfTheWorkArea", kHugeWord, {kHugeWord}},
                    SizeCase{"LongLineWrapsAtHalfTheWorkArea", kManyWords, {kManyWords}}),
    [](const testing::TestParamInfo<SizeCase>& info) { return std::string(info.param.name); });

TEST_F(CalcDefaultRectTest, EmptyMemoProposesTheAdjustedFrame) {
  ChipSettings settings;
  settings.Memo("");
  ScopedChip chip(settings);
  const SIZE frame = OuterSize(2 * GetSystemMetrics(SM_CXFRAME), 2 * GetSystemMetrics(SM_CYFRAME));
  int size[2] = {300, 200};
  EXPECT_EQ(Ask(chip, size), 0);
  EXPECT_EQ(size[0], frame.cx);
  EXPECT_EQ(size[1], frame.cy);
}

TEST_F(CalcDefaultRectTest, AnswersZeroWhenOnlyOneDimensionDiffers) {
  ChipSettings settings;
  settings.Memo("abc");
  ScopedChip chip(settings);
  int size[2] = {1, 1};
  Ask(chip, size);
  const int proposed[2] = {size[0], size[1]};
  for (int dimension = 0; dimension < 2; ++dimension) {
    SCOPED_TRACE(dimension == 0 ? "width differs" : "height differs");
    size[0] = proposed[0];
    size[1] = proposed[1];
    size[dimension] += 1;
    EXPECT_EQ(Ask(chip, size), 0);
    EXPECT_EQ(size[0], proposed[0]);
    EXPECT_EQ(size[1], proposed[1]);
  }
}

TEST_F(CalcDefaultRectTest, NullMemoLeavesTheSizeAlone) {
  ChipSettings settings;
  settings.NoMemo();
  ScopedChip chip(settings);
  int size[2] = {321, 123};
  EXPECT_EQ(Ask(chip, size), 1);
  EXPECT_EQ(size[0], 321);
  EXPECT_EQ(size[1], 123);
}

TEST_F(CalcDefaultRectTest, LargerFontProposesALargerSize) {
  ChipSettings small;
  small.Memo("abc");
  ChipSettings large;
  large.Memo("abc").Font(TestFont(-24));
  ScopedChip smallChip(small);
  ScopedChip largeChip(large);
  int smallSize[2] = {0, 0};
  int largeSize[2] = {0, 0};
  Ask(smallChip, smallSize);
  Ask(largeChip, largeSize);
  EXPECT_GT(largeSize[0], smallSize[0]);
  EXPECT_GT(largeSize[1], smallSize[1]);
}

}  // namespace
}  // namespace kn::wine
