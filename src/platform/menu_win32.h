// Menus made from a tree of entries.
#pragma once

#include <cstdint>
#include <vector>

#include "system/desktop.h"

namespace kn {

// The menu (made with CreateMenu, popups too) with a check mark on every
// command of `checked`; the caller owns it. Null when it cannot be made.
MenuHandle BuildMenuTree(const std::vector<MenuEntry>& entries,
                         const std::vector<std::int32_t>& checked);

}  // namespace kn
