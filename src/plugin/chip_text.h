// The chip's two texts, each a NUL-terminated string in its own movable block.
#pragma once

#include <cstdint>
#include <string_view>

#include "plugin/movable_memory.h"

namespace kn {

// Frees the block (if any) and clears the handle.
void FreeText(MovableMemory& memory, BlockHandle& block);

// Replaces the block by a new one holding `text` and its NUL. Returns the
// length stored, or 0 with no block when it cannot be allocated or locked.
std::int32_t StoreText(MovableMemory& memory, BlockHandle& block, std::string_view text);

// A locked text: view() is empty when there is no block or it cannot be
// locked (ok() tells the two apart from an empty text).
class TextLock {
 public:
  TextLock(MovableMemory& memory, BlockHandle block);
  bool ok() const { return static_cast<bool>(lock_); }
  std::string_view view() const { return view_; }

 private:
  BlockLock lock_;
  std::string_view view_;
};

}  // namespace kn
