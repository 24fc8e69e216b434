#include "plugin/save_block.h"

#include <cstring>

namespace kn {

void PackSaveBlock(const ChipState* state, std::uint8_t (&block)[kSaveBlockSize]) {
  const SaveBlock save = state ? SaveBlockOf(state->interval, state->linkColor, state->blink, state->boardMode,
                                             state->scrollMode, state->lastCheck)
                               : SaveBlockOf(IDM_INTERVAL_1MIN, IDM_LINK_BLUE, 0, 0, 0, BrokenDownTime{});
  std::memcpy(block, &save, sizeof save);
}

void RestoreSaveBlock(ChipState& state, const std::uint8_t* block) {
  std::int32_t length = 0;
  if (block) std::memcpy(&length, block, sizeof length);
  if (length != kSaveBlockLength) {
    state.interval = IDM_INTERVAL_1MIN;
    state.linkColor = IDM_LINK_BLUE;
    state.blink = 0;
    state.boardMode = 0;
    state.scrollMode = 0;
    return;
  }
  // The host owns the block's size: only the length word and the data after
  // it are read, never the last word.
  SaveBlock save{};
  std::memcpy(&save, block, offsetof(SaveBlock, unused));
  state.interval = save.interval;
  state.linkColor = save.linkColor;
  state.blink = save.blink;
  state.boardMode = save.boardMode;
  state.scrollMode = save.scrollMode;
  state.lastCheck = save.lastCheck;
}

}  // namespace kn
