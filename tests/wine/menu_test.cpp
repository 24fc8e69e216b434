// The context menu read back item by item as the host shows it, and every
// command's answer and visible effect.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "wine/harness/hex_text.h"
#include "wine/harness/chip_fixture.h"
#include "wine/harness/expected_texts.h"
#include "wine/harness/menu_reading.h"
#include "wine/harness/message_box_capture.h"

namespace kn::wine {
namespace {


// Labels in code page 932.
const char kIntervalMenu[] = "\x8d\x58\x90\x56\x8a\xd4\x8a\x75\x28\x26\x55\x29";  // 更新間隔(&U)
const char kLinkMenu[] = "\x83\x8a\x83\x93\x83\x4e\x82\xcc\x90\x46\x28\x26\x43\x29";  // リンクの色(&C)
const char kNone[] = "\x82\xc8\x82\xb5\x28\x26\x4e\x29";                          // なし(&N)
const char kOneSecond[] = "\x82\x50\x95\x62\x28\x26\x53\x29";                     // １秒(&S)
const char kOneMinute[] = "\x31\x95\xaa\x28\x26\x31\x29";                         // 1分(&1)
const char kThreeMinutes[] = "\x33\x95\xaa\x28\x26\x33\x29";                      // 3分(&3)
const char kTenMinutes[] = "\x31\x30\x95\xaa\x28\x31\x26\x30\x29";                // 10分(1&0)
const char kRed[] = "\x90\xd4\x28\x26\x52\x29";                                   // 赤(&R)
const char kGreen[] = "\x97\xce\x28\x26\x47\x29";                                 // 緑(&G)
const char kBlue[] = "\x90\xc2\x28\x26\x42\x29";                                  // 青(&B)
const char kBlinkLabel[] = "\x83\x75\x83\x8a\x83\x93\x83\x4e\x28\x26\x42\x29";    // ブリンク(&B)
const char kBoardLabel[] =
    "\x8c\x66\x8e\xa6\x94\xc2\x83\x82\x81\x5b\x83\x68\x28\x26\x4b\x29";  // 掲示板モード(&K)
const char kScrollLabel[] =
    "\x83\x58\x83\x4e\x83\x8d\x81\x5b\x83\x8b\x83\x82\x81\x5b\x83\x68\x28\x26\x53\x29";  // スクロールモード(&S)
const char kAboutLabel[] =
    "\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93\x8f\xee\x95\xf1\x28\x26\x41\x29\x2e\x2e\x2e";  // バージョン情報(&A)...

std::string Describe(const std::set<UINT>& ids) {
  std::string text;
  for (UINT id : ids) text += std::to_string(id) + " ";
  return text.empty() ? "(none)" : text;
}

// One expected item: a command (id > 0), a popup (its items) or a separator.
struct Expected {
  enum Kind { kCommand, kPopup, kSeparator } kind;
  UINT id;
  const char* label;
  std::vector<Expected> items;
};

Expected Command(UINT id, const char* label) { return {Expected::kCommand, id, label, {}}; }
Expected Popup(const char* label, std::vector<Expected> items) { return {Expected::kPopup, 0, label, items}; }
Expected Separator() { return {Expected::kSeparator, 0, "", {}}; }

const std::vector<Expected>& ExpectedTree() {
  static const std::vector<Expected> tree = {
      Popup(kIntervalMenu, {Command(IDM_INTERVAL_NONE, kNone), Command(IDM_INTERVAL_1SEC, kOneSecond),
                            Command(IDM_INTERVAL_1MIN, kOneMinute), Command(IDM_INTERVAL_3MIN, kThreeMinutes),
                            Command(IDM_INTERVAL_10MIN, kTenMinutes)}),
      Popup(kLinkMenu, {Command(IDM_LINK_RED, kRed), Command(IDM_LINK_GREEN, kGreen), Command(IDM_LINK_BLUE, kBlue)}),
      Separator(),
      Command(IDM_BLINK, kBlinkLabel),
      Separator(),
      Command(IDM_BOARD_MODE, kBoardLabel),
      Command(IDM_SCROLL_MODE, kScrollLabel),
      Separator(),
      Command(IDM_ABOUT, kAboutLabel),
  };
  return tree;
}

void ExpectTree(HMENU menu, const std::vector<Expected>& expected) {
  ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("item " + std::to_string(i) + " " + expected[i].label);
    const MenuItemView item = ReadMenuItem(menu, static_cast<int>(i));
    ASSERT_TRUE(item.read);
    // Separators come greyed by nature; every other item must be enabled.
    if (expected[i].kind != Expected::kSeparator) {
      EXPECT_EQ(item.state & (MF_GRAYED | MF_DISABLED), 0u) << "greyed or disabled";
    }
    switch (expected[i].kind) {
      case Expected::kSeparator:
        EXPECT_NE(item.type & MFT_SEPARATOR, 0u) << "not a separator";
        EXPECT_EQ(item.popup, nullptr);
        break;
      case Expected::kCommand:
        EXPECT_EQ(item.type, static_cast<UINT>(MFT_STRING));
        EXPECT_EQ(item.id, expected[i].id);
        EXPECT_EQ(item.popup, nullptr);
        EXPECT_EQ(item.label, expected[i].label) << Hex(item.label);
        break;
      case Expected::kPopup:
        EXPECT_EQ(item.type, static_cast<UINT>(MFT_STRING));
        EXPECT_EQ(item.label, expected[i].label) << Hex(item.label);
        ASSERT_NE(item.popup, nullptr) << "not a popup";
        EXPECT_EQ(GetSubMenu(menu, static_cast<int>(i)), item.popup);
        ExpectTree(item.popup, expected[i].items);
        break;
    }
  }
}

class MenuTest : public PaintTest {
 protected:
  std::set<UINT> Checks(HLOCAL chip) {
    OwnedMenu menu(static_cast<HMENU>(Api().GetDrawExMenu(chip)));
    EXPECT_NE(menu.get(), nullptr);
    return menu.get() ? CheckedIds(menu.get()) : std::set<UINT>{};
  }

  int PixelsOf(COLORREF color) { return canvas().width() * canvas().height() - canvas().CountOther(color); }
};

TEST_F(MenuTest, ItemsLabelsIdsAndPopupsInOrder) {
  ChipSettings settings;
  settings.Memo("abc");
  ScopedChip chip(settings);
  OwnedMenu menu(static_cast<HMENU>(Api().GetDrawExMenu(chip.get())));
  ASSERT_NE(menu.get(), nullptr);
  ASSERT_TRUE(IsMenu(menu.get()));
  ExpectTree(menu.get(), ExpectedTree());
}

// ---- Check marks -----------------------------------------------------------

struct CheckCase {
  const char* name;
  bool hasMemo;
  Modes modes;
  std::set<UINT> checked;
};

class MenuCheckTest : public MenuTest, public testing::WithParamInterface<CheckCase> {};

TEST_P(MenuCheckTest, MarksTheCurrentChoices) {
  ChipSettings settings;
  if (GetParam().hasMemo) settings.Memo("abc");
  else settings.NoMemo();
  settings.WithModes(GetParam().modes);
  ScopedChip chip(settings);
  OwnedMenu menu(static_cast<HMENU>(Api().GetDrawExMenu(chip.get())));
  ASSERT_NE(menu.get(), nullptr);
  ExpectTree(menu.get(), ExpectedTree());  // checks change nothing else
  EXPECT_EQ(CheckedIds(menu.get()), GetParam().checked) << "checked: " << Describe(CheckedIds(menu.get()));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, MenuCheckTest,
    testing::Values(
        CheckCase{"Defaults", true, Modes{}, {IDM_INTERVAL_1MIN, IDM_LINK_BLUE}},
        CheckCase{"AllOn", true, ModesOf(IDM_INTERVAL_1SEC, IDM_LINK_RED, IDM_BLINK, IDM_BOARD_MODE, IDM_SCROLL_MODE),
                  {IDM_INTERVAL_1SEC, IDM_LINK_RED, IDM_BLINK, IDM_BOARD_MODE, IDM_SCROLL_MODE}},
        CheckCase{"TenMinutesGreenScroll", true, ModesOf(IDM_INTERVAL_10MIN, IDM_LINK_GREEN, 0, 0, IDM_SCROLL_MODE),
                  {IDM_INTERVAL_10MIN, IDM_LINK_GREEN, IDM_SCROLL_MODE}},
        CheckCase{"NoneBlueBlink", true, ModesOf(IDM_INTERVAL_NONE, IDM_LINK_BLUE, IDM_BLINK, 0, 0),
                  {IDM_INTERVAL_NONE, IDM_LINK_BLUE, IDM_BLINK}},
        // Without a memo the saved block is never read: nothing chosen yet.
        CheckCase{"NoMemoYet", false, ModesOf(IDM_INTERVAL_3MIN, IDM_LINK_RED, IDM_BLINK, 0, 0), {}}),
    [](const testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

TEST_F(MenuTest, ChipThatCannotBeLockedShowsTheDefaults) {
  HLOCAL chip = LocalAlloc(LMEM_MOVEABLE, 0);
  ASSERT_NE(chip, nullptr);
  ASSERT_EQ(LocalLock(chip), nullptr) << "the block unexpectedly locks";
  {
    OwnedMenu menu(static_cast<HMENU>(Api().GetDrawExMenu(chip)));
    ASSERT_NE(menu.get(), nullptr);
    ExpectTree(menu.get(), ExpectedTree());
    EXPECT_EQ(CheckedIds(menu.get()), (std::set<UINT>{IDM_INTERVAL_1MIN, IDM_LINK_BLUE}))
        << "checked: " << Describe(CheckedIds(menu.get()));
  }
  LocalFree(chip);
}

// ---- Commands ----------------------------------------------------------------

TEST_F(MenuTest, LinkColourCommandsRedrawOnlyWhenTheColourChanges) {
  ChipSettings settings;
  settings.Memo("plain\r\n!=link line|Z:\\kn-missing\\x.exe").TextColor(RGB(0, 0, 0));
  ScopedChip chip(settings);
  const COLORREF red = RGB(255, 0, 0);
  const COLORREF green = RGB(0, 255, 0);
  const COLORREF blue = RGB(0, 0, 255);
  const struct {
    UINT id;
    int result;
    COLORREF color;
  } steps[] = {{IDM_LINK_BLUE, 0, blue}, {IDM_LINK_RED, 1, red},    {IDM_LINK_RED, 0, red},
               {IDM_LINK_GREEN, 1, green}, {IDM_LINK_BLUE, 1, blue}, {IDM_LINK_GREEN, 1, green}};
  for (const auto& s : steps) {
    SCOPED_TRACE("command " + std::to_string(s.id));
    EXPECT_EQ(Api().DoDrawExMenu(chip.get(), hwnd(), s.id), s.result);
    ASSERT_EQ(Paint(chip), 0);
    for (COLORREF color : {red, green, blue}) {
      if (color == s.color) EXPECT_GT(PixelsOf(color), 0) << "link not drawn in " << std::hex << color;
      else EXPECT_EQ(PixelsOf(color), 0) << "pixels in " << std::hex << color;
    }
    const std::set<UINT> checked = Checks(chip.get());
    EXPECT_EQ(checked.count(s.id), 1u) << Describe(checked);
  }
}

TEST_F(MenuTest, IntervalCommandsAnswerZeroAndSetTheTimerPeriod) {
  ChipSettings settings;
  settings.Memo("abc");
  ScopedChip chip(settings);
  const struct {
    UINT id;
    int period;  // half-second ticks
  } steps[] = {{IDM_INTERVAL_1SEC, 2},    {IDM_INTERVAL_1MIN, 120}, {IDM_INTERVAL_3MIN, 360},
               {IDM_INTERVAL_10MIN, 1200}, {IDM_INTERVAL_NONE, 120}, {IDM_INTERVAL_3MIN, 360}};
  for (const auto& s : steps) {
    SCOPED_TRACE("command " + std::to_string(s.id));
    EXPECT_EQ(Api().DoDrawExMenu(chip.get(), hwnd(), s.id), 0);
    EXPECT_EQ(Api().GetTimerSpan(chip.get()), s.period);
    EXPECT_EQ(Checks(chip.get()), (std::set<UINT>{s.id, IDM_LINK_BLUE}));
  }
}

TEST_F(MenuTest, BlinkTogglesAndAnswersZero) {
  ChipSettings settings;
  settings.Memo("abc");
  ScopedChip chip(settings);
  EXPECT_EQ(Api().DoDrawExMenu(chip.get(), hwnd(), IDM_BLINK), 0);
  EXPECT_EQ(Checks(chip.get()), (std::set<UINT>{IDM_INTERVAL_1MIN, IDM_LINK_BLUE, IDM_BLINK}));
  EXPECT_EQ(Api().DoDrawExMenu(chip.get(), hwnd(), IDM_BLINK), 0);
  EXPECT_EQ(Checks(chip.get()), (std::set<UINT>{IDM_INTERVAL_1MIN, IDM_LINK_BLUE}));
}

TEST_F(MenuTest, BoardModeTwiceShowsTheMemoAgain) {
  ChipSettings settings;
  settings.Memo("first line\r\nsecond line");
  ScopedChip chip(settings);
  ASSERT_EQ(Paint(chip), 0);
  Canvas before(client());
  BitBlt(before.dc(), 0, 0, before.width(), before.height(), canvas().dc(), 0, 0, SRCCOPY);

  EXPECT_EQ(Api().DoDrawExMenu(chip.get(), hwnd(), IDM_BOARD_MODE), 3);
  EXPECT_EQ(Checks(chip.get()).count(IDM_BOARD_MODE), 1u);
  ASSERT_EQ(Paint(chip), 0);
  EXPECT_NE(canvas().FirstDifference(before), "") << "board mode still shows the memo";

  EXPECT_EQ(Api().DoDrawExMenu(chip.get(), hwnd(), IDM_BOARD_MODE), 3);
  EXPECT_EQ(Checks(chip.get()).count(IDM_BOARD_MODE), 0u);
  ASSERT_EQ(Paint(chip), 0);
  EXPECT_EQ(canvas().FirstDifference(before), "");
}

TEST_F(MenuTest, ScrollModeTogglesTheBevel) {
  ChipSettings settings;
  settings.Memo("abc");
  ScopedChip chip(settings);
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  ASSERT_NE(light, settings.backColor());
  for (bool on : {true, false}) {
    SCOPED_TRACE(on ? "on" : "off");
    EXPECT_EQ(Api().DoDrawExMenu(chip.get(), hwnd(), IDM_SCROLL_MODE), 3);
    ASSERT_EQ(Paint(chip), 0);
    EXPECT_EQ(canvas().At(canvas().width() / 2, 0) == light, on);
    EXPECT_EQ(Checks(chip.get()).count(IDM_SCROLL_MODE), on ? 1u : 0u);
  }
}

TEST_F(MenuTest, AboutAndUnknownIdsShowTheAboutBox) {
  ChipSettings settings;
  settings.Memo("abc").WithModes(ModesOf(IDM_INTERVAL_3MIN, IDM_LINK_GREEN, IDM_BLINK, 0, IDM_SCROLL_MODE));
  ScopedChip chip(settings);
  const std::set<UINT> checksBefore = Checks(chip.get());
  std::string aboutText = AboutLines().front();
  for (size_t i = 1; i < AboutLines().size(); ++i) aboutText += "\n" + AboutLines()[i];

  for (UINT id : {0u, 10011u, static_cast<UINT>(IDM_ABOUT), 10018u, 0xFFFFFFFFu}) {
    SCOPED_TRACE("command " + std::to_string(id));
    MessageBoxCapture capture;
    ASSERT_TRUE(capture.installed());
    EXPECT_EQ(Api().DoDrawExMenu(chip.get(), hwnd(), id), 0);
    ASSERT_EQ(capture.boxes().size(), 1u);
    const CapturedBox& box = capture.boxes()[0];
    EXPECT_EQ(box.caption, kAboutCaption) << Hex(box.caption);
    EXPECT_EQ(box.text, aboutText);
    EXPECT_EQ(box.owner, hwnd());
    EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_INFORMATION));
    EXPECT_EQ(Checks(chip.get()), checksBefore) << "the About box changed a mode";
  }
}

}  // namespace
}  // namespace kn::wine
