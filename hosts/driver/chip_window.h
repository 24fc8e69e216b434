// A top-level window shaped like a chip's: a bordered pop-up tool window.
// It is never shown; the chip only needs its client rectangle and a device
// context for measuring.
#pragma once

#include <windows.h>

#include "platform/win32_owners.h"

namespace kn::driver {

constexpr DWORD kChipStyle = WS_POPUP | WS_BORDER;
constexpr DWORD kChipExStyle = WS_EX_TOOLWINDOW;

class ChipWindow {
 public:
  // A window of the given outer size; ok() tells whether it exists.
  ChipWindow(int width, int height);
  ChipWindow(const ChipWindow&) = delete;
  ChipWindow& operator=(const ChipWindow&) = delete;

  bool ok() const { return window_.get() != nullptr; }
  DWORD createError() const { return createError_; }
  HWND hwnd() const { return window_.get(); }

  bool Resize(int width, int height);
  SIZE OuterSize() const;
  RECT ClientRect() const;

 private:
  DWORD createError_ = 0;
  OwnedWindow window_;
};

}  // namespace kn::driver
