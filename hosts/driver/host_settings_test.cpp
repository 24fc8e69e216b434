#include <gtest/gtest.h>

#include <cstring>

#include "host_settings.h"

namespace kn::driver {
namespace {

std::int32_t IntAt(const void* record, std::size_t offset) {
  std::int32_t value = 0;
  std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof value);
  return value;
}

TEST(SaveBlock, ModesLandWhereTheChipReadsThem) {
  SaveModes modes;
  modes.interval = IDM_INTERVAL_3MIN;
  modes.linkColor = IDM_LINK_GREEN;
  modes.blink = IDM_BLINK;
  modes.boardMode = IDM_BOARD_MODE;
  modes.scrollMode = IDM_SCROLL_MODE;
  modes.lastCheck = {100, 101, 102, 103, 104, 105, 106, 107, 108};
  const SaveBlock block = MakeSaveBlock(modes);
  const struct {
    std::size_t offset;
    std::int32_t value;
  } expected[] = {{0, 60},          {4, IDM_INTERVAL_3MIN}, {8, IDM_LINK_GREEN}, {12, IDM_BLINK},
                  {16, IDM_BOARD_MODE}, {20, IDM_SCROLL_MODE},  {24, 100},       {56, 108},
                  {60, 0},          {64, 0}};
  for (const auto& e : expected) {
    SCOPED_TRACE("offset " + std::to_string(e.offset));
    EXPECT_EQ(IntAt(&block, e.offset), e.value);
  }
}

TEST(SaveBlock, DefaultModesAreThoseOfAFreshChip) {
  const SaveBlock block = MakeSaveBlock(SaveModes{});
  EXPECT_EQ(block.interval, IDM_INTERVAL_1MIN);
  EXPECT_EQ(block.linkColor, IDM_LINK_BLUE);
  EXPECT_EQ(block.blink | block.boardMode | block.scrollMode, 0);
}

TEST(SaveBlock, EmptyBlockHasLengthZero) {
  const SaveBlock block = EmptySaveBlock();
  EXPECT_EQ(IntAt(&block, 0), 0);
}

TEST(HostSettings, FieldsLandWhereTheChipReadsThem) {
  HostSettings builder;
  builder.Memo("memo").TextColor(RGB(1, 2, 3)).BackColor(RGB(4, 5, 6)).Font(MakeNoteFont("Face", -14, true));
  builder.Zoomed(1);
  const ChipSettings& settings = *builder.record();
  const auto* bytes = reinterpret_cast<const unsigned char*>(&settings);
  for (std::size_t i = 0; i < 72; ++i) ASSERT_EQ(bytes[i], 0) << "host byte " << i;
  EXPECT_STREQ(reinterpret_cast<const char*>(static_cast<std::uintptr_t>(IntAt(&settings, 72))), "memo");
  EXPECT_EQ(IntAt(&settings, 76), 0x030201);
  EXPECT_EQ(IntAt(&settings, 80), 0x060504);
  EXPECT_EQ(IntAt(&settings, 84), -14);           // lfHeight
  EXPECT_EQ(IntAt(&settings, 84 + 16), FW_BOLD);  // lfWeight
  EXPECT_EQ(bytes[84 + 23], SHIFTJIS_CHARSET);    // lfCharSet
  EXPECT_STREQ(reinterpret_cast<const char*>(bytes + 84 + 28), "Face");
  EXPECT_EQ(IntAt(&settings, 144), 1);
  EXPECT_EQ(IntAt(settings.saveData, 0), 0) << "a host that never saved hands over an empty block";
}

TEST(HostSettings, RecordFollowsItsBuilderAndItsBlock) {
  HostSettings builder;
  builder.Memo("first");
  const HostSettings copy = builder;
  builder.NoMemo();
  EXPECT_EQ(builder.record()->memo, nullptr);
  ASSERT_NE(copy.record()->memo, nullptr);
  EXPECT_STREQ(copy.record()->memo, "first") << "a copy points to its own memo";
  const SaveBlock kept = MakeSaveBlock(SaveModes{});
  builder.SavedBlockAt(&kept);
  EXPECT_EQ(builder.record()->saveData, &kept);
  builder.WithModes(SaveModes{});
  EXPECT_NE(builder.record()->saveData, &kept);
  EXPECT_EQ(IntAt(builder.record()->saveData, 0), kSaveBlockLength);
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
const std::string kFifteenA = "\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0"
                               "\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82\xa0";

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
}  // namespace kn::driver
