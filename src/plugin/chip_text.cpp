#include "plugin/chip_text.h"

#include <algorithm>
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

namespace {

// Texts stay below what a 32-bit length holds.
constexpr std::size_t kLargestText = 0x7FFFFFFE;

}  // namespace

DisplayTextReplacement::DisplayTextReplacement(MovableMemory& memory, BlockHandle shown, std::int32_t shownLength)
    : memory_(memory), shown_(shown) {
  if (!shown_) return;
  shownBytes_ = static_cast<char*>(memory_.Lock(shown_));
  if (shownBytes_ == nullptr) return;
  // As TextLock: the length is trusted only where the NUL confirms it.
  shownText_ = shownLength >= 0 && shownBytes_[shownLength] == '\0'
                   ? std::string_view(shownBytes_, static_cast<std::size_t>(shownLength))
                   : std::string_view(shownBytes_);
}

DisplayTextReplacement::~DisplayTextReplacement() {
  if (freshBytes_ != nullptr) memory_.Unlock(fresh_);
  if (fresh_) memory_.Free(fresh_);
  if (shownBytes_ != nullptr) memory_.Unlock(shown_);
}

void DisplayTextReplacement::Append(std::string_view bytes) {
  if (failed_) return;
  if (!diverged_) {
    if (bytes.size() <= shownText_.size() - matched_ &&
        std::memcmp(shownText_.data() + matched_, bytes.data(), bytes.size()) == 0) {
      matched_ += bytes.size();
      return;
    }
    Diverge(bytes.size());
    if (failed_) return;
  }
  if (!Reserve(size_ + bytes.size())) return;
  std::memcpy(freshBytes_ + size_, bytes.data(), bytes.size());
  size_ += bytes.size();
}

void DisplayTextReplacement::Expect(std::size_t bytes) {
  const std::size_t reached = diverged_ ? size_ : matched_;
  // Lines ending in a lone LF grow by their CR; an allowance of 1/16 covers
  // lines of 16 bytes and more.
  expected_ = std::max(expected_, reached + bytes + bytes / 16);
  if (diverged_ && !failed_) Reserve(expected_);
}

// The first difference: the new text goes to a block of its own, which
// starts with the equal part of the shown one.
void DisplayTextReplacement::Diverge(std::size_t wanted) {
  diverged_ = true;
  const std::size_t capacity = std::max(expected_, matched_ + wanted) + 1;
  if (capacity > kLargestText + 1 || !(fresh_ = memory_.Allocate(capacity))) return Fail();
  capacity_ = capacity;
  freshBytes_ = static_cast<char*>(memory_.Lock(fresh_));
  if (freshBytes_ == nullptr) return Fail();
  if (matched_ != 0) std::memcpy(freshBytes_, shownText_.data(), matched_);
  size_ = matched_;
}

// Room for `bytes` and the NUL; grows by half at least, so that a text
// larger than expected is moved a bounded number of times.
bool DisplayTextReplacement::Reserve(std::size_t bytes) {
  if (bytes + 1 <= capacity_) return true;
  if (bytes > kLargestText) {
    Fail();
    return false;
  }
  const std::size_t capacity = std::min(std::max(bytes + 1, capacity_ + capacity_ / 2), kLargestText + 1);
  memory_.Unlock(fresh_);
  freshBytes_ = nullptr;
  const BlockHandle moved = memory_.Reallocate(fresh_, capacity);
  if (!moved) {
    Fail();
    return false;
  }
  fresh_ = moved;
  capacity_ = capacity;
  freshBytes_ = static_cast<char*>(memory_.Lock(fresh_));
  if (freshBytes_ == nullptr) {
    Fail();
    return false;
  }
  return true;
}

void DisplayTextReplacement::Fail() {
  failed_ = true;
  if (freshBytes_ != nullptr) memory_.Unlock(fresh_);
  freshBytes_ = nullptr;
  FreeText(memory_, fresh_);
}

bool DisplayTextReplacement::Finish(BlockHandle& block, std::int32_t& length) {
  if (!diverged_ && shownBytes_ != nullptr && matched_ == shownText_.size()) return false;
  if (!diverged_) Diverge(0);  // the new text is the start of the shown one
  if (shownBytes_ != nullptr) memory_.Unlock(shown_);
  shownBytes_ = nullptr;
  FreeText(memory_, block);
  length = 0;
  if (failed_) return true;
  freshBytes_[size_] = '\0';
  memory_.Unlock(fresh_);
  freshBytes_ = nullptr;
  // The room made ahead and not used goes back.
  if (size_ + 1 < capacity_) {
    if (const BlockHandle trimmed = memory_.Reallocate(fresh_, size_ + 1)) fresh_ = trimmed;
  }
  block = fresh_;
  fresh_ = nullptr;
  length = static_cast<std::int32_t>(size_);
  return true;
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
