#include "platform/global_memory_win32.h"

#include <windows.h>

namespace kn {

BlockHandle GlobalMemory::Allocate(std::size_t bytes) {
  return GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
}

void* GlobalMemory::Lock(BlockHandle block) {
  return block ? GlobalLock(static_cast<HGLOBAL>(block)) : nullptr;
}

void GlobalMemory::Unlock(BlockHandle block) { GlobalUnlock(static_cast<HGLOBAL>(block)); }

void GlobalMemory::Free(BlockHandle block) {
  if (block) GlobalFree(static_cast<HGLOBAL>(block));
}

std::size_t GlobalMemory::Size(BlockHandle block) {
  return block ? GlobalSize(static_cast<HGLOBAL>(block)) : 0;
}

BlockHandle GlobalMemory::Resize(BlockHandle block, std::size_t bytes, bool noCompact) {
  const UINT flags = GMEM_MOVEABLE | (noCompact ? GMEM_NOCOMPACT : 0u);
  return GlobalReAlloc(static_cast<HGLOBAL>(block), bytes, flags);
}

}  // namespace kn
