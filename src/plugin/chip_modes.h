// The chip's five menu choices, and the defaults it falls back on: when the
// host's block carries none, and when its state cannot be read (the saved
// block written, the menu's check marks, the timer's period).
#pragma once

#include <cstdint>

#include "plugin/chip_state.h"
#include "plugin/host_contract.h"

namespace kn {

struct ChipModes {
  std::int32_t interval;
  std::int32_t linkColor;
  std::int32_t blink;
  std::int32_t boardMode;
  std::int32_t scrollMode;
};

// One minute, blue links, blink, board mode and scroll mode off.
inline constexpr ChipModes kDefaultModes{IDM_INTERVAL_1MIN, IDM_LINK_BLUE, 0, 0, 0};

inline ChipModes ModesOf(const ChipState& state) {
  return {state.interval, state.linkColor, state.blink, state.boardMode, state.scrollMode};
}

inline void SetModes(ChipState& state, const ChipModes& modes) {
  state.interval = modes.interval;
  state.linkColor = modes.linkColor;
  state.blink = modes.blink;
  state.boardMode = modes.boardMode;
  state.scrollMode = modes.scrollMode;
}

}  // namespace kn
