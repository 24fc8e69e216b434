#include "plugin/chip_text.h"

#include <cstring>

namespace kn {

void FreeText(MovableMemory& memory, BlockHandle& block) {
  if (block) memory.Free(block);
  block = nullptr;
}

namespace {

// Replaces the block by a new one of size + 1 bytes (the NUL) that `copy`
// fills. The old block goes first, so the two are never held together.
template <typename Copy>
std::int32_t StoreBytes(MovableMemory& memory, BlockHandle& block, std::size_t size, Copy copy) {
  FreeText(memory, block);
  if (size >= 0x7FFFFFFF) return 0;
  block = memory.Allocate(size + 1);
  if (!block) return 0;
  BlockLock lock(memory, block);
  if (!lock) return 0;
  copy(static_cast<char*>(lock.get()));
  return static_cast<std::int32_t>(size);
}

}  // namespace

std::int32_t StoreText(MovableMemory& memory, BlockHandle& block, std::string_view text) {
  return StoreBytes(memory, block, text.size(),
                    [text](char* out) { std::memcpy(out, text.data(), text.size()); });
}

std::int32_t StoreText(MovableMemory& memory, BlockHandle& block, const BoardText& text) {
  return StoreBytes(memory, block, text.Size(), [&text](char* out) { text.CopyTo(out); });
}

TextLock::TextLock(MovableMemory& memory, BlockHandle block) : lock_(memory, block) {
  // Texts are stored with their NUL and hold no other 0 byte.
  if (lock_) view_ = std::string_view(lock_.as<const char>());
}

TextLock::TextLock(MovableMemory& memory, BlockHandle block, std::int32_t length)
    : lock_(memory, block) {
  if (!lock_) return;
  // StoreText made the block for exactly `length` bytes and the NUL.
  const char* text = lock_.as<const char>();
  view_ = length >= 0 && text[length] == '\0' ? std::string_view(text, static_cast<std::size_t>(length))
                                                : std::string_view(text);
}

}  // namespace kn
