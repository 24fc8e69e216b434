// A picture as a 32-bit top-down DIB holds it: one 0x00RRGGBB value per
// pixel, rows from the top.
#pragma once

#include <cstdint>
#include <vector>

namespace kn::driver {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // width * height values, row by row

  std::uint32_t At(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

// The pixel value of a COLORREF (0x00BBGGRR) in a picture (0x00RRGGBB).
constexpr std::uint32_t PixelOf(std::uint32_t colorref) {
  return ((colorref & 0xFFu) << 16) | (colorref & 0xFF00u) | ((colorref >> 16) & 0xFFu);
}

}  // namespace kn::driver
