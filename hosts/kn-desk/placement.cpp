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

}  // namespace kn::desk
