// Drives the plug-in through a chip's life as the host does for a paint:
// create the chip, size its window, paint it, free it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "host_settings.h"
#include "picture.h"

namespace kn::driver {

struct RenderRequest {
  std::wstring dllPath;
  std::string memo;  // code page 932
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF backColor = RGB(255, 255, 255);
  LOGFONTA font{};
  // A saved block of length 60 with these modes; without it an empty block.
  // Board mode on makes the host call Update a second time, since a fresh
  // chip shows its memo until then.
  std::optional<SaveModes> modes;
  // The window's outer size; without it the chip proposes one.
  std::optional<SIZE> outerSize;
};

struct RenderResult {
  Picture picture;  // the client area as DrawChip painted it
  SIZE outerSize{};
  int sizingCalls = 0;       // CalcDefaultRect calls made
  bool sizeSettled = false;  // the last of them accepted the size (or none was needed)
};

constexpr int kStartSide = 100;
constexpr int kMaxSizingCalls = 4;

// On failure returns false and says why in `error`.
bool RenderMemo(const RenderRequest& request, RenderResult& result, std::string& error);

}  // namespace kn::driver
