// The host's global blocks for tests: FakeMovableMemory's blocks, which can
// also be measured and resized (a resize always moves the block, as the
// platform's may).
#pragma once

#include <algorithm>
#include <cstring>

#include "fake_movable_memory.h"
#include "system/host_memory.h"

namespace kn::testing {

class FakeHostMemory final : public HostMemory {
 public:
  BlockHandle Allocate(std::size_t bytes) override { return blocks.Allocate(bytes); }
  void* Lock(BlockHandle block) override { return blocks.Lock(block); }
  void Unlock(BlockHandle block) override { blocks.Unlock(block); }
  void Free(BlockHandle block) override { blocks.Free(block); }
  std::size_t Size(BlockHandle block) override { return block ? blocks.SizeOf(block) : 0; }
  BlockHandle Resize(BlockHandle block, std::size_t bytes, bool) override {
    if (failResizes) return nullptr;
    BlockHandle moved = blocks.Allocate(bytes);
    if (!moved) return nullptr;
    const std::size_t kept = std::min(bytes, Size(block));
    if (kept != 0) std::memcpy(blocks.Lock(moved), blocks.Lock(block), kept);
    if (kept != 0) {
      blocks.Unlock(moved);
      blocks.Unlock(block);
    }
    blocks.Free(block);
    return moved;
  }

  FakeMovableMemory blocks;
  bool failResizes = false;
};

}  // namespace kn::testing
