// The process's private memory, two ways:
// - committed private bytes, summed over the address space with
//   VirtualQuery: exactly what the process has committed for itself (heaps,
//   large blocks, thread stacks), as Wine's own books hold it;
// - PrivateUsage from GetProcessMemoryInfo, as a task manager shows it.
//   Wine derives it from the host's figures for the whole process, which here
//   is the emulator with its code caches, so it is reported, not relied on.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <cstddef>
#include <cstdint>

namespace kn::wine {

inline std::size_t CommittedPrivateBytes() {
  std::size_t total = 0;
  MEMORY_BASIC_INFORMATION info;
  std::uintptr_t address = 0;
  while (VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info) == sizeof info) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    const std::uintptr_t next = reinterpret_cast<std::uintptr_t>(info.BaseAddress) + info.RegionSize;
    if (next <= address) break;  // wrapped around the top of the address space
    address = next;
  }
  return total;
}

// 0 when the figure is not available. Looked up at run time so the tests
// need no import library for it (kernel32 has exported it since Windows 7).
inline std::size_t ProcessPrivateUsage() {
  using Query = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
  static const Query query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo")));
  if (!query) return 0;
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!query(GetCurrentProcess(), reinterpret_cast<PPROCESS_MEMORY_COUNTERS>(&counters), sizeof counters))
    return 0;
  return counters.PrivateUsage;
}

}  // namespace kn::wine
