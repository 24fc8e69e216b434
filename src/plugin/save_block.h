// The block the host stores to keep the chip's menu choices and the time of
// its last board check between runs.
#pragma once

#include <cstdint>

#include "plugin/chip_state.h"
#include "plugin/host_contract.h"

namespace kn {

// The whole block from the state (or the defaults when state is null):
// length 60, the five modes, lastCheck, reserved 0. The last four bytes are
// written as 0 too, so no stale host memory is persisted.
void PackSaveBlock(const ChipState* state, std::uint8_t (&block)[kSaveBlockSize]);

// Restores the modes and lastCheck from a block whose length field is 60;
// any other length (or a null block) sets the mode defaults and keeps
// lastCheck.
void RestoreSaveBlock(ChipState& state, const std::uint8_t* block);

}  // namespace kn
