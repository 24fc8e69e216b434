// A press is a click until it wanders beyond the drag slack; then it drags
// the window by exactly the distance the cursor went.
#include "press_tracker.h"

#include <gtest/gtest.h>

namespace kn::desk {
namespace {

constexpr ScreenPoint kOrigin{100, 200};
constexpr ScreenPoint kPress{150, 230};

ScreenPoint Offset(ScreenPoint point, int dx, int dy) { return ScreenPoint{point.x + dx, point.y + dy}; }

class DeskPressTracker : public testing::Test {
 protected:
  PressTracker tracker_{4, 3};
  ScreenPoint origin_{-1, -1};
};

TEST_F(DeskPressTracker, APressReleasedWhereItBeganIsAClick) {
  tracker_.Press(kPress, kOrigin);
  EXPECT_TRUE(tracker_.pressed());
  EXPECT_EQ(tracker_.Release(kPress, origin_), PressTracker::Outcome::kClick);
  EXPECT_FALSE(tracker_.pressed());
}

TEST_F(DeskPressTracker, WanderingWithinTheSlackStaysAClick) {
  tracker_.Press(kPress, kOrigin);
  for (ScreenPoint p : {Offset(kPress, 4, 3), Offset(kPress, -4, -3), Offset(kPress, 0, 3)}) {
    EXPECT_FALSE(tracker_.Move(p, origin_)) << p.x << "," << p.y;
  }
  EXPECT_EQ(tracker_.Release(Offset(kPress, 2, -1), origin_), PressTracker::Outcome::kClick);
  EXPECT_FALSE(tracker_.dragging());
}

TEST_F(DeskPressTracker, LeavingTheSlackInEitherDirectionStartsADrag) {
  for (ScreenPoint p : {Offset(kPress, 5, 0), Offset(kPress, -5, 0), Offset(kPress, 0, 4), Offset(kPress, 0, -4)}) {
    SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
    tracker_.Press(kPress, kOrigin);
    ASSERT_TRUE(tracker_.Move(p, origin_));
    EXPECT_EQ(origin_, Offset(kOrigin, p.x - kPress.x, p.y - kPress.y));
    EXPECT_TRUE(tracker_.dragging());
    tracker_.Cancel();
  }
}

TEST_F(DeskPressTracker, ADragFollowsTheCursorEvenBackInsideTheSlack) {
  tracker_.Press(kPress, kOrigin);
  ASSERT_TRUE(tracker_.Move(Offset(kPress, 30, 20), origin_));
  EXPECT_EQ(origin_, Offset(kOrigin, 30, 20));
  ASSERT_TRUE(tracker_.Move(Offset(kPress, 1, 1), origin_));
  EXPECT_EQ(origin_, Offset(kOrigin, 1, 1));
  EXPECT_EQ(tracker_.Release(Offset(kPress, -7, 9), origin_), PressTracker::Outcome::kDragged);
  EXPECT_EQ(origin_, Offset(kOrigin, -7, 9));
  EXPECT_FALSE(tracker_.pressed());
}

TEST_F(DeskPressTracker, AReleaseFarAwayWithoutMovesIsADragToThere) {
  tracker_.Press(kPress, kOrigin);
  EXPECT_EQ(tracker_.Release(Offset(kPress, 50, -60), origin_), PressTracker::Outcome::kDragged);
  EXPECT_EQ(origin_, Offset(kOrigin, 50, -60));
}

TEST_F(DeskPressTracker, WithoutAPressNothingHappens) {
  EXPECT_FALSE(tracker_.Move(Offset(kPress, 50, 50), origin_));
  EXPECT_EQ(tracker_.Release(kPress, origin_), PressTracker::Outcome::kNothing);
  tracker_.Press(kPress, kOrigin);
  tracker_.Move(Offset(kPress, 50, 50), origin_);
  tracker_.Cancel();  // the mouse was taken away
  EXPECT_FALSE(tracker_.Move(Offset(kPress, 60, 60), origin_));
  EXPECT_EQ(tracker_.Release(kPress, origin_), PressTracker::Outcome::kNothing);
}

}  // namespace
}  // namespace kn::desk
