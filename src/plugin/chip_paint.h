// Painting the chip and proposing its window size, over the desktop's
// window geometry and a canvas on the host's device context.
#pragma once

#include "plugin/chip_logic.h"
#include "system/canvas.h"
#include "system/desktop.h"

namespace kn {

// Colour of link lines for the chip's link-colour setting: red, green, or
// blue for any other value.
ColorRef LinkColorFor(std::int32_t linkColorSetting);

// Where the lines go: the client rectangle less the window frame.
Rect TextRectOf(Desktop& desktop, const Rect& client);

// Fills the client area with the background colour, frames it in scroll
// mode, draws the lines from firstLine and records lastLine and linesDrawn.
void PaintChip(ChipEnv& env, ChipState& state, Desktop& desktop, Canvas& canvas);

// The window size the chip's lines need, at most half the work area wide
// and the work area high, in `size` (width, height: the current size on
// entry). kSizeDiffers when it differs from the current size.
int ProposeSize(ChipEnv& env, const ChipState& state, Desktop& desktop, int* size);

}  // namespace kn
