#include "saved_block.h"

#include <algorithm>
#include <cstring>

#include "desk_settings.h"
#include "host_settings.h"

namespace kn::desk {

SavedBlock::SavedBlock(const std::vector<std::uint8_t>& bytes) { Fill(bytes); }

void SavedBlock::Fill(const std::vector<std::uint8_t>& bytes) {
  const std::size_t size = std::max(bytes.size(), sizeof(SaveBlock));
  block_.reset(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
  GlobalLockGuard lock(block_.get());
  if (lock.get() && !bytes.empty()) std::memcpy(lock.get(), bytes.data(), bytes.size());
}

bool SavedBlock::Refresh(const driver::EntryPoints& api, HLOCAL chip) {
  if (!block_.get()) return false;
  // The chip resizes the block and may hand back another handle; the old
  // one is then no longer ours to free.
  HGLOBAL handle = block_.release();
  const int written = api.GetSaveData(chip, 0, &handle);
  block_.reset(handle);
  // A block the chip left too small for its own reading is padded again.
  if (!block_.get() || GlobalSize(block_.get()) < sizeof(SaveBlock)) Fill(Bytes());
  return written == 1;
}

std::vector<std::uint8_t> SavedBlock::Bytes() const {
  GlobalLockGuard lock(block_.get());
  if (!lock.get()) return {};
  const std::size_t size = std::min<std::size_t>(GlobalSize(block_.get()), kMaxSavedBlockBytes);
  const auto* bytes = static_cast<const std::uint8_t*>(lock.get());
  return std::vector<std::uint8_t>(bytes, bytes + size);
}

DisplayModes SavedBlock::Modes() const {
  GlobalLockGuard lock(block_.get());
  if (!lock.get()) return {};
  // Fill() and Refresh() keep the block at least a whole block long.
  const auto* block = static_cast<const SaveBlock*>(lock.get());
  return DisplayModes{block->boardMode, block->scrollMode};
}

}  // namespace kn::desk
