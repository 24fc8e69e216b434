#include "platform/local_memory_win32.h"

#include <windows.h>

namespace kn {

BlockHandle LocalMemory::Allocate(std::size_t bytes) {
  return LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, bytes);
}

void* LocalMemory::Lock(BlockHandle block) {
  return block ? LocalLock(static_cast<HLOCAL>(block)) : nullptr;
}

void LocalMemory::Unlock(BlockHandle block) { LocalUnlock(static_cast<HLOCAL>(block)); }

void LocalMemory::Free(BlockHandle block) {
  if (block) LocalFree(static_cast<HLOCAL>(block));
}

BlockHandle LocalMemory::Reallocate(BlockHandle block, std::size_t bytes) {
  return block ? LocalReAlloc(static_cast<HLOCAL>(block), bytes, LMEM_MOVEABLE) : nullptr;
}

}  // namespace kn
