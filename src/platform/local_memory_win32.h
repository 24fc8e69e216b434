// Movable local memory (LocalAlloc family) for the chip state and its texts.
#pragma once

#include "system/movable_memory.h"

namespace kn {

class LocalMemory final : public MovableMemory {
 public:
  BlockHandle Allocate(std::size_t bytes) override;
  void* Lock(BlockHandle block) override;
  void Unlock(BlockHandle block) override;
  void Free(BlockHandle block) override;
  BlockHandle Reallocate(BlockHandle block, std::size_t bytes) override;
};

}  // namespace kn
