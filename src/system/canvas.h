// A device context to paint a chip on. The platform keeps the context's
// state as it found it: everything selected or set while painting is put
// back when the canvas ends.
#pragma once

#include "system/text_surface.h"
#include "system/types.h"

namespace kn {

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void Fill(const Rect& rect, ColorRef color) = 0;
  // The raised frame of scroll mode: two-pixel lines in the system's
  // highlight colour (top and left) and shadow colour (bottom and right).
  virtual void DrawRaisedBevel(const Rect& rect) = 0;
  // Text drawn from here on leaves the background as it is.
  virtual TextSurface& BeginText() = 0;
};

}  // namespace kn
