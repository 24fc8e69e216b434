#include "plugin/chip_text.h"

#include <cstring>

namespace kn {

void FreeText(MovableMemory& memory, BlockHandle& block) {
  if (block) memory.Free(block);
  block = nullptr;
}

std::int32_t StoreText(MovableMemory& memory, BlockHandle& block, std::string_view text) {
  FreeText(memory, block);
  if (text.size() >= 0x7FFFFFFF) return 0;
  block = memory.Allocate(text.size() + 1);
  if (!block) return 0;
  BlockLock lock(memory, block);
  if (!lock) return 0;
  std::memcpy(lock.get(), text.data(), text.size());
  return static_cast<std::int32_t>(text.size());
}

TextLock::TextLock(MovableMemory& memory, BlockHandle block) : lock_(memory, block) {
  // Texts are stored with their NUL and hold no other 0 byte.
  if (lock_) view_ = std::string_view(lock_.as<const char>());
}

}  // namespace kn
