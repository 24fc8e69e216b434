#include "plugin/save_block.h"

#include <cstring>

#include "plugin/chip_modes.h"

namespace kn {

void PackSaveBlock(const ChipState* state, std::uint8_t (&block)[kSaveBlockSize]) {
  const ChipModes modes = state ? ModesOf(*state) : kDefaultModes;
  const SaveBlock save = SaveBlockOf(modes.interval, modes.linkColor, modes.blink, modes.boardMode,
                                     modes.scrollMode, state ? state->lastCheck : BrokenDownTime{});
  std::memcpy(block, &save, sizeof save);
}

void RestoreSaveBlock(ChipState& state, const std::uint8_t* block) {
  std::int32_t length = 0;
  if (block) std::memcpy(&length, block, sizeof length);
  if (length != kSaveBlockLength) {
    SetModes(state, kDefaultModes);
    return;
  }
  // The host owns the block's size: only the length word and the data after
  // it are read, never the last word.
  SaveBlock save{};
  std::memcpy(&save, block, offsetof(SaveBlock, unused));
  SetModes(state, {save.interval, save.linkColor, save.blink, save.boardMode, save.scrollMode});
  state.lastCheck = save.lastCheck;
}

}  // namespace kn
