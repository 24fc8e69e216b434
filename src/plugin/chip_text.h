// The chip's two texts, each a NUL-terminated string in its own movable block.
#pragma once

#include <cstdint>
#include <string_view>

#include "board/board_loader.h"
#include "system/movable_memory.h"

namespace kn {

// Frees the block (if any) and clears the handle.
void FreeText(MovableMemory& memory, BlockHandle& block);

// Replaces the block by a new one holding `text` and its NUL. Returns the
// length stored, or 0 with no block when it cannot be allocated or locked.
std::int32_t StoreText(MovableMemory& memory, BlockHandle& block, std::string_view text);
// The same for a board's text, copied straight from its blocks.
std::int32_t StoreText(MovableMemory& memory, BlockHandle& block, const BoardText& text);

// A locked text: view() is empty when there is no block or it cannot be
// locked (ok() tells the two apart from an empty text).
class TextLock {
 public:
  TextLock(MovableMemory& memory, BlockHandle block);
  // The same for a text whose length is known (a chip's displayLength): the
  // text is not measured again, unless that length does not end at its NUL.
  TextLock(MovableMemory& memory, BlockHandle block, std::int32_t length);
  bool ok() const { return static_cast<bool>(lock_); }
  std::string_view view() const { return view_; }

 private:
  BlockLock lock_;
  std::string_view view_;
};

}  // namespace kn
