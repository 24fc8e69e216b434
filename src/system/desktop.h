// What a click on the chip may ask of the desktop: the keys held, the shell,
// the clipboard, a message box and a surface to measure text on.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "system/text_surface.h"

namespace kn {

struct KeyState {
  bool shift;
  bool alt;
};

// The desktop services a click may need, provided by the platform layer.
class Desktop {
 public:
  virtual ~Desktop() = default;
  // ShellExecute "open"; returns its result (> 32 on success).
  virtual int ShellOpen(const std::string& program, const std::string& parameters,
                        const std::string& directory) = 0;
  // Puts the text on the clipboard as CF_TEXT; false when it cannot.
  virtual bool CopyToClipboard(std::string_view text) = 0;
  virtual void ShowLaunchFailure(const std::string& message) = 0;
  // A surface measuring in the chip window's device context.
  virtual std::unique_ptr<TextSurface> OpenSurface() = 0;
};

}  // namespace kn
