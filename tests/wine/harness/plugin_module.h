// The DLL under test, loaded once for the whole test program the way the
// substitute host loads it (LoadLibrary + GetProcAddress by name). The DLL
// keeps no global state, so tests may share it in any order.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "host_records.h"
#include "plugin_library.h"

namespace kn::wine {

using host::EntryPoints;

// The plain names of all entry points; each is exported again with a
// leading underscore.
inline const std::array<const char*, host::kEntryPointCount>& EntryPointNames() {
#define KN_WINE_NAME(name) #name,
  static const std::array<const char*, host::kEntryPointCount> names = {
      KN_HOST_ENTRY_POINTS(KN_WINE_NAME)};
#undef KN_WINE_NAME
  return names;
}

// The DLL sits in the working directory the tests run in (the build folder).
inline const char* PluginPath() { return "kaleidonote.dll"; }

inline host::PluginLibrary& Plugin() {
  static host::PluginLibrary library(L"kaleidonote.dll");
  return library;
}

inline const EntryPoints& Api() { return Plugin().api(); }

}  // namespace kn::wine
