// Text output through GDI's DrawTextA into a device context.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

#include "platform/win32_owners.h"
#include "system/text_surface.h"

namespace kn {

class GdiTextSurface final : public TextSurface {
 public:
  explicit GdiTextSurface(HDC dc) : dc_(dc) {}
  // Puts the context's own font back, then deletes the fonts made.
  ~GdiTextSurface() override;
  GdiTextSurface(const GdiTextSurface&) = delete;
  GdiTextSurface& operator=(const GdiTextSurface&) = delete;

  // A board's lines use a handful of fonts over and over: each description
  // is made into a font once and kept (up to kKeptFonts) while the surface
  // lives, instead of a font made and deleted for every line.
  void UseFont(const LogFont& font) override;
  void UseTextColor(ColorRef color) override;
  int DrawWrapped(std::string_view text, Rect& rect, unsigned flags) override;

  static constexpr std::size_t kKeptFonts = 8;

 private:
  struct MadeFont {
    LOGFONTA description{};
    GdiObject<HFONT> font;
  };

  void Select(HFONT font);

  HDC dc_;
  HGDIOBJ original_ = nullptr;
  HFONT selected_ = nullptr;
  std::array<MadeFont, kKeptFonts> made_;
  std::size_t madeCount_ = 0;
  std::size_t nextToReplace_ = 0;  // when all are taken, the oldest goes
  ColorRef color_ = 0;             // the text colour last set, once colorSet_
  bool colorSet_ = false;
};

}  // namespace kn
