// The per-chip record. It lives in a movable block whose handle the host
// keeps as the chip handle; it holds only plain data, block handles and a
// pointer to the chip's heap object that reading threads share, so the
// block may move between calls.
#pragma once

#include <cstdint>
#include <type_traits>

#include "system/types.h"
#include "system/movable_memory.h"

namespace kn {

class ChipReader;

struct ChipState {
  BlockHandle displayText;     // NUL-terminated text shown
  std::int32_t displayLength;  // its length in bytes
  ColorRef textColor;
  ColorRef backColor;
  LogFont baseFont;
  std::int32_t interval;    // an interval command id
  std::int32_t linkColor;   // a link-colour command id
  std::int32_t blink;       // 0 or IDM_BLINK
  std::int32_t boardMode;   // 0 or IDM_BOARD_MODE
  std::int32_t scrollMode;  // 0 or IDM_SCROLL_MODE
  BlockHandle memoText;     // the memo exactly as the host last gave it
  BrokenDownTime lastCheck;  // local time of the last board re-read
  std::int32_t stampChecked;
  std::int32_t zoomed;
  std::int32_t zoomRefresh;
  std::int32_t firstLine;
  std::int32_t lastLine;
  std::int32_t linesDrawn;
  ChipReader* reader;  // the board reads off the host's thread, or null
};
static_assert(std::is_trivially_copyable<ChipState>::value, "lives in movable memory");

}  // namespace kn
