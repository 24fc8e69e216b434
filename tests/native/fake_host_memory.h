// The host's global blocks for tests: FakeMovableMemory's blocks, which can
// also be measured; a resize can be made to fail.
#pragma once

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
    return failResizes ? nullptr : blocks.Reallocate(block, bytes);
  }

  FakeMovableMemory blocks;
  bool failResizes = false;
};

}  // namespace kn::testing
