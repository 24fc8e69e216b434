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

// Builds a chip's new displayed text in the block where it will stay,
// comparing it with the text shown as it comes: a board that did not change
// allocates and copies nothing, and one that did is copied once, into a
// block sized ahead from what the loader expects.
class DisplayTextReplacement final : public BoardOutput {
 public:
  // `shown` (which may be null) stays locked until Finish.
  DisplayTextReplacement(MovableMemory& memory, BlockHandle shown, std::int32_t shownLength);
  ~DisplayTextReplacement() override;
  DisplayTextReplacement(const DisplayTextReplacement&) = delete;
  DisplayTextReplacement& operator=(const DisplayTextReplacement&) = delete;

  void Append(std::string_view bytes) override;
  void Expect(std::size_t bytes) override;
  // Puts the new text in place of the shown one, unless the two are equal:
  // true when they differ. When memory runs out the chip is left with no
  // text (no block, length 0).
  bool Finish(BlockHandle& block, std::int32_t& length);

 private:
  void Diverge(std::size_t wanted);
  bool Reserve(std::size_t bytes);
  void Fail();

  MovableMemory& memory_;
  BlockHandle shown_;
  char* shownBytes_ = nullptr;  // locked, or null
  std::string_view shownText_;
  std::size_t matched_ = 0;     // bytes equal to the shown text so far
  std::size_t expected_ = 0;    // the size the text is expected to reach
  bool diverged_ = false;
  bool failed_ = false;
  BlockHandle fresh_ = nullptr;
  char* freshBytes_ = nullptr;  // locked while being written
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

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
