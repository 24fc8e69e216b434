// The standard Windows colour and font dialogs, for a chip's colours and
// base font.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "desk_settings.h"

namespace kn::desk {

// True when the user chose a colour; `rgb` (0xRRGGBB) holds it.
bool ChooseChipColor(HWND owner, std::uint32_t& rgb);

// The font dialog opens on the face and size the chip is drawn with. True
// when the user changed the font or its colour; `font` then holds it and
// `textRgb` the colour chosen with it.
bool ChooseChipFont(HWND owner, FontChoice& font, std::uint32_t& textRgb);

// The face a font is drawn with: the face it names, or the one the system
// puts in its place when that face is missing.
std::wstring FaceInUse(const LOGFONTA& font);

}  // namespace kn::desk
