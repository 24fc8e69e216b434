// The block a chip asks the host to keep for it, held as the chip expects:
// movable global memory that GetSaveData may resize and replace.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "chip_answers.h"
#include "plugin_library.h"
#include "platform/win32_owners.h"

namespace kn::desk {

class SavedBlock {
 public:
  // The bytes from the settings file; padded with zeros to the size of a
  // full block so that the chip never reads past the end.
  explicit SavedBlock(const std::vector<std::uint8_t>& bytes);

  // Asks the chip for its current block. True when the chip wrote one.
  bool Refresh(const driver::EntryPoints& api, HLOCAL chip);

  // The block's bytes as the settings file keeps them.
  std::vector<std::uint8_t> Bytes() const;

  // Board and scroll mode as the block holds them.
  DisplayModes Modes() const;

  // Locks the block for one call that takes it as a plain pointer.
  class Pointer {
   public:
    explicit Pointer(const SavedBlock& block) : lock_(block.block_.get()) {}
    const void* get() const { return lock_.get(); }

   private:
    GlobalLockGuard lock_;
  };

 private:
  void Fill(const std::vector<std::uint8_t>& bytes);

  OwnedGlobal block_;
};

}  // namespace kn::desk
