// Loads kaleidonote.dll the way a host does (LoadLibraryA + GetProcAddress by
// name) and hands out its 19 entry points with their cdecl signatures. One
// module is shared by the whole test program; the DLL keeps no global state,
// so tests may use it in any order.
#pragma once

#include <windows.h>

#include <array>
#include <string>

namespace kn::wine {

// Must match the host's record for the board-file chooser.
struct EditRequest {
  int length1;
  int length2;
  HGLOBAL text;
};

using DrawExSpecificationFn = int(__cdecl*)(void* record);
using DrawExConfigureFn = int(__cdecl*)(HWND owner);
using DrawExAboutFn = int(__cdecl*)(HWND owner);
using InitializeChipFn = int(__cdecl*)(HLOCAL* out, int value, const void* settings);
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

// Every entry point resolved by its plain name; a missing one stays null.
struct EntryPoints {
  DrawExSpecificationFn DrawExSpecification = nullptr;
  DrawExConfigureFn DrawExConfigure = nullptr;
  DrawExAboutFn DrawExAbout = nullptr;
  InitializeChipFn InitializeChip = nullptr;
  UnInitializeChipFn UnInitializeChip = nullptr;
  CalcDefaultRectFn CalcDefaultRect = nullptr;
  DrawChipFn DrawChip = nullptr;
  MouseClikFn MouseClik = nullptr;
  ResizeFn Resize = nullptr;
  ZoomFn Zoom = nullptr;
  UpdateFn Update = nullptr;
  ExchangeSendStringFn ExchangeSendString = nullptr;
  GetMemoStringFn GetMemoString = nullptr;
  GetDrawExMenuFn GetDrawExMenu = nullptr;
  DoDrawExMenuFn DoDrawExMenu = nullptr;
  EditHelperFn EditHelper = nullptr;
  GetSaveDataFn GetSaveData = nullptr;
  GetTimerSpanFn GetTimerSpan = nullptr;
  DoTimerFn DoTimer = nullptr;
};

// The plain names of all entry points; each is exported again with a
// leading underscore.
inline const std::array<const char*, 19>& EntryPointNames() {
  static const std::array<const char*, 19> names = {
      "DrawExSpecification", "DrawExConfigure", "DrawExAbout",   "InitializeChip",
      "UnInitializeChip",    "CalcDefaultRect", "DrawChip",      "MouseClik",
      "Resize",              "Zoom",            "Update",        "ExchangeSendString",
      "GetMemoString",       "GetDrawExMenu",   "DoDrawExMenu",  "EditHelper",
      "GetSaveData",         "GetTimerSpan",    "DoTimer"};
  return names;
}

// The DLL sits in the working directory the tests run in (the build folder).
inline const char* PluginPath() { return "kaleidonote.dll"; }

class PluginModule {
 public:
  explicit PluginModule(const char* path) : module_(LoadLibraryA(path)) {
    if (module_) ResolveAll();
  }
  ~PluginModule() {
    if (module_) FreeLibrary(module_);
  }
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  bool loaded() const { return module_ != nullptr; }
  HMODULE handle() const { return module_; }
  const EntryPoints& api() const { return api_; }

  // Any exported name, or null.
  FARPROC Resolve(const std::string& name) const {
    return module_ ? GetProcAddress(module_, name.c_str()) : nullptr;
  }

  // The names (of EntryPointNames) that did not resolve, comma separated.
  std::string MissingEntryPoints() const {
    std::string missing;
    for (const char* name : EntryPointNames()) {
      if (Resolve(name)) continue;
      if (!missing.empty()) missing += ", ";
      missing += name;
    }
    return missing;
  }

 private:
  template <typename Fn>
  void Bind(Fn& slot, const char* name) {
    slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(Resolve(name)));
  }

  void ResolveAll() {
    Bind(api_.DrawExSpecification, "DrawExSpecification");
    Bind(api_.DrawExConfigure, "DrawExConfigure");
    Bind(api_.DrawExAbout, "DrawExAbout");
    Bind(api_.InitializeChip, "InitializeChip");
    Bind(api_.UnInitializeChip, "UnInitializeChip");
    Bind(api_.CalcDefaultRect, "CalcDefaultRect");
    Bind(api_.DrawChip, "DrawChip");
    Bind(api_.MouseClik, "MouseClik");
    Bind(api_.Resize, "Resize");
    Bind(api_.Zoom, "Zoom");
    Bind(api_.Update, "Update");
    Bind(api_.ExchangeSendString, "ExchangeSendString");
    Bind(api_.GetMemoString, "GetMemoString");
    Bind(api_.GetDrawExMenu, "GetDrawExMenu");
    Bind(api_.DoDrawExMenu, "DoDrawExMenu");
    Bind(api_.EditHelper, "EditHelper");
    Bind(api_.GetSaveData, "GetSaveData");
    Bind(api_.GetTimerSpan, "GetTimerSpan");
    Bind(api_.DoTimer, "DoTimer");
  }

  HMODULE module_;
  EntryPoints api_;
};

// The module shared by all tests, loaded on first use.
inline PluginModule& Plugin() {
  static PluginModule module(PluginPath());
  return module;
}

}  // namespace kn::wine
