// The chip's context menu: its tree of items and the check marks that show
// the chip's current modes.
#pragma once

#include <cstdint>
#include <vector>

#include "plugin/chip_state.h"
#include "system/desktop.h"

namespace kn {

// The interval and link-colour popups, blink, board mode, scroll mode and
// the About box, with their separators.
std::vector<MenuEntry> ChipMenuEntries();

// The interval and link-colour ids as stored (an id the menu does not hold
// checks nothing), and each toggle only when on. Null state: the defaults.
std::vector<std::int32_t> CheckedMenuIds(const ChipState* state);

}  // namespace kn
