// A real chip window as the host makes one, and a memory canvas (a 32-bit
// top-down DIB section) to paint into and read pixels back from: the
// driver's, under the names the tests use.
#pragma once

#include "chip_window.h"
#include "dib_canvas.h"

namespace kn::wine {

using driver::kChipExStyle;
using driver::kChipStyle;
using Canvas = driver::DibCanvas;
using TestWindow = driver::ChipWindow;

}  // namespace kn::wine
