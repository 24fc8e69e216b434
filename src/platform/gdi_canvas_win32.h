// A canvas on a device context the host hands over: its state is saved when
// the canvas begins and restored when it ends.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/gdi_raii_win32.h"
#include "platform/gdi_text_surface_win32.h"
#include "system/canvas.h"

namespace kn {

class GdiCanvas final : public Canvas {
 public:
  explicit GdiCanvas(HDC dc) : dc_(dc), saved_(dc) {}

  void Fill(const Rect& rect, ColorRef color) override;
  void DrawRaisedBevel(const Rect& rect) override;
  TextSurface& BeginText() override;

 private:
  HDC dc_;
  SavedDcState saved_;
  std::optional<GdiTextSurface> text_;  // ends before the state is restored
};

}  // namespace kn
