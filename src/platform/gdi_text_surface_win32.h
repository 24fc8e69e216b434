// Text output through GDI's DrawTextA into a device context.
#pragma once

#include <windows.h>

#include "platform/gdi_raii_win32.h"
#include "render/text_surface.h"

namespace kn {

class GdiTextSurface final : public TextSurface {
 public:
  explicit GdiTextSurface(HDC dc) : dc_(dc) {}
  // Puts the context's own font back and deletes the last font made.
  ~GdiTextSurface() override;
  GdiTextSurface(const GdiTextSurface&) = delete;
  GdiTextSurface& operator=(const GdiTextSurface&) = delete;

  void UseFont(const LogFont& font) override;
  void UseTextColor(ColorRef color) override;
  int DrawWrapped(std::string_view text, Rect& rect, unsigned flags) override;

 private:
  HDC dc_;
  HGDIOBJ original_ = nullptr;
  GdiObject<HFONT> current_;
};

}  // namespace kn
