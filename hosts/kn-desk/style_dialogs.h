// The standard Windows colour and font dialogs, for a chip's colours and
// base font.
#pragma once

#include <windows.h>

#include <cstdint>

#include "desk_settings.h"

namespace kn::desk {

// True when the user chose a colour; `rgb` (0xRRGGBB) holds it.
bool ChooseChipColor(HWND owner, std::uint32_t& rgb);

// True when the user chose a font; `font` holds it and `textRgb` the colour
// chosen with it.
bool ChooseChipFont(HWND owner, FontChoice& font, std::uint32_t& textRgb);

}  // namespace kn::desk
