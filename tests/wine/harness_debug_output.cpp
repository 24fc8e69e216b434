// GoogleTest copies every failure message to OutputDebugStringA. Wine raises
// a debug-print exception inside that call and unwinds out of its own
// handler; where 32-bit Wine runs under user-mode emulation, that unwind
// crashes the process, so one failed check would end the whole run. Before
// any test runs, this program's import slots for OutputDebugStringA/W are
// pointed at a function that does nothing: the message is already on stdout.
#include <windows.h>

#include <cstring>

namespace kn::wine {
namespace {

void WINAPI IgnoreDebugStringA(LPCSTR) {}
void WINAPI IgnoreDebugStringW(LPCWSTR) {}

void* Replacement(const char* name) {
  if (std::strcmp(name, "OutputDebugStringA") == 0) return reinterpret_cast<void*>(&IgnoreDebugStringA);
  if (std::strcmp(name, "OutputDebugStringW") == 0) return reinterpret_cast<void*>(&IgnoreDebugStringW);
  return nullptr;
}

void WriteSlot(void** slot, void* value) {
  DWORD previous = 0;
  if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &previous)) return;
  *slot = value;
  VirtualProtect(slot, sizeof *slot, previous, &previous);
}

// Walks the loaded image's import descriptors; names come from the lookup
// table (OriginalFirstThunk), the slots to patch from the address table.
bool SilenceDebugOutput() {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (dir.VirtualAddress == 0) return false;
  bool patched = false;
  for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
    if (d->OriginalFirstThunk == 0) continue;
    const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA32*>(base + d->OriginalFirstThunk);
    auto** slots = reinterpret_cast<void**>(base + d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL32(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (void* replacement = Replacement(reinterpret_cast<const char*>(byName->Name))) {
        WriteSlot(slots, replacement);
        patched = true;
      }
    }
  }
  return patched;
}

const bool kSilenced = SilenceDebugOutput();

}  // namespace
}  // namespace kn::wine
