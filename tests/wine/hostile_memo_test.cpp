// Memos of any bytes: the chip paints, sizes and updates without crashing,
// whatever the memo holds.
#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>

#include "wine/harness/chip_fixture.h"
#include "wine/harness/reference_painter.h"

namespace kn::wine {
namespace {

class HostileMemoTest : public PaintTest {
 protected:
  // The chip paints (background in the frame corner) and proposes a size
  // within the frame and the work-area limits.
  void ExpectPaintsAndSizes(const ScopedChip& chip, COLORREF backColor) {
    EXPECT_EQ(Paint(chip), 0);
    EXPECT_EQ(canvas().At(0, 0), backColor) << "the background was not painted";

    const WorkLimits limits = WorkAreaLimits();
    const int cx = GetSystemMetrics(SM_CXFRAME);
    const int cy = GetSystemMetrics(SM_CYFRAME);
    const SIZE smallest = OuterSize(2 * cx, 2 * cy);
    const SIZE largest = OuterSize(limits.halfWidth + 2 * cx, limits.height + 2 * cy);
    int size[2] = {1, 1};
    const int answer = Api().CalcDefaultRect(chip.get(), hwnd(), size);
    EXPECT_TRUE(answer == 0 || answer == 1) << answer;
    EXPECT_GE(size[0], smallest.cx);
    EXPECT_GE(size[1], smallest.cy);
    EXPECT_LE(size[0], largest.cx);
    EXPECT_LE(size[1], largest.cy);
  }
};

// Random bytes 0x01-0xFF with extra CR, LF and CR LF, ending in a lead byte.
std::string RandomMemo(size_t bytes, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> byte(1, 255);
  std::uniform_int_distribution<int> breakEvery(0, 199);
  std::string memo;
  memo.reserve(bytes);
  while (memo.size() + 2 < bytes) {
    switch (breakEvery(random)) {
      case 0: memo += '\r'; break;
      case 1: memo += '\n'; break;
      case 2: memo += "\r\n"; break;
      default: memo += static_cast<char>(byte(random));
    }
  }
  memo += '\x81';
  return memo;
}

TEST_F(HostileMemoTest, TenMegabytesOfRandomBytes) {
  const std::string memo = RandomMemo(10 * 1024 * 1024, 20240601);
  ChipSettings settings;
  settings.Memo(memo).BackColor(RGB(250, 250, 210));
  ScopedChip chip(settings);
  ASSERT_EQ(chip.initResult(), 0);
  ExpectPaintsAndSizes(chip, settings.backColor());
  EXPECT_GT(canvas().CountOther(settings.backColor()), 0) << "no text was drawn";

  EXPECT_EQ(chip.Update(settings), 1);
  ExpectPaintsAndSizes(chip, settings.backColor());
  const int timer = Api().DoTimer(chip.get());
  EXPECT_TRUE(timer == 0 || timer == 3) << timer;
}

struct NastyCase {
  const char* name;
  std::string memo;
};

std::string Repeat(const std::string& piece, size_t count) {
  std::string text;
  text.reserve(piece.size() * count);
  for (size_t i = 0; i < count; ++i) text += piece;
  return text;
}

class NastyMemoTest : public HostileMemoTest, public testing::WithParamInterface<NastyCase> {};

TEST_P(NastyMemoTest, PaintsSizesAndUpdates) {
  for (const Modes& modes : {Modes{}, ModesOf(IDM_INTERVAL_1MIN, IDM_LINK_GREEN, 0, 0, IDM_SCROLL_MODE)}) {
    SCOPED_TRACE(modes.scrollMode ? "scroll mode" : "plain");
    ChipSettings settings;
    settings.Memo(GetParam().memo).WithModes(modes);
    ScopedChip chip(settings);
    ASSERT_EQ(chip.initResult(), 0);
    if (!modes.scrollMode) ExpectPaintsAndSizes(chip, settings.backColor());
    else EXPECT_EQ(Paint(chip), 0);
    EXPECT_EQ(chip.Update(settings), 1);
    EXPECT_EQ(Paint(chip), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Memos, NastyMemoTest,
    testing::Values(
        NastyCase{"LeadByteLast", "abc\x81"}, NastyCase{"OnlyALeadByte", "\x81"},
        NastyCase{"LeadByteBeforeBreaks", "\x81\r\n\x9F\n\xE0\r\xFC"},
        NastyCase{"BareCarriageReturns", "\r\r\r"}, NastyCase{"LfCr", "\n\r\n\r"},
        NastyCase{"PrefixFragments", "$\n%\n#\n#|\n$c|\n%c\x90\n#+\n$-|\n%b+9-9cffffffffff|x\n|"},
        NastyCase{"CountdownFragments", "%!\n%!2000\n%$99999999%\n%!00000000%\n%!%!%!\n%$\x81"},
        NastyCase{"FieldFragments", "%DATE\n%TIME%\n%DATE%DATE%TIME\n%D\x81"},
        NastyCase{"LinkFragments", "!\n!=\n!=|\n!=title|\n!=|!=|\n!\x81\nhttp://\nC:\\"},
        NastyCase{"ControlBytes", std::string("\x01\x02\x03\x07\x08\x0B\x0C\x1B\x7F\xFF", 10)},
        NastyCase{"LongLineWithoutBreaks", Repeat("a", 100000)},
        NastyCase{"LongLineOfKanjiEndingInALeadByte", Repeat("\x8A\xBF", 50000) + "\x8A"},
        NastyCase{"ManyEmptyLines", Repeat("\r\n", 200000)}),
    [](const testing::TestParamInfo<NastyCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kn::wine
