// The DLL under test, loaded once for the whole test program the way the
// hosts load it (the driver's PluginLibrary). The DLL keeps no global
// state, so tests may share it in any order.
#pragma once

#include <windows.h>

#include "plugin_library.h"

namespace kn::wine {

using driver::EntryPoints;
using driver::EntryPointNames;

// The DLL sits in the working directory the tests run in (the build folder).
inline const char* PluginPath() { return "kaleidonote.dll"; }

inline driver::PluginLibrary& Plugin() {
  static driver::PluginLibrary library(L"kaleidonote.dll");
  return library;
}

inline const EntryPoints& Api() { return Plugin().api(); }

// MouseClik at a point given as Win32 gives points.
inline int ClickChipAt(ChipHandle chip, HWND window, POINT point) {
  ClickPoint at{point.x, point.y};
  return Api().MouseClik(chip, window, &at);
}

}  // namespace kn::wine
