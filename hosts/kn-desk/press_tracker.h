// Tells a click from a drag. A press that moves beyond the drag threshold
// drags the chip's window along; a press released before that is a click,
// which goes to the chip. Screen coordinates throughout. Portable.
#pragma once

namespace kn::desk {

struct ScreenPoint {
  int x = 0;
  int y = 0;

  bool operator==(const ScreenPoint& other) const { return x == other.x && y == other.y; }
};

class PressTracker {
 public:
  // The distance in each direction that a press may wander and still be a
  // click (the system's drag rectangle).
  PressTracker(int slackX, int slackY) : slackX_(slackX), slackY_(slackY) {}

  enum class Outcome { kNothing, kClick, kDragged };

  // The button went down at `cursor` over a window whose top-left is `origin`.
  void Press(ScreenPoint cursor, ScreenPoint origin);
  // The cursor moved. True when the window must be at `origin` now.
  bool Move(ScreenPoint cursor, ScreenPoint& origin);
  // The button came up at `cursor`; a drag takes this last step too.
  Outcome Release(ScreenPoint cursor, ScreenPoint& origin);
  // The press was lost (another window took the mouse).
  void Cancel() { pressed_ = dragging_ = false; }

  bool pressed() const { return pressed_; }
  bool dragging() const { return dragging_; }

 private:
  int slackX_;
  int slackY_;
  bool pressed_ = false;
  bool dragging_ = false;
  ScreenPoint start_;
  ScreenPoint startOrigin_;
};

}  // namespace kn::desk
