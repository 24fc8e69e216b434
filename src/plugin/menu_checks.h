// Which menu items carry a check mark for the chip's current modes.
#pragma once

#include <cstdint>
#include <vector>

#include "plugin/chip_state.h"

namespace kn {

// The interval and link-colour ids as stored (an id the menu does not hold
// checks nothing), and each toggle only when on. Null state: the defaults.
std::vector<std::int32_t> CheckedMenuIds(const ChipState* state);

}  // namespace kn
