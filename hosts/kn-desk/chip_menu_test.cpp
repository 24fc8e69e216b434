// The context menu: the chip's own menu copied into a pop-up menu, labels,
// checks and pop-ups intact, followed by the host's items; and the ids that
// go back to the chip.
#include "chip_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kn::desk {
namespace {

struct Item {
  std::wstring label;
  UINT id = 0;
  bool checked = false;
  bool separator = false;
  std::vector<Item> popup;
};

std::vector<Item> Read(HMENU menu) {
  std::vector<Item> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t label[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = label;
    info.cch = 127;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    Item item;
    item.separator = (info.fType & MFT_SEPARATOR) != 0;
    item.label = item.separator ? L"" : label;
    item.id = info.hSubMenu ? 0 : info.wID;
    item.checked = (info.fState & MFS_CHECKED) != 0;
    if (info.hSubMenu) item.popup = Read(info.hSubMenu);
    items.push_back(item);
  }
  return items;
}

// A menu shaped like a chip's: made with CreateMenu, labels in code page
// 932, two pop-ups, separators and checks by command.
HMENU ChipLikeMenu() {
  HMENU top = CreateMenu();
  HMENU intervals = CreateMenu();
  AppendMenuA(intervals, MF_STRING, 10010, "\x82\xc8\x82\xb5(&N)");  // なし(&N)
  AppendMenuA(intervals, MF_STRING, 10000, "1\x95\xaa(&1)");         // 1分(&1)
  HMENU colours = CreateMenu();
  AppendMenuA(colours, MF_STRING, 10005, "\x90\xc2(&B)");  // 青(&B)
  AppendMenuA(top, MF_POPUP, reinterpret_cast<UINT_PTR>(intervals), "Interval");
  AppendMenuA(top, MF_POPUP, reinterpret_cast<UINT_PTR>(colours), "Links");
  AppendMenuA(top, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(top, MF_STRING, 10007, "Board");
  AppendMenuA(top, MF_STRING, 10019, "About...");
  CheckMenuItem(top, 10000, MF_BYCOMMAND | MF_CHECKED);
  CheckMenuItem(top, 10007, MF_BYCOMMAND | MF_CHECKED);
  return top;
}

const std::vector<std::wstring> kHostLabels = {
    L"&Edit memo...", L"&Text colour...", L"Back&ground colour...", L"&Font...", L"&Zoom", L"",
    L"&New chip",     L"&Delete chip...", L"",                      L"&Quit Kaleidonote Desk"};

void ExpectHostItems(const std::vector<Item>& items, std::size_t from, bool zoomed) {
  ASSERT_EQ(items.size(), from + kHostLabels.size());
  for (std::size_t i = 0; i < kHostLabels.size(); ++i) {
    const Item& item = items[from + i];
    EXPECT_EQ(item.label, kHostLabels[i]) << "host item " << i;
    EXPECT_EQ(item.separator, kHostLabels[i].empty());
    if (!item.separator) EXPECT_TRUE(IsHostCommand(item.id)) << item.id;
  }
  EXPECT_EQ(items[from + 4].id, kCommandZoom);
  EXPECT_EQ(items[from + 4].checked, zoomed);
}

TEST(DeskChipMenu, CopiesTheChipsMenuAndAddsTheHostsItems) {
  const ChipMenu menu = BuildChipMenu(ChipLikeMenu(), true);
  const std::vector<Item> items = Read(menu.menu.get());
  ASSERT_GE(items.size(), 6u);
  EXPECT_EQ(items[0].label, L"Interval");
  ASSERT_EQ(items[0].popup.size(), 2u);
  EXPECT_EQ(items[0].popup[0].label, L"\u306a\u3057(&N)");
  EXPECT_EQ(items[0].popup[0].id, 10010u);
  EXPECT_FALSE(items[0].popup[0].checked);
  EXPECT_EQ(items[0].popup[1].label, L"1\u5206(&1)");
  EXPECT_TRUE(items[0].popup[1].checked);
  ASSERT_EQ(items[1].popup.size(), 1u);
  EXPECT_EQ(items[1].popup[0].label, L"\u9752(&B)");
  EXPECT_TRUE(items[2].separator);
  EXPECT_EQ(items[3].id, 10007u);
  EXPECT_TRUE(items[3].checked);
  EXPECT_EQ(items[4].label, L"About...");
  EXPECT_TRUE(items[5].separator) << "between the chip's items and the host's";
  ExpectHostItems(items, 6, true);
  EXPECT_EQ(menu.chipIds, (std::set<UINT>{10000, 10005, 10007, 10010, 10019}));
}

TEST(DeskChipMenu, WithoutAChipMenuOnlyTheHostsItemsAreOffered) {
  for (HMENU chipMenu : {static_cast<HMENU>(nullptr), reinterpret_cast<HMENU>(0x1234)}) {
    const ChipMenu menu = BuildChipMenu(chipMenu, false);
    ASSERT_NE(menu.menu.get(), nullptr);
    ExpectHostItems(Read(menu.menu.get()), 0, false);
    EXPECT_TRUE(menu.chipIds.empty());
  }
}

TEST(DeskChipMenu, TheChipsMenuIsDestroyedOnceCopied) {
  HMENU chipMenu = ChipLikeMenu();
  { const ChipMenu menu = BuildChipMenu(chipMenu, false); }
  EXPECT_FALSE(IsMenu(chipMenu));
}

TEST(DeskChipMenu, CommandIdsAreFoundInPopupsToo) {
  HMENU chipMenu = ChipLikeMenu();
  EXPECT_EQ(CommandIds(chipMenu), (std::set<UINT>{10000, 10005, 10007, 10010, 10019}));
  DestroyMenu(chipMenu);
  EXPECT_TRUE(CommandIds(nullptr).empty());
}

}  // namespace
}  // namespace kn::desk
