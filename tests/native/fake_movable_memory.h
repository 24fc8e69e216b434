// Movable memory for tests: blocks in a map, every lock counted, and
// allocations or locks that can be made to fail on demand.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>
#include <vector>

#include "system/movable_memory.h"

namespace kn::testing {

class FakeMovableMemory final : public MovableMemory {
 public:
  BlockHandle Allocate(std::size_t bytes) override {
    if (failAllocations) return nullptr;
    const std::uintptr_t id = nextId_++;
    blocks_[id].bytes.assign(bytes, '\0');
    return reinterpret_cast<BlockHandle>(id);
  }

  void* Lock(BlockHandle block) override {
    auto it = blocks_.find(reinterpret_cast<std::uintptr_t>(block));
    if (it == blocks_.end() || unlockable.count(block) != 0) return nullptr;
    ++it->second.locks;
    return it->second.bytes.empty() ? static_cast<void*>(&it->second) : it->second.bytes.data();
  }

  void Unlock(BlockHandle block) override {
    auto it = blocks_.find(reinterpret_cast<std::uintptr_t>(block));
    if (it == blocks_.end() || it->second.locks == 0) throw std::logic_error("unbalanced unlock");
    --it->second.locks;
  }

  void Free(BlockHandle block) override {
    if (!block) return;
    auto it = blocks_.find(reinterpret_cast<std::uintptr_t>(block));
    if (it == blocks_.end()) throw std::logic_error("double free");
    blocks_.erase(it);
  }

  // Moves every block it grows or shrinks to a new handle, so that a caller
  // still holding the old one is caught.
  BlockHandle Reallocate(BlockHandle block, std::size_t bytes) override {
    auto it = blocks_.find(reinterpret_cast<std::uintptr_t>(block));
    if (it == blocks_.end()) throw std::logic_error("reallocating an unknown block");
    if (it->second.locks != 0) throw std::logic_error("reallocating a locked block");
    if (failAllocations) return nullptr;
    Block moved = std::move(it->second);
    blocks_.erase(it);
    moved.bytes.resize(bytes, '\xCD');  // added bytes are not zeroed
    const std::uintptr_t id = nextId_++;
    blocks_[id] = std::move(moved);
    return reinterpret_cast<BlockHandle>(id);
  }

  std::size_t LiveBlocks() const { return blocks_.size(); }
  int HeldLocks() const {
    int held = 0;
    for (const auto& [id, block] : blocks_) held += block.locks;
    return held;
  }
  std::size_t SizeOf(BlockHandle block) const {
    return blocks_.at(reinterpret_cast<std::uintptr_t>(block)).bytes.size();
  }

  bool failAllocations = false;
  std::set<BlockHandle> unlockable;

 private:
  struct Block {
    std::vector<char> bytes;
    int locks = 0;
  };
  std::map<std::uintptr_t, Block> blocks_;
  std::uintptr_t nextId_ = 0x1000;
};

}  // namespace kn::testing
