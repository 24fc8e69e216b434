// The chip's context menu.
#pragma once

#include <windows.h>

#include "plugin/chip_state.h"

namespace kn {

// The menu tree with check marks on the chip's current modes (the defaults
// when state is null). The caller owns the menu.
HMENU BuildChipMenu(const ChipState* state);

}  // namespace kn
