// What a click on the chip does: scroll mode on and off, paging, launching or
// copying a link, and the Shift-click that switches board mode.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "plugin/chip_logic.h"
#include "system/desktop.h"

namespace kn {

struct ClickGeometry {
  Rect client;    // the window's client rectangle
  Rect textRect;  // the client rectangle inset by the frame
  int x;
  int y;
};

// 1 when the chip must be redrawn, else 0.
int ClickChip(ChipEnv& env, BlockHandle chip, KeyState keys, const ClickGeometry& where,
              Desktop& desktop);

}  // namespace kn
