#include "plugin/save_block.h"

#include <cstring>

namespace kn {

void PackSaveBlock(const ChipState* state, std::uint8_t (&block)[kSaveBlockSize]) {
  SaveBlock save{};
  save.length = kSaveBlockLength;
  if (state) {
    save.interval = state->interval;
    save.linkColor = state->linkColor;
    save.blink = state->blink;
    save.boardMode = state->boardMode;
    save.scrollMode = state->scrollMode;
    save.lastCheck = state->lastCheck;
  } else {
    save.interval = IDM_INTERVAL_1MIN;
    save.linkColor = IDM_LINK_BLUE;
  }
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
