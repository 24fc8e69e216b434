// The shell, the clipboard, message boxes and the window's device context
// for a click on the chip window.
#pragma once

#include <windows.h>

#include "system/desktop.h"

namespace kn {

class Win32Desktop final : public Desktop {
 public:
  explicit Win32Desktop(HWND window) : window_(window) {}

  int ShellOpen(const std::string& program, const std::string& parameters,
                const std::string& directory) override;
  bool CopyToClipboard(std::string_view text) override;
  void ShowLaunchFailure(const std::string& message) override;
  std::unique_ptr<TextSurface> OpenSurface() override;

 private:
  HWND window_;
};

// The keys held down during the current message, as GetKeyboardState sees them.
KeyState ReadKeyState();

}  // namespace kn
