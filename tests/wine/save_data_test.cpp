// The saved block through real global memory, as a host keeps it: written by
// GetSaveData into the host's movable block, handed back to Update through
// the settings, and read again.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "wine/harness/chip_fixture.h"
#include "wine/harness/menu_reading.h"

namespace kn::wine {
namespace {

using Words = std::vector<std::int32_t>;

constexpr BYTE kFill = 0xCC;

// A movable global block of `size` bytes, every byte `kFill`.
HGLOBAL FilledBlock(SIZE_T size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (void* bytes = block ? GlobalLock(block) : nullptr) {
    std::memset(bytes, kFill, size);
    GlobalUnlock(block);
  }
  return block;
}

// The block's 32-bit words, or nothing when it cannot be locked.
Words WordsOf(HGLOBAL block) {
  Words words;
  const SIZE_T size = GlobalSize(block);
  if (const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(block))) {
    words.resize(size / 4);
    std::memcpy(words.data(), bytes, words.size() * 4);
    GlobalUnlock(block);
  }
  return words;
}

std::string Describe(const Words& words) {
  std::string text;
  for (std::int32_t w : words) text += std::to_string(w) + " ";
  return text;
}

// The 17 words of the block: length 60, the modes, lastCheck, reserved 0 and
// four more bytes written as 0.
Words ExpectedWords(const Modes& modes) {
  Words words = {60, modes.interval, modes.linkColor, modes.blink, modes.boardMode, modes.scrollMode};
  words.insert(words.end(), FieldsOf(modes.lastCheck), FieldsOf(modes.lastCheck) + 9);
  words.push_back(0);
  words.push_back(0);
  return words;
}

Modes WithLastCheck(Modes modes) {
  const std::int32_t lastCheck[9] = {59, 58, 23, 31, 11, 124, 2, 365, 1};
  std::memcpy(&modes.lastCheck, lastCheck, sizeof lastCheck);
  return modes;
}

class SaveDataTest : public PluginTest {
 protected:
  void TearDown() override {
    for (HGLOBAL block : blocks_) GlobalFree(block);
  }

  // GetSaveData into a host block of `initialSize` filled bytes; the block
  // is freed after the test.
  int Save(HLOCAL chip, SIZE_T initialSize, HGLOBAL& block) {
    block = FilledBlock(initialSize);
    EXPECT_NE(block, nullptr);
    const HGLOBAL given = block;
    const int result = Api().GetSaveData(chip, 0, &block);
    blocks_.push_back(block ? block : given);
    return result;
  }

  Words SavedWords(HLOCAL chip) {
    HGLOBAL block = nullptr;
    EXPECT_EQ(Save(chip, 4, block), 1);
    return WordsOf(block);
  }

  // Update with the settings' saved-data pointer on the host's locked block.
  int UpdateFromBlock(const ScopedChip& chip, ChipSettings& settings, HGLOBAL block) {
    kn::ChipSettings record = *settings.record();
    record.saveData = GlobalLock(block);
    EXPECT_NE(record.saveData, nullptr);
    const int result = Api().Update(chip.get(), 0, &record);
    GlobalUnlock(block);
    return result;
  }

  std::vector<HGLOBAL> blocks_;
};

// ---- Writing -------------------------------------------------------------

struct WriteCase {
  const char* name;
  SIZE_T initialSize;
  Modes modes;
};

class SaveDataWriteTest : public SaveDataTest, public testing::WithParamInterface<WriteCase> {};

TEST_P(SaveDataWriteTest, ResizesTheHostBlockAndWritesEveryByte) {
  ChipSettings settings;
  settings.Memo("abc").WithModes(GetParam().modes);
  ScopedChip chip(settings);
  HGLOBAL block = nullptr;
  EXPECT_EQ(Save(chip.get(), GetParam().initialSize, block), 1);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), 68u);
  EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 0u) << "the block was left locked";
  const Words words = WordsOf(block);
  EXPECT_EQ(words, ExpectedWords(GetParam().modes)) << Describe(words);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, SaveDataWriteTest,
    testing::Values(
        WriteCase{"SmallBlockDefaults", 4, Modes{}},
        WriteCase{"SmallBlockAllModes",
                  4, WithLastCheck(ModesOf(IDM_INTERVAL_3MIN, IDM_LINK_GREEN, IDM_BLINK, IDM_BOARD_MODE, IDM_SCROLL_MODE))},
        WriteCase{"BlockOfExactSize", 68, WithLastCheck(ModesOf(IDM_INTERVAL_NONE, IDM_LINK_RED, 0, 0, IDM_SCROLL_MODE))},
        WriteCase{"LargerBlockShrinks", 200, WithLastCheck(ModesOf(IDM_INTERVAL_10MIN, IDM_LINK_BLUE, IDM_BLINK, 0, 0))}),
    [](const testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

TEST_F(SaveDataTest, ChipThatCannotBeLockedWritesTheDefaults) {
  HLOCAL chip = LocalAlloc(LMEM_MOVEABLE, 0);
  ASSERT_NE(chip, nullptr);
  ASSERT_EQ(LocalLock(chip), nullptr) << "the block unexpectedly locks";
  HGLOBAL block = nullptr;
  EXPECT_EQ(Save(chip, 68, block), 1);
  EXPECT_EQ(WordsOf(block), ExpectedWords(Modes{}));
  LocalFree(chip);
}

TEST_F(SaveDataTest, NoHostBlockAnswersZeroAndKeepsTheHandle) {
  ChipSettings settings;
  settings.Memo("abc");
  ScopedChip chip(settings);
  HGLOBAL block = nullptr;
  EXPECT_EQ(Api().GetSaveData(chip.get(), 0, &block), 0);
  EXPECT_EQ(block, nullptr);
}

// ---- Reading back ------------------------------------------------------------

TEST_F(SaveDataTest, BlockHandedBackToUpdateComesOutIdentical) {
  const Modes modes = WithLastCheck(ModesOf(IDM_INTERVAL_1SEC, IDM_LINK_GREEN, IDM_BLINK, IDM_BOARD_MODE, IDM_SCROLL_MODE));
  ChipSettings settings;
  settings.Memo("abc").WithModes(modes);
  ScopedChip original(settings);
  HGLOBAL saved = nullptr;
  ASSERT_EQ(Save(original.get(), 4, saved), 1);
  const Words first = WordsOf(saved);
  ASSERT_EQ(first, ExpectedWords(modes));

  // A chip that starts with no saved block takes everything from it.
  ChipSettings fresh;
  fresh.Memo("abc");
  ScopedChip other(fresh);
  ASSERT_EQ(SavedWords(other.get()), ExpectedWords(Modes{}));
  EXPECT_EQ(UpdateFromBlock(other, fresh, saved), 1);
  EXPECT_EQ(SavedWords(other.get()), first);

  // And the original, fed its own block, writes it unchanged.
  EXPECT_EQ(UpdateFromBlock(original, settings, saved), 1);
  EXPECT_EQ(SavedWords(original.get()), first);
}

class SaveDataLengthTest : public SaveDataTest, public testing::WithParamInterface<std::int32_t> {};

// Any length but 60 means "no block": the modes fall back to their defaults
// and the time of the last check stays.
TEST_P(SaveDataLengthTest, OtherLengthsAreTreatedAsAbsent) {
  const Modes remembered = WithLastCheck(ModesOf(IDM_INTERVAL_3MIN, IDM_LINK_RED, IDM_BLINK, IDM_BOARD_MODE, IDM_SCROLL_MODE));
  ChipSettings settings;
  settings.Memo("abc").WithModes(remembered);
  ScopedChip chip(settings);
  ASSERT_EQ(SavedWords(chip.get()), ExpectedWords(remembered));

  SaveBlock odd = driver::MakeSaveBlock(ModesOf(IDM_INTERVAL_10MIN, IDM_LINK_GREEN, IDM_BLINK, IDM_BOARD_MODE, IDM_SCROLL_MODE));
  odd.length = GetParam();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof odd);
  ASSERT_NE(block, nullptr);
  blocks_.push_back(block);
  std::memcpy(GlobalLock(block), &odd, sizeof odd);
  GlobalUnlock(block);
  EXPECT_EQ(UpdateFromBlock(chip, settings, block), 1);

  Modes expected;  // the defaults
  expected.lastCheck = remembered.lastCheck;
  const Words words = SavedWords(chip.get());
  EXPECT_EQ(words, ExpectedWords(expected)) << Describe(words);
  OwnedMenu menu(static_cast<HMENU>(Api().GetDrawExMenu(chip.get())));
  EXPECT_EQ(CheckedIds(menu.get()), (std::set<UINT>{IDM_INTERVAL_1MIN, IDM_LINK_BLUE}));
}

INSTANTIATE_TEST_SUITE_P(Lengths, SaveDataLengthTest, testing::Values(56, 64, 0, 59, 61, -60));

TEST_F(SaveDataTest, AllZeroBlockOfLengthSixtyChoosesNothing) {
  SaveBlock zero{};
  zero.length = 60;
  ChipSettings settings;
  settings.Memo("abc").Save(zero);
  ScopedChip chip(settings);

  OwnedMenu menu(static_cast<HMENU>(Api().GetDrawExMenu(chip.get())));
  ASSERT_NE(menu.get(), nullptr);
  EXPECT_TRUE(CheckedIds(menu.get()).empty()) << "an interval or link colour is checked";
  EXPECT_EQ(Api().GetTimerSpan(chip.get()), 1200);
  Modes none = ModesOf(0, 0, 0, 0, 0);
  EXPECT_EQ(SavedWords(chip.get()), ExpectedWords(none));
}

}  // namespace
}  // namespace kn::wine
