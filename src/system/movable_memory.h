// Movable memory blocks identified by handles, as the chip state and its
// texts live in them. Injected so the chip logic runs natively in tests (with
// a fake that can refuse allocations and locks) and on LocalAlloc in the DLL.
#pragma once

#include <cstddef>

namespace kn {

using BlockHandle = void*;

class MovableMemory {
 public:
  virtual ~MovableMemory() = default;
  // A zero-filled block of `bytes`, or null.
  virtual BlockHandle Allocate(std::size_t bytes) = 0;
  // The block's bytes until the matching Unlock, or null when it cannot be
  // locked (a null handle included).
  virtual void* Lock(BlockHandle block) = 0;
  virtual void Unlock(BlockHandle block) = 0;
  // Freeing a null handle does nothing.
  virtual void Free(BlockHandle block) = 0;
  // The block made `bytes` long (LocalReAlloc): the handle to use from now
  // on, holding the old bytes as far as they reach (bytes added are not
  // zeroed), or null with the old block left as it was. Never called on a
  // locked block.
  virtual BlockHandle Reallocate(BlockHandle block, std::size_t bytes) = 0;
};

// Holds a lock on a block for the scope; get() is null when locking failed.
class BlockLock {
 public:
  BlockLock(MovableMemory& memory, BlockHandle block)
      : memory_(memory), block_(block), bytes_(block ? memory.Lock(block) : nullptr) {}
  ~BlockLock() {
    if (bytes_) memory_.Unlock(block_);
  }
  BlockLock(const BlockLock&) = delete;
  BlockLock& operator=(const BlockLock&) = delete;

  void* get() const { return bytes_; }
  template <typename T>
  T* as() const {
    return static_cast<T*>(bytes_);
  }
  explicit operator bool() const { return bytes_ != nullptr; }

 private:
  MovableMemory& memory_;
  BlockHandle block_;
  void* bytes_;
};

}  // namespace kn
