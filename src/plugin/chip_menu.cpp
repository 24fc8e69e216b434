#include "plugin/chip_menu.h"

#include "plugin/chip_modes.h"
#include "plugin/host_contract.h"
#include "plugin/host_texts.h"

namespace kn {
namespace {

MenuEntry Command(std::int32_t id, const char* label) {
  return {MenuEntry::Kind::kCommand, id, label, {}};
}

MenuEntry Separator() { return {MenuEntry::Kind::kSeparator, 0, nullptr, {}}; }

MenuEntry Popup(const char* label, std::vector<MenuEntry> items) {
  return {MenuEntry::Kind::kPopup, 0, label, std::move(items)};
}

}  // namespace

std::vector<MenuEntry> ChipMenuEntries() {
  return {Popup(kMenuInterval, {Command(IDM_INTERVAL_NONE, kLabelNone),
                                Command(IDM_INTERVAL_1SEC, kLabel1Sec),
                                Command(IDM_INTERVAL_1MIN, kLabel1Min),
                                Command(IDM_INTERVAL_3MIN, kLabel3Min),
                                Command(IDM_INTERVAL_10MIN, kLabel10Min)}),
          Popup(kMenuLinkColor, {Command(IDM_LINK_RED, kLabelRed),
                                 Command(IDM_LINK_GREEN, kLabelGreen),
                                 Command(IDM_LINK_BLUE, kLabelBlue)}),
          Separator(),
          Command(IDM_BLINK, kLabelBlink),
          Separator(),
          Command(IDM_BOARD_MODE, kLabelBoard),
          Command(IDM_SCROLL_MODE, kLabelScroll),
          Separator(),
          Command(IDM_ABOUT, kLabelAbout)};
}

std::vector<std::int32_t> CheckedMenuIds(const ChipState* state) {
  const ChipModes modes = state ? ModesOf(*state) : kDefaultModes;
  // Zero is skipped: separators carry the id 0 and must never be checked.
  std::vector<std::int32_t> ids;
  for (const std::int32_t id :
       {modes.interval, modes.linkColor, modes.blink, modes.boardMode, modes.scrollMode}) {
    if (id != 0) ids.push_back(id);
  }
  return ids;
}

}  // namespace kn
