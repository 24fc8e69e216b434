// Chip settings as a test builds them: the driver's HostSettings with the
// test's own defaults (black text on light yellow, MS Gothic 12 pixels, and
// host bytes a chip must never read).
#pragma once

#include <windows.h>

#include <cstdint>

#include "host_settings.h"

namespace kn::wine {

using kn::SaveBlock;
using Modes = driver::SaveModes;

// The nine integers of a broken-down time, in their stored order.
inline const std::int32_t* FieldsOf(const BrokenDownTime& time) { return &time.sec; }
inline std::int32_t* FieldsOf(BrokenDownTime& time) { return &time.sec; }
static_assert(sizeof(BrokenDownTime) == 9 * sizeof(std::int32_t), "nine integers in a row");

// Modes as positional values: interval, link colour, blink, board, scroll.
inline Modes ModesOf(std::int32_t interval, std::int32_t linkColor, std::int32_t blink,
                     std::int32_t boardMode, std::int32_t scrollMode) {
  return Modes{interval, linkColor, blink, boardMode, scrollMode};
}
inline Modes ScrollModeOn() { return ModesOf(IDM_INTERVAL_1MIN, IDM_LINK_BLUE, 0, 0, IDM_SCROLL_MODE); }
inline Modes BoardModeOn() { return ModesOf(IDM_INTERVAL_1MIN, IDM_LINK_BLUE, 0, IDM_BOARD_MODE, 0); }

// The font the tests draw with unless a case asks for another: MS Gothic,
// Shift-JIS, 12 pixels.
inline LOGFONTA TestFont(LONG height = -12, bool bold = false) {
  return driver::MakeNoteFont(driver::kDefaultFace, height, bold);
}

class ChipSettings : public driver::HostSettings {
 public:
  ChipSettings() {
    HostData(0xA5);
    TextColor(RGB(0, 0, 0));
    BackColor(RGB(255, 255, 204));
    Font(TestFont());
  }
};

}  // namespace kn::wine
