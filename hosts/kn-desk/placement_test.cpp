// Chips saved where no screen is any more come back within reach; new chips
// step down and right, and wrap before leaving the screen.
#include "placement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kn::desk {
namespace {

constexpr ScreenRect kArea{0, 0, 1024, 740};

struct PlaceCase {
  const char* name;
  int x, y, width, height;
  int keptX, keptY;
};

class DeskKeepReachable : public testing::TestWithParam<PlaceCase> {};

TEST_P(DeskKeepReachable, MovesAsLittleAsNeeded) {
  const PlaceCase& c = GetParam();
  int x = c.x;
  int y = c.y;
  KeepReachable(kArea, c.width, c.height, x, y);
  EXPECT_EQ(x, c.keptX);
  EXPECT_EQ(y, c.keptY);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeskKeepReachable,
    testing::Values(PlaceCase{"Inside", 100, 100, 200, 80, 100, 100},
                    PlaceCase{"PartlyOffTheLeftButReachable", -150, 100, 200, 80, -150, 100},
                    PlaceCase{"FarLeft", -5000, 100, 200, 80, -168, 100},
                    PlaceCase{"FarRight", 3000, 100, 200, 80, 992, 100},
                    PlaceCase{"FarUp", 10, -900, 200, 80, 10, -48},
                    PlaceCase{"FarDown", 10, 9000, 200, 80, 10, 708},
                    PlaceCase{"SmallChipKeptWhole", 2000, -50, 20, 10, 1004, 0},
                    PlaceCase{"OnASecondScreen", 1500, 1200, 200, 80, 992, 708}),
    [](const testing::TestParamInfo<PlaceCase>& info) { return std::string(info.param.name); });

TEST(DeskNextChipPlace, StepsDownAndRightThenWraps) {
  int x = 100;
  int y = 50;
  NextChipPlace(kArea, x, y);
  EXPECT_EQ(x, 100 + kCascadeStep);
  EXPECT_EQ(y, 50 + kCascadeStep);

  x = 990;
  y = 50;
  NextChipPlace(kArea, x, y);
  EXPECT_EQ(x, kArea.left + kCascadeStep);
  EXPECT_EQ(y, kArea.top + kCascadeStep);

  x = 10;
  y = 700;
  NextChipPlace(kArea, x, y);
  EXPECT_EQ(x, kArea.left + kCascadeStep);
  EXPECT_EQ(y, kArea.top + kCascadeStep);
}

struct FreePlaceCase {
  const char* name;
  std::vector<ScreenRect> taken;
  int x, y;  // where the chip it was made from stands
  int placedX, placedY;
};

// A chip of 150 x 60; the desk window 460 x 170 at the top left.
constexpr ScreenRect kDesk{0, 0, 460, 170};

class DeskFreeChipPlace : public testing::TestWithParam<FreePlaceCase> {};

TEST_P(DeskFreeChipPlace, CoversNeitherTheDeskWindowNorAnotherChip) {
  const FreePlaceCase& c = GetParam();
  int x = c.x;
  int y = c.y;
  FreeChipPlace(kArea, c.taken, 150, 60, x, y);
  EXPECT_EQ(x, c.placedX);
  EXPECT_EQ(y, c.placedY);
  const ScreenRect placed{x, y, x + 150, y + 60};
  for (const ScreenRect& t : c.taken) {
    if (c.name != std::string("NoRoomAnywhere")) EXPECT_FALSE(Overlap(placed, t));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeskFreeChipPlace,
    testing::Values(
        FreePlaceCase{"NothingInTheWay", {}, 500, 300, 524, 324},
        // The first chip of a new settings file: the cascade runs past the desk window.
        FreePlaceCase{"BelowTheDeskWindow", {kDesk}, 16, 16, 16 + 24 * 7, 16 + 24 * 7},
        FreePlaceCase{"PastTheChipItCameFrom", {ScreenRect{100, 100, 250, 160}}, 100, 100, 100 + 24 * 3,
                      100 + 24 * 3},
        // Everything along the cascade is taken: the rows find the free corner at the bottom left.
        FreePlaceCase{"RowByRowWhenTheCascadeIsFull",
                      {ScreenRect{0, 0, 1024, 400}, ScreenRect{300, 400, 1024, 740}}, 900, 650, 24, 408},
        FreePlaceCase{"NoRoomAnywhere", {ScreenRect{0, 0, 1024, 740}}, 100, 100, 124, 124}),
    [](const testing::TestParamInfo<FreePlaceCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kn::desk
