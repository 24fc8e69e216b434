// Counts what the process's heaps hold: the movable blocks (LocalAlloc or
// GlobalAlloc with the MOVEABLE flag, which is how the plug-in keeps its
// chips and their texts) and the bytes of every block in use, in any heap.
//
// A movable block lives in the process heap. Windows marks it
// PROCESS_HEAP_ENTRY_MOVEABLE in HeapWalk; Wine 8 keeps its handle as the
// block's user value but reports the block as merely busy, so a block also
// counts as movable when LocalHandle maps its data address to a handle other
// than that address (for a fixed block it returns the address itself). The
// walk runs with the heap locked, so no other thread changes it meanwhile.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

namespace kn::wine {

struct HeapCensus {
  bool ok = false;             // every heap could be walked to its end
  int movableBlocks = 0;       // in the process heap
  std::size_t movableBytes = 0;
  int busyBlocks = 0;          // in all heaps
  std::size_t busyBytes = 0;
};

namespace heap_census_detail {

inline bool IsMovable(const PROCESS_HEAP_ENTRY& entry) {
  if (entry.wFlags & PROCESS_HEAP_ENTRY_MOVEABLE) return true;
  const HLOCAL handle = LocalHandle(entry.lpData);
  return handle != nullptr && handle != entry.lpData;
}

// Adds one heap's blocks to the census; false when the walk broke off.
inline bool WalkHeap(HANDLE heap, bool countMovable, HeapCensus& census) {
  if (!HeapLock(heap)) return false;
  PROCESS_HEAP_ENTRY entry;
  entry.lpData = nullptr;
  while (HeapWalk(heap, &entry)) {
    if (!(entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)) continue;
    ++census.busyBlocks;
    census.busyBytes += entry.cbData;
    if (countMovable && IsMovable(entry)) {
      ++census.movableBlocks;
      census.movableBytes += entry.cbData;
    }
  }
  const bool complete = GetLastError() == ERROR_NO_MORE_ITEMS;
  HeapUnlock(heap);
  return complete;
}

}  // namespace heap_census_detail

inline HeapCensus TakeHeapCensus() {
  HeapCensus census;
  std::vector<HANDLE> heaps(64);
  DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
  if (count > heaps.size()) {
    heaps.resize(count);
    count = GetProcessHeaps(count, heaps.data());
  }
  if (count == 0 || count > heaps.size()) return census;
  const HANDLE processHeap = GetProcessHeap();
  census.ok = true;
  for (DWORD i = 0; i < count; ++i)
    census.ok = heap_census_detail::WalkHeap(heaps[i], heaps[i] == processHeap, census) && census.ok;
  return census;
}

}  // namespace kn::wine
