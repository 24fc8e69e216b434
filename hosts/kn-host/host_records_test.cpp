#include <gtest/gtest.h>

#include <cstring>

#include "host_records.h"

namespace kn::host {
namespace {

std::int32_t AddressOf(const void* pointer) {
  return static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(pointer));
}

std::int32_t IntAt(const void* record, std::size_t offset) {
  std::int32_t value = 0;
  std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof value);
  return value;
}

TEST(SaveBlock, ModesLandWhereTheChipReadsThem) {
  SaveModes modes;
  modes.interval = kInterval3Min;
  modes.linkColor = kLinkGreen;
  modes.blink = kBlink;
  modes.boardMode = kBoardMode;
  modes.scrollMode = kScrollMode;
  for (int i = 0; i < 9; ++i) modes.lastCheck[i] = 100 + i;
  const SaveBlock block = MakeSaveBlock(modes);
  const struct {
    std::size_t offset;
    std::int32_t value;
  } expected[] = {{0, 60},          {4, kInterval3Min}, {8, kLinkGreen}, {12, kBlink},
                  {16, kBoardMode}, {20, kScrollMode},  {24, 100},       {56, 108},
                  {60, 0},          {64, 0}};
  for (const auto& e : expected) {
    SCOPED_TRACE("offset " + std::to_string(e.offset));
    EXPECT_EQ(IntAt(&block, e.offset), e.value);
  }
}

TEST(SaveBlock, DefaultModesAreThoseOfAFreshChip) {
  const SaveBlock block = MakeSaveBlock(SaveModes{});
  EXPECT_EQ(block.interval, kInterval1Min);
  EXPECT_EQ(block.linkColor, kLinkBlue);
  EXPECT_EQ(block.blink | block.boardMode | block.scrollMode, 0);
}

TEST(SaveBlock, EmptyBlockHasLengthZero) {
  const SaveBlock block = EmptySaveBlock();
  EXPECT_EQ(IntAt(&block, 0), 0);
}

TEST(ChipSettings, FieldsLandWhereTheChipReadsThem) {
  const char memo[] = "memo";
  const SaveBlock save = EmptySaveBlock();
  const LOGFONTA font = MakeNoteFont("Face", -14, true);
  const ChipSettings settings = MakeChipSettings(memo, RGB(1, 2, 3), RGB(4, 5, 6), font, save, 1);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&settings);
  for (std::size_t i = 0; i < 72; ++i) ASSERT_EQ(bytes[i], 0) << "host byte " << i;
  EXPECT_EQ(IntAt(&settings, 72), AddressOf(memo));
  EXPECT_EQ(IntAt(&settings, 76), 0x030201);
  EXPECT_EQ(IntAt(&settings, 80), 0x060504);
  EXPECT_EQ(IntAt(&settings, 84), -14);           // lfHeight
  EXPECT_EQ(IntAt(&settings, 84 + 16), FW_BOLD);  // lfWeight
  EXPECT_EQ(bytes[84 + 23], SHIFTJIS_CHARSET);    // lfCharSet
  EXPECT_STREQ(reinterpret_cast<const char*>(bytes + 84 + 28), "Face");
  EXPECT_EQ(IntAt(&settings, 144), 1);
  EXPECT_EQ(IntAt(&settings, 148), AddressOf(&save));
}

struct FaceCase {
  const char* name;
  std::string face;
  std::string stored;
};

class NoteFontFace : public ::testing::TestWithParam<FaceCase> {};

TEST_P(NoteFontFace, FitsLogFont) {
  const LOGFONTA font = MakeNoteFont(GetParam().face, -12, false);
  EXPECT_EQ(std::string(font.lfFaceName), GetParam().stored);
  EXPECT_EQ(font.lfWeight, FW_NORMAL);
}

// Fifteen double-byte characters "あ" and one more byte make 31; a sixteenth
// character would straddle the limit.
const std::string kFifteenA = [] {
  std::string s;
  for (int i = 0; i < 15; ++i) s += "\x82\xa0";
  return s;
}();

INSTANTIATE_TEST_SUITE_P(
    Cases, NoteFontFace,
    ::testing::Values(FaceCase{"Default", kDefaultFace, kDefaultFace},
                      FaceCase{"ThirtyOneBytes", std::string(31, 'x'), std::string(31, 'x')},
                      FaceCase{"CutAtThirtyOne", std::string(40, 'y'), std::string(31, 'y')},
                      FaceCase{"NeverHalfACharacter", kFifteenA + "\x82\xa0", kFifteenA},
                      FaceCase{"OneByteBeforeACharacter", "z" + kFifteenA + "\x82\xa0",
                               "z" + kFifteenA},
                      FaceCase{"LeadByteAtTheEnd", "ab\x82", "ab"}),
    [](const ::testing::TestParamInfo<FaceCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kn::host
