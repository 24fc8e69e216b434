// The chip's window and the desktop around it: the geometry painting and
// sizing work with, the keys a click reads, text output, the shell, the
// clipboard, message boxes, menus and the open-file dialog.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "system/canvas.h"
#include "system/handles.h"
#include "system/text_surface.h"
#include "system/types.h"

namespace kn {

struct KeyState {
  bool shift;
  bool alt;
};

enum class MessageIcon { kInformation, kError };

// One item of a menu: a command, a separator, or a popup with its items.
struct MenuEntry {
  enum class Kind { kCommand, kSeparator, kPopup } kind = Kind::kCommand;
  std::int32_t id = 0;
  const char* label = nullptr;
  std::vector<MenuEntry> items;  // a popup's items
};

// The open-file dialog as the board-file chooser shows it.
struct OpenFileRequest {
  // Pairs of a description and a pattern, in the order shown.
  std::vector<std::pair<const char*, const char*>> filters;
  const char* title = nullptr;
  const char* defaultExtension = nullptr;
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // ---- the chip's window
  virtual Rect ClientRect() = 0;
  // The width of the window frame: at the left and right, at top and bottom.
  virtual Size FrameThickness() = 0;
  // The desktop's work area (the screen less the task bar).
  virtual Rect WorkArea() = 0;
  // The outer size of a chip window whose client area has the given size.
  virtual Size OuterSize(Size client) = 0;
  // The keys held down during the current message.
  virtual KeyState Keys() = 0;
  // A surface measuring in the window's own device context.
  virtual std::unique_ptr<TextSurface> OpenSurface() = 0;
  // A canvas on a device context the host hands over for painting.
  virtual std::unique_ptr<Canvas> OpenCanvas(DcHandle dc) = 0;

  // ---- beyond the window
  // ShellExecute "open"; returns its result (> 32 on success).
  virtual int ShellOpen(const std::string& program, const std::string& parameters,
                        const std::string& directory) = 0;
  // Puts the text on the clipboard as CF_TEXT; false when it cannot.
  virtual bool CopyToClipboard(std::string_view text) = 0;
  // A modal box with an OK button, owned by the chip's window.
  virtual void ShowMessage(const char* text, const char* caption, MessageIcon icon) = 0;
  // A menu tree (the caller's to destroy) with check marks on the commands
  // of `checked`, or null.
  virtual MenuHandle BuildMenu(const std::vector<MenuEntry>& entries,
                               const std::vector<std::int32_t>& checked) = 0;
  // The chosen existing file's full path, or empty when nothing was chosen.
  // The process's current directory is as it was before, whatever happened.
  virtual std::string AskForFileToOpen(const OpenFileRequest& request) = 0;
};

}  // namespace kn
