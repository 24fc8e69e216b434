// Counts this process's live GDI objects. GetGuiResources is a stub under
// Wine, so the count is read from the GDI handle table that the process
// environment block points to (offset 0x94 of the 32-bit PEB): 0x10000
// entries of 24 bytes {UINT64 object; ULONG owner; USHORT unique; UCHAR type;
// UCHAR flags; UINT64 user}. A live entry has a nonzero type; stock objects
// carry bit 0x80 in `unique` and are not counted.
#pragma once

#include <windows.h>
#include <intrin.h>

#include <cstdint>
#include <cstring>

namespace kn::wine {

inline const std::uint8_t* GdiHandleTable() {
  const auto* peb = reinterpret_cast<const std::uint8_t*>(__readfsdword(0x30));
  const std::uint8_t* table = nullptr;
  std::memcpy(&table, peb + 0x94, sizeof table);
  return table;
}

// -1 when the table cannot be found.
inline int CountGdiObjects() {
  const std::uint8_t* table = GdiHandleTable();
  if (!table) return -1;
  GdiFlush();
  constexpr int kEntries = 0x10000;
  constexpr int kEntrySize = 24;
  int count = 0;
  for (int i = 0; i < kEntries; ++i) {
    const std::uint8_t* entry = table + i * kEntrySize;
    std::uint16_t unique = 0;
    std::memcpy(&unique, entry + 12, sizeof unique);
    const std::uint8_t type = entry[14];
    if (type != 0 && (unique & 0x80) == 0) ++count;
  }
  return count;
}

}  // namespace kn::wine
