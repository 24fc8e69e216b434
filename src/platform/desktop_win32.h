// The chip's window and the desktop around it, over USER, GDI, the shell,
// the clipboard and the common dialogs.
#pragma once

#include "system/desktop.h"

namespace kn {

class Win32Desktop final : public Desktop {
 public:
  explicit Win32Desktop(WindowHandle window) : window_(window) {}

  Rect ClientRect() override;
  Size FrameThickness() override;
  Rect WorkArea() override;
  Size OuterSize(Size client) override;
  KeyState Keys() override;
  std::unique_ptr<TextSurface> OpenSurface() override;
  std::unique_ptr<Canvas> OpenCanvas(DcHandle dc) override;

  int ShellOpen(const std::string& program, const std::string& parameters,
                const std::string& directory) override;
  bool CopyToClipboard(std::string_view text) override;
  void ShowMessage(const char* text, const char* caption, MessageIcon icon) override;
  MenuHandle BuildMenu(const std::vector<MenuEntry>& entries,
                       const std::vector<std::int32_t>& checked) override;
  std::string AskForFileToOpen(const OpenFileRequest& request) override;

 private:
  WindowHandle window_;
};

}  // namespace kn
