// Reads a menu tree back the way a host shows it: item by item, with its
// type, id, label bytes, state and popup.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "platform/win32_owners.h"

namespace kn::wine {

struct MenuItemView {
  UINT type = 0;  // MFT_* bits
  UINT id = 0;
  UINT state = 0;  // GetMenuState's flags (MF_CHECKED, MF_GRAYED, ...)
  HMENU popup = nullptr;
  std::string label;  // code page 932 bytes
  bool read = false;
};

inline MenuItemView ReadMenuItem(HMENU menu, int position) {
  MenuItemView view;
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
  if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) return view;
  view.read = true;
  view.type = info.fType;
  view.id = info.wID;
  view.popup = info.hSubMenu;
  // For a popup the high byte holds its item count; keep the flags only.
  view.state = GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & 0xFF;
  char label[256] = {};
  const int n = GetMenuStringA(menu, static_cast<UINT>(position), label, sizeof label, MF_BYPOSITION);
  view.label.assign(label, n > 0 ? static_cast<size_t>(n) : 0);
  return view;
}

inline std::vector<MenuItemView> ReadMenu(HMENU menu) {
  std::vector<MenuItemView> items;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) items.push_back(ReadMenuItem(menu, i));
  return items;
}

// The ids of every checked command item, popups searched too.
inline std::set<UINT> CheckedIds(HMENU menu) {
  std::set<UINT> checked;
  for (const MenuItemView& item : ReadMenu(menu)) {
    if (item.popup) {
      const std::set<UINT> inner = CheckedIds(item.popup);
      checked.insert(inner.begin(), inner.end());
    } else if (item.state & MF_CHECKED) {
      checked.insert(item.id);
    }
  }
  return checked;
}

// GetDrawExMenu's menu, destroyed with its popups at the end of the scope.
using kn::OwnedMenu;

}  // namespace kn::wine
