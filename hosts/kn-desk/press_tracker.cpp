#include "press_tracker.h"

#include <cstdlib>

namespace kn::desk {

void PressTracker::Press(ScreenPoint cursor, ScreenPoint origin) {
  pressed_ = true;
  dragging_ = false;
  start_ = cursor;
  startOrigin_ = origin;
}

bool PressTracker::Move(ScreenPoint cursor, ScreenPoint& origin) {
  if (!pressed_) return false;
  const int dx = cursor.x - start_.x;
  const int dy = cursor.y - start_.y;
  if (!dragging_ && std::abs(dx) <= slackX_ && std::abs(dy) <= slackY_) return false;
  dragging_ = true;
  origin = ScreenPoint{startOrigin_.x + dx, startOrigin_.y + dy};
  return true;
}

PressTracker::Outcome PressTracker::Release(ScreenPoint cursor, ScreenPoint& origin) {
  if (!pressed_) return Outcome::kNothing;
  Move(cursor, origin);
  const Outcome outcome = dragging_ ? Outcome::kDragged : Outcome::kClick;
  Cancel();
  return outcome;
}

}  // namespace kn::desk
