// The seam between the layout walks and the platform's text output, so that
// the walks run against GDI in the DLL and against a fake in unit tests.
#pragma once

#include <cstdint>
#include <string_view>

#include "system/types.h"

namespace kn {

// DrawTextA format flags used by the walks.
constexpr unsigned kDtCenter = 0x1;
constexpr unsigned kDtRight = 0x2;
constexpr unsigned kDtWordBreak = 0x10;
constexpr unsigned kDtExpandTabs = 0x40;
constexpr unsigned kDtExternalLeading = 0x200;
constexpr unsigned kDtCalcRect = 0x400;
constexpr unsigned kDtNoPrefix = 0x800;

constexpr unsigned kDrawFlags = kDtWordBreak | kDtExpandTabs | kDtNoPrefix;          // 0x850
constexpr unsigned kMeasureFlags = kDrawFlags | kDtExternalLeading | kDtCalcRect;  // 0xE50
constexpr unsigned kHitFlags = kDrawFlags | kDtCalcRect;                           // 0xC50

class TextSurface {
 public:
  virtual ~TextSurface() = default;
  // Selects a font made from the description. The fonts made are released
  // by the time the surface ends, never while one is selected.
  virtual void UseFont(const LogFont& font) = 0;
  virtual void UseTextColor(ColorRef color) = 0;
  // DrawTextA: draws (or with kDtCalcRect measures, setting rect's right and
  // bottom) the text word-wrapped in rect; returns the height.
  virtual int DrawWrapped(std::string_view text, Rect& rect, unsigned flags) = 0;
};

}  // namespace kn
