// The host's movable global blocks (GlobalAlloc family).
#pragma once

#include "system/host_memory.h"

namespace kn {

class GlobalMemory final : public HostMemory {
 public:
  BlockHandle Allocate(std::size_t bytes) override;
  void* Lock(BlockHandle block) override;
  void Unlock(BlockHandle block) override;
  void Free(BlockHandle block) override;
  std::size_t Size(BlockHandle block) override;
  BlockHandle Resize(BlockHandle block, std::size_t bytes, bool noCompact) override;
};

}  // namespace kn
