#include "plugin/menu_win32.h"

#include "plugin/command_ids.h"
#include "plugin/host_texts.h"
#include "plugin/menu_checks.h"

namespace kn {
namespace {

struct Item {
  std::int32_t id;
  const char* label;
};

constexpr Item kIntervalItems[] = {{IDM_INTERVAL_NONE, kLabelNone},
                                   {IDM_INTERVAL_1SEC, kLabel1Sec},
                                   {IDM_INTERVAL_1MIN, kLabel1Min},
                                   {IDM_INTERVAL_3MIN, kLabel3Min},
                                   {IDM_INTERVAL_10MIN, kLabel10Min}};
constexpr Item kLinkItems[] = {
    {IDM_LINK_RED, kLabelRed}, {IDM_LINK_GREEN, kLabelGreen}, {IDM_LINK_BLUE, kLabelBlue}};

template <std::size_t N>
HMENU MakePopup(const Item (&items)[N]) {
  HMENU popup = CreateMenu();
  if (!popup) return nullptr;
  for (const Item& item : items) {
    AppendMenuA(popup, MF_STRING, static_cast<UINT_PTR>(item.id), item.label);
  }
  return popup;
}

bool AppendPopup(HMENU menu, HMENU popup, const char* label) {
  if (!popup) return false;
  if (AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), label)) return true;
  DestroyMenu(popup);
  return false;
}

}  // namespace

HMENU BuildChipMenu(const ChipState* state) {
  HMENU menu = CreateMenu();
  if (!menu) return nullptr;
  AppendPopup(menu, MakePopup(kIntervalItems), kMenuInterval);
  AppendPopup(menu, MakePopup(kLinkItems), kMenuLinkColor);
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, IDM_BLINK, kLabelBlink);
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, IDM_BOARD_MODE, kLabelBoard);
  AppendMenuA(menu, MF_STRING, IDM_SCROLL_MODE, kLabelScroll);
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, IDM_ABOUT, kLabelAbout);
  for (const std::int32_t id : CheckedMenuIds(state)) {
    CheckMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | MF_CHECKED);
  }
  return menu;
}

}  // namespace kn
