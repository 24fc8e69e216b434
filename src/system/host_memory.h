// The host's movable global blocks: the saved settings block and the
// chooser's memo text. They belong to the host; the plug-in resizes and
// fills them.
#pragma once

#include <cstddef>

#include "system/movable_memory.h"

namespace kn {

class HostMemory : public MovableMemory {
 public:
  // The block's size in bytes; 0 for a discarded block.
  virtual std::size_t Size(BlockHandle block) = 0;
  // Reallocate, without compacting other blocks when `noCompact`.
  virtual BlockHandle Resize(BlockHandle block, std::size_t bytes, bool noCompact) = 0;
  BlockHandle Reallocate(BlockHandle block, std::size_t bytes) override {
    return Resize(block, bytes, false);
  }
};

}  // namespace kn
