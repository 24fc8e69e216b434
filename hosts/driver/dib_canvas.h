// A memory device context that draws into a 32-bit top-down DIB section, so
// that what is painted can be read back pixel by pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "picture.h"
#include "platform/win32_owners.h"

namespace kn::driver {

class DibCanvas {
 public:
  // A canvas of the given size, filled with 0; ok() tells whether it exists.
  DibCanvas(int width, int height);
  explicit DibCanvas(const RECT& client) : DibCanvas(client.right - client.left, client.bottom - client.top) {}
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;

  bool ok() const { return bits_ != nullptr; }
  HDC dc() const { return dc_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }

  // The pixels as drawn so far.
  Picture Snapshot() const;
  COLORREF At(int x, int y) const;
  void Fill(COLORREF color);
  // Pixels inside the rectangle (clipped to the canvas) that are not `color`.
  int CountOther(COLORREF color, RECT area) const;
  int CountOther(COLORREF color) const { return CountOther(color, RECT{0, 0, width_, height_}); }
  // The first differing pixel, described for a failure message, or "" when
  // both canvases hold the same pixels.
  std::string FirstDifference(const DibCanvas& other) const;

 private:
  std::uint32_t PixelAt(int x, int y) const {
    return bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
  }

  int width_;
  int height_;
  MemoryDc dc_;
  GdiObject<HBITMAP> bitmap_;
  std::optional<SelectedObject> selection_;  // the bitmap, until the canvas ends
  std::uint32_t* bits_ = nullptr;
};

}  // namespace kn::driver
