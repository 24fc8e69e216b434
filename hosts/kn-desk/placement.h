// Where chips go on the screen. Portable.
#pragma once

#include <vector>

namespace kn::desk {

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// How much of a chip stays in reach when it is brought back on screen.
constexpr int kReachableSide = 32;

// The top-left corner for a window of `width` x `height` at (x, y) such that
// at least kReachableSide pixels of it in each direction (or all of it, when
// smaller) lie inside `area`, moving it as little as possible. A chip saved on
// a screen that is gone comes back where it can be grabbed.
void KeepReachable(const ScreenRect& area, int width, int height, int& x, int& y);

// Where a new chip goes: a step down and right of `x`, `y`, wrapping back to
// the area's top-left corner when that would leave the area.
void NextChipPlace(const ScreenRect& area, int& x, int& y);

constexpr int kCascadeStep = 24;

bool Overlap(const ScreenRect& a, const ScreenRect& b);

// Where a new chip of `width` x `height` goes so that it covers none of
// `taken` (the desk window, the other chips): the first free place of the
// cascade from (x, y), else the first free place row by row over the area.
// With no free place it takes the cascade's first step.
void FreeChipPlace(const ScreenRect& area, const std::vector<ScreenRect>& taken, int width, int height, int& x,
                   int& y);

}  // namespace kn::desk
