#include "plugin/save_block.h"

#include <cstring>

#include "plugin/command_ids.h"

namespace kn {
namespace {

struct SaveData {
  std::int32_t interval;
  std::int32_t linkColor;
  std::int32_t blink;
  std::int32_t boardMode;
  std::int32_t scrollMode;
  BrokenDownTime lastCheck;
  std::int32_t reserved;
};
static_assert(sizeof(SaveData) == kSaveDataLength, "60 data bytes");

}  // namespace

void PackSaveBlock(const ChipState* state, std::uint8_t (&block)[kSaveBlockSize]) {
  SaveData data{};
  if (state) {
    data.interval = state->interval;
    data.linkColor = state->linkColor;
    data.blink = state->blink;
    data.boardMode = state->boardMode;
    data.scrollMode = state->scrollMode;
    data.lastCheck = state->lastCheck;
  } else {
    data.interval = IDM_INTERVAL_1MIN;
    data.linkColor = IDM_LINK_BLUE;
  }
  std::memset(block, 0, sizeof block);
  std::memcpy(block, &kSaveDataLength, sizeof kSaveDataLength);
  std::memcpy(block + 4, &data, sizeof data);
}

void RestoreSaveBlock(ChipState& state, const std::uint8_t* block) {
  std::int32_t length = 0;
  if (block) std::memcpy(&length, block, sizeof length);
  if (length != kSaveDataLength) {
    state.interval = IDM_INTERVAL_1MIN;
    state.linkColor = IDM_LINK_BLUE;
    state.blink = 0;
    state.boardMode = 0;
    state.scrollMode = 0;
    return;
  }
  SaveData data;
  std::memcpy(&data, block + 4, sizeof data);
  state.interval = data.interval;
  state.linkColor = data.linkColor;
  state.blink = data.blink;
  state.boardMode = data.boardMode;
  state.scrollMode = data.scrollMode;
  state.lastCheck = data.lastCheck;
}

}  // namespace kn
