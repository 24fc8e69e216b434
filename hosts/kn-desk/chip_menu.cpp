#include "chip_menu.h"

#include <string>

#include "desk_texts.h"
#include "record_bridge.h"

namespace kn::desk {
namespace {

// Bounds against a menu tree that is not what a menu should be.
constexpr int kMaxItems = 256;
constexpr int kMaxDepth = 8;

void CopyItems(HMENU from, HMENU to, std::set<UINT>& ids, int depth) {
  const int count = GetMenuItemCount(from);
  for (int i = 0; i < count && i < kMaxItems; ++i) {
    wchar_t label[256] = {};
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    item.dwTypeData = label;
    item.cch = static_cast<UINT>(std::size(label) - 1);
    if (!GetMenuItemInfoW(from, static_cast<UINT>(i), TRUE, &item)) continue;
    if (item.hSubMenu) {
      HMENU popup = CreatePopupMenu();
      if (depth < kMaxDepth) CopyItems(item.hSubMenu, popup, ids, depth + 1);
      item.hSubMenu = popup;
    } else if (!(item.fType & MFT_SEPARATOR)) {
      ids.insert(item.wID);
    }
    if (item.fType & MFT_SEPARATOR) item.fMask &= ~static_cast<UINT>(MIIM_STRING);
    item.dwTypeData = label;
    InsertMenuItemW(to, static_cast<UINT>(GetMenuItemCount(to)), TRUE, &item);
  }
}

void Append(HMENU menu, UINT id, Text label, UINT flags = MF_STRING) {
  AppendMenuW(menu, flags, id, Widen(Say(label)).c_str());
}

void AppendHostItems(HMENU menu, bool zoomed) {
  if (GetMenuItemCount(menu) > 0) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  Append(menu, kCommandEditMemo, Text::kMenuEditMemo);
  Append(menu, kCommandTextColor, Text::kMenuTextColor);
  Append(menu, kCommandBackColor, Text::kMenuBackColor);
  Append(menu, kCommandFont, Text::kMenuFont);
  Append(menu, kCommandZoom, Text::kMenuZoom, MF_STRING | (zoomed ? MF_CHECKED : MF_UNCHECKED));
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  Append(menu, kCommandNewChip, Text::kMenuNewChip);
  Append(menu, kCommandDeleteChip, Text::kMenuDeleteChip);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  Append(menu, kCommandQuit, Text::kMenuQuit);
}

void CollectIds(HMENU menu, std::set<UINT>& ids, int depth) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count && i < kMaxItems; ++i) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item)) continue;
    if (item.hSubMenu) {
      if (depth < kMaxDepth) CollectIds(item.hSubMenu, ids, depth + 1);
    } else if (!(item.fType & MFT_SEPARATOR)) {
      ids.insert(item.wID);
    }
  }
}

}  // namespace

bool IsHostCommand(UINT id) { return id >= kCommandNewChip && id <= kCommandQuit; }

ChipMenu BuildChipMenu(HMENU chipMenu, bool zoomed) {
  ChipMenu result;
  result.menu = OwnedMenu(CreatePopupMenu());
  if (chipMenu && IsMenu(chipMenu)) {
    OwnedMenu owned(chipMenu);
    CopyItems(owned.get(), result.menu.get(), result.chipIds, 0);
  }
  AppendHostItems(result.menu.get(), zoomed);
  return result;
}

std::set<UINT> CommandIds(HMENU menu) {
  std::set<UINT> ids;
  if (menu && IsMenu(menu)) CollectIds(menu, ids, 0);
  return ids;
}

}  // namespace kn::desk
