// A memory device context that draws into a 32-bit top-down DIB section, so
// that what is painted can be read back pixel by pixel.
#pragma once

#include <windows.h>

#include <cstdint>

#include "picture.h"

namespace kn::host {

class DibCanvas {
 public:
  // A canvas of the given size, filled with 0; ok() tells whether it exists.
  DibCanvas(int width, int height);
  ~DibCanvas();
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;

  bool ok() const { return bits_ != nullptr; }
  HDC dc() const { return dc_; }
  // The pixels as drawn so far.
  Picture Snapshot() const;

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

}  // namespace kn::host
