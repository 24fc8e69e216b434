// A chip's context menu: the chip's own items (GetDrawExMenu) followed by
// the desktop host's. The chip's menu is copied into a pop-up menu, which
// is what TrackPopupMenu shows, and the ids it offers are remembered so that
// a chosen id goes back to the side that offered it.
#pragma once

#include <windows.h>

#include <set>

#include "platform/win32_owners.h"

namespace kn::desk {

// The host's own commands; far from the ids a chip uses.
enum HostCommand : UINT {
  kCommandNewChip = 40001,
  kCommandEditMemo,
  kCommandTextColor,
  kCommandBackColor,
  kCommandFont,
  kCommandZoom,
  kCommandDeleteChip,
  kCommandQuit,
};

bool IsHostCommand(UINT id);

struct ChipMenu {
  OwnedMenu menu;
  std::set<UINT> chipIds;  // the commands the chip's own menu offered
};

// Takes ownership of `chipMenu` (may be null or not a menu at all) and
// destroys it once copied.
ChipMenu BuildChipMenu(HMENU chipMenu, bool zoomed);

// The command ids anywhere in a menu tree, separators and pop-ups aside.
std::set<UINT> CommandIds(HMENU menu);

}  // namespace kn::desk
