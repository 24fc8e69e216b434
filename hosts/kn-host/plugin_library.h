// Loads the plug-in DLL as a host does and resolves its entry points by name.
#pragma once

#include <windows.h>

#include <string>

#include "host_records.h"

namespace kn::host {

// The entry points as a host calls them: the C calling convention, 32-bit
// integers, handles and pointers. Settings are passed as plain pointers so
// that a caller may hand over any bytes.
using DrawExSpecificationFn = int(__cdecl*)(void* description);
using DrawExConfigureFn = int(__cdecl*)(HWND owner);
using DrawExAboutFn = int(__cdecl*)(HWND owner);
using InitializeChipFn = int(__cdecl*)(HLOCAL* chip, int value, const void* settings);
using UnInitializeChipFn = int(__cdecl*)(HLOCAL chip);
using CalcDefaultRectFn = int(__cdecl*)(HLOCAL chip, HWND window, int* size);
using DrawChipFn = int(__cdecl*)(HLOCAL chip, HWND window, HDC dc);
using MouseClikFn = int(__cdecl*)(HLOCAL chip, HWND window, POINT* point);
using ResizeFn = int(__cdecl*)();
using ZoomFn = int(__cdecl*)(HLOCAL chip, int value, int flag);
using UpdateFn = int(__cdecl*)(HLOCAL chip, int value, const void* settings);
using ExchangeSendStringFn = int(__cdecl*)();
using GetMemoStringFn = int(__cdecl*)();
using GetDrawExMenuFn = HMENU(__cdecl*)(HLOCAL chip);
using DoDrawExMenuFn = int(__cdecl*)(HLOCAL chip, HWND window, unsigned id);
using EditHelperFn = int(__cdecl*)(HWND owner, EditRequest* request);
using GetSaveDataFn = int(__cdecl*)(HLOCAL chip, int value, HGLOBAL* block);
using GetTimerSpanFn = int(__cdecl*)(HLOCAL chip);
using DoTimerFn = int(__cdecl*)(HLOCAL chip);

// Every entry point, in the order of the export table.
#define KN_HOST_ENTRY_POINTS(X) \
  X(DrawExSpecification)        \
  X(DrawExConfigure)            \
  X(DrawExAbout)                \
  X(InitializeChip)             \
  X(UnInitializeChip)           \
  X(CalcDefaultRect)            \
  X(DrawChip)                   \
  X(MouseClik)                  \
  X(Resize)                     \
  X(Zoom)                       \
  X(Update)                     \
  X(ExchangeSendString)         \
  X(GetMemoString)              \
  X(GetDrawExMenu)              \
  X(DoDrawExMenu)               \
  X(EditHelper)                 \
  X(GetSaveData)                \
  X(GetTimerSpan)               \
  X(DoTimer)

struct EntryPoints {
#define KN_HOST_FIELD(name) name##Fn name = nullptr;
  KN_HOST_ENTRY_POINTS(KN_HOST_FIELD)
#undef KN_HOST_FIELD
};

constexpr int kEntryPointCount = 19;

// Owns a loaded DLL. The plain names are resolved at load; ready() tells
// whether the DLL loaded and exports all of them.
class PluginLibrary {
 public:
  explicit PluginLibrary(const std::wstring& path) : path_(FullPath(path)) {
    module_ = LoadLibraryW(path_.c_str());
    if (!module_) {
      loadError_ = GetLastError();
      return;
    }
    Resolve("", entries_, &missing_);
  }
  ~PluginLibrary() {
    if (module_) FreeLibrary(module_);
  }
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  bool ready() const { return module_ && missing_.empty(); }
  HMODULE module() const { return module_; }
  const std::wstring& path() const { return path_; }
  // The entry points under their plain names; valid when ready().
  const EntryPoints& api() const { return entries_; }

  // Why the library is not ready, in English; empty when it is.
  std::string error() const {
    if (!module_) {
      return "cannot load the DLL (error " + std::to_string(loadError_) + ")";
    }
    if (!missing_.empty()) return "the DLL does not export " + missing_;
    return {};
  }

  // Resolves every entry point under `prefix` followed by its name ("" for
  // the plain names, "_" for the underscore names). On failure `missing`
  // names the first export not found.
  bool Resolve(const char* prefix, EntryPoints& out, std::string* missing) const {
    std::string first_missing;
    auto find = [&](const char* name) {
      const std::string full = std::string(prefix) + name;
      FARPROC proc = Find(full.c_str());
      if (!proc && first_missing.empty()) first_missing = full;
      return proc;
    };
#define KN_HOST_RESOLVE(name) out.name = reinterpret_cast<name##Fn>(Generic(find(#name)));
    KN_HOST_ENTRY_POINTS(KN_HOST_RESOLVE)
#undef KN_HOST_RESOLVE
    if (missing) *missing = first_missing;
    return first_missing.empty();
  }

  // Any export by name, or null.
  FARPROC Find(const char* name) const { return module_ ? GetProcAddress(module_, name) : nullptr; }

 private:
  // GCC accepts a cast between unrelated function types through void(*)().
  using GenericFn = void (*)();
  static GenericFn Generic(FARPROC proc) { return reinterpret_cast<GenericFn>(proc); }

  // LoadLibrary wants backslashes and searches elsewhere for relative paths.
  static std::wstring FullPath(std::wstring path) {
    for (wchar_t& c : path) {
      if (c == L'/') c = L'\\';
    }
    wchar_t buffer[MAX_PATH * 4];
    const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 4, buffer, nullptr);
    if (n == 0 || n >= MAX_PATH * 4) return path;
    return std::wstring(buffer, n);
  }

  std::wstring path_;
  HMODULE module_ = nullptr;
  DWORD loadError_ = 0;
  EntryPoints entries_;
  std::string missing_;
};

}  // namespace kn::host
