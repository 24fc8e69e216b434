// What a click on the chip does: scroll mode on and off, paging, launching or
// copying a link, and the Shift-click that switches board mode.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "plugin/chip_logic.h"
#include "render/text_surface.h"

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

struct ClickGeometry {
  Rect client;    // the window's client rectangle
  Rect textRect;  // the client rectangle inset by the frame
  int x;
  int y;
};

// 1 when the chip must be redrawn, else 0.
int ClickChip(ChipEnv& env, BlockHandle chip, KeyState keys, const ClickGeometry& where,
              Desktop& desktop);

}  // namespace kn
