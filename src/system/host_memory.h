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
  // Resizes a movable block keeping its contents, without compacting other
  // blocks when `noCompact`; the block's handle afterwards, or null when it
  // cannot be resized (it then stays as it was).
  virtual BlockHandle Resize(BlockHandle block, std::size_t bytes, bool noCompact) = 0;
};

}  // namespace kn
