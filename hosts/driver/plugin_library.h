// Loads the plug-in DLL as a host does and resolves its entry points by
// name, with the signatures the host's contract gives them.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "platform/win32_owners.h"
#include "plugin/host_contract.h"

namespace kn::driver {

// Every entry point, as a host calls it.
struct EntryPoints {
#define KN_DRIVER_FIELD(name) name##Fn name = nullptr;
  KN_ENTRY_POINTS(KN_DRIVER_FIELD)
#undef KN_DRIVER_FIELD
};

// Owns a loaded DLL. The plain names are resolved at load; ready() tells
// whether the DLL loaded and exports all of them.
class PluginLibrary {
 public:
  explicit PluginLibrary(const std::wstring& path) : path_(FullPath(path)) {
    module_.reset(LoadLibraryW(path_.c_str()));
    if (!module_) {
      loadError_ = GetLastError();
      return;
    }
    Resolve("", entries_, &missing_);
  }
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  bool ready() const { return module_ && missing_.empty(); }
  HMODULE module() const { return module_.get(); }
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
    std::string firstMissing;
    auto find = [&](const char* name) {
      const std::string full = std::string(prefix) + name;
      FARPROC proc = Find(full.c_str());
      if (!proc && firstMissing.empty()) firstMissing = full;
      return proc;
    };
#define KN_DRIVER_RESOLVE(name) out.name = reinterpret_cast<name##Fn>(Generic(find(#name)));
    KN_ENTRY_POINTS(KN_DRIVER_RESOLVE)
#undef KN_DRIVER_RESOLVE
    if (missing) *missing = firstMissing;
    return firstMissing.empty();
  }

  // Any export by name, or null.
  FARPROC Find(const char* name) const { return module_ ? GetProcAddress(module_.get(), name) : nullptr; }

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
  OwnedLibrary module_;
  DWORD loadError_ = 0;
  EntryPoints entries_;
  std::string missing_;
};

// The names of all entry points in the order of the export table; each is
// exported again with a leading underscore.
inline const std::array<const char*, kEntryPointCount>& EntryPointNames() {
#define KN_DRIVER_NAME(name) #name,
  static const std::array<const char*, kEntryPointCount> names = {KN_ENTRY_POINTS(KN_DRIVER_NAME)};
#undef KN_DRIVER_NAME
  return names;
}

}  // namespace kn::driver
