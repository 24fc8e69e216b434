// Board text comparison. lstrcmpA compares linguistically: it converts both
// texts from code page 932 to Unicode and collates them, so two texts of the
// same length whose bytes differ can compare equal. The first test records
// which such pairs Wine calls equal; the second shows that the chip's timer
// still reports a board change between them, because the plug-in compares
// the old and the new board text byte for byte.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "wine/harness/board_files.h"
#include "wine/harness/chip_fixture.h"

namespace kn::wine {
namespace {

struct ComparePair {
  const char* name;
  const char* before;
  const char* after;
  bool equalUnderWine;  // lstrcmpA(before, after) == 0 under Wine 8, code page 932
};

class TextCompareTest : public PluginTest, public testing::WithParamInterface<ComparePair> {};

// Observed with Wine 8 (code page 932, locale 0x411). Control characters
// are not ignored here, although Windows' collation ignores them; what Wine
// does call equal are distinct characters with the same collation weights
// (ー and ―, ヽ and ヾ) and bytes that decode to the same default character
// U+30FB (unassigned codes, invalid trail bytes, a lone lead byte), which is
// also the code of ・ itself.
TEST_P(TextCompareTest, LstrcmpAUnderWine) {
  const ComparePair& pair = GetParam();
  ASSERT_EQ(std::strlen(pair.before), std::strlen(pair.after)) << "the texts differ in length";
  ASSERT_NE(std::strcmp(pair.before, pair.after), 0) << "the texts are the same bytes";
  EXPECT_EQ(lstrcmpA(pair.before, pair.after) == 0, pair.equalUnderWine);
  EXPECT_EQ(lstrcmpA(pair.after, pair.before) == 0, pair.equalUnderWine);
}

// Whatever lstrcmpA says, the rewritten board is a change: the zoomed chip
// reports it (blink off: 3) and the tick after that finds nothing new.
TEST_P(TextCompareTest, TimerReportsTheBoardChange) {
  const ComparePair& pair = GetParam();
  BoardFolder folder;
  ASSERT_TRUE(folder.ok());
  const std::string path = folder.Write("compare.txt", std::string(pair.before) + "\n");
  ASSERT_FALSE(path.empty());
  ChipSettings settings;
  settings.Memo(BoardMemo({path})).Zoomed(1).WithModes(BoardModes(IDM_INTERVAL_1MIN, false, FarFutureCheck()));
  ScopedChip chip(settings);
  ASSERT_EQ(chip.initResult(), 0);
  ASSERT_EQ(chip.Update(settings), 1);  // now showing the board

  EXPECT_EQ(Api().DoTimer(chip.get()), 0) << "unchanged";
  ASSERT_TRUE(WriteBoardFile(path, std::string(pair.after) + "\n"));
  EXPECT_EQ(Api().DoTimer(chip.get()), 3) << "rewritten";
  EXPECT_EQ(Api().DoTimer(chip.get()), 0) << "already reported";
  ASSERT_TRUE(WriteBoardFile(path, std::string(pair.before) + "\n"));
  EXPECT_EQ(Api().DoTimer(chip.get()), 3) << "written back";
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, TextCompareTest,
    testing::Values(
        ComparePair{"ControlCharacterMoved", "a\x01" "b", "ab\x01", false},
        ComparePair{"ControlCharacterReplaced", "a\x01" "b", "a\x02" "b", false},
        ComparePair{"DeleteMoved", "a\x7F" "b", "ab\x7F", false},
        ComparePair{"HyphenMoved", "a-b", "ab-", false},
        // "Ａb" and "Aｂ"
        ComparePair{"WidthsSwapped", "\x82\x60" "b", "A\x82\x82", false},
        // "あ" and "ア"
        ComparePair{"HiraganaAndKatakana", "\x82\xA0", "\x83\x41", false},
        // "ｶﾞ" and "ガ"
        ComparePair{"HalfWidthAndFullWidthKana", "\xB6\xDE", "\x83\x4B", false},
        // "データー" and "データ―": long vowel mark and horizontal bar
        ComparePair{"LongVowelMarkAndBar", "\x83\x66\x81\x5B\x83\x5E\x81\x5B", "\x83\x66\x81\x5B\x83\x5E\x81\x5C",
                    true},
        // "ヽ" and "ヾ"
        ComparePair{"IterationMarks", "\x81\x52", "\x81\x53", true},
        ComparePair{"UnassignedCodes", "x\x85\x40", "x\x86\x40", true},
        // an unassigned code and "・"
        ComparePair{"UnassignedCodeAndMiddleDot", "\x85\x40", "\x81\x45", true},
        ComparePair{"InvalidTrailBytes", "\x81\x01", "\x81\x02", true},
        ComparePair{"LoneLeadByteAtTheEnd", "a\x81", "a\x82", true}),
    [](const testing::TestParamInfo<ComparePair>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kn::wine
