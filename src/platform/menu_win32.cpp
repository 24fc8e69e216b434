#include "platform/menu_win32.h"

#include <windows.h>

#include "platform/gdi_raii_win32.h"

namespace kn {
namespace {

void AppendEntries(HMENU menu, const std::vector<MenuEntry>& entries);

void AppendEntry(HMENU menu, const MenuEntry& entry) {
  switch (entry.kind) {
    case MenuEntry::Kind::kSeparator:
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      return;
    case MenuEntry::Kind::kCommand:
      AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(entry.id), entry.label);
      return;
    case MenuEntry::Kind::kPopup: {
      OwnedMenu popup(CreateMenu());
      if (!popup.get()) return;
      AppendEntries(popup.get(), entry.items);
      // Once appended the popup belongs to the menu.
      if (AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()), entry.label)) {
        popup.release();
      }
      return;
    }
  }
}

void AppendEntries(HMENU menu, const std::vector<MenuEntry>& entries) {
  for (const MenuEntry& entry : entries) AppendEntry(menu, entry);
}

}  // namespace

MenuHandle BuildMenuTree(const std::vector<MenuEntry>& entries,
                         const std::vector<std::int32_t>& checked) {
  HMENU menu = CreateMenu();
  if (!menu) return nullptr;
  AppendEntries(menu, entries);
  for (const std::int32_t id : checked) {
    CheckMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | MF_CHECKED);
  }
  return menu;
}

}  // namespace kn
