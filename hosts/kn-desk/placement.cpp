#include "placement.h"

#include <algorithm>

namespace kn::desk {
namespace {

int Clamp(int value, int low, int high) { return high < low ? low : std::min(std::max(value, low), high); }

int KeepAxis(int position, int size, int areaLow, int areaHigh) {
  const int keep = std::min(size, kReachableSide);
  return Clamp(position, areaLow - (size - keep), areaHigh - keep);
}

}  // namespace

void KeepReachable(const ScreenRect& area, int width, int height, int& x, int& y) {
  x = KeepAxis(x, std::max(width, 0), area.left, area.right);
  y = KeepAxis(y, std::max(height, 0), area.top, area.bottom);
}

void NextChipPlace(const ScreenRect& area, int& x, int& y) {
  x += kCascadeStep;
  y += kCascadeStep;
  if (x + kReachableSide * 4 > area.right || y + kReachableSide * 4 > area.bottom) {
    x = area.left + kCascadeStep;
    y = area.top + kCascadeStep;
  }
}

bool Overlap(const ScreenRect& a, const ScreenRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void FreeChipPlace(const ScreenRect& area, const std::vector<ScreenRect>& taken, int width, int height, int& x,
                   int& y) {
  const auto free = [&](int left, int top) {
    const ScreenRect chip{left, top, left + width, top + height};
    if (chip.right > area.right || chip.bottom > area.bottom) return false;
    return std::none_of(taken.begin(), taken.end(), [&](const ScreenRect& t) { return Overlap(chip, t); });
  };
  int cx = x;
  int cy = y;
  NextChipPlace(area, cx, cy);
  const int firstX = cx;
  const int firstY = cy;
  // The cascade first: a new chip beside the one it was made from.
  for (int step = 0; step < 64; ++step) {
    if (free(cx, cy)) {
      x = cx;
      y = cy;
      return;
    }
    NextChipPlace(area, cx, cy);
  }
  for (int top = area.top + kCascadeStep; top + height <= area.bottom; top += kCascadeStep) {
    for (int left = area.left + kCascadeStep; left + width <= area.right; left += kCascadeStep) {
      if (free(left, top)) {
        x = left;
        y = top;
        return;
      }
    }
  }
  x = firstX;
  y = firstY;
}

}  // namespace kn::desk
