#include "dib_canvas.h"

namespace kn::driver {

DibCanvas::DibCanvas(int width, int height)
    : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
  if (width <= 0 || height <= 0 || !dc_) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_) return;
  selection_.emplace(dc_.get(), bitmap_.get());
  if (*selection_) bits_ = static_cast<std::uint32_t*>(bits);
}

Picture DibCanvas::Snapshot() const {
  Picture picture;
  if (!bits_) return picture;
  GdiFlush();  // GDI may batch drawing; the bits must be complete
  picture.width = width_;
  picture.height = height_;
  const std::size_t count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  picture.pixels.assign(bits_, bits_ + count);
  for (std::uint32_t& pixel : picture.pixels) pixel &= 0x00FFFFFFu;
  return picture;
}

COLORREF DibCanvas::At(int x, int y) const {
  GdiFlush();
  return PixelOf(PixelAt(x, y));  // the swap of red and blue goes both ways
}

void DibCanvas::Fill(COLORREF color) {
  GdiFlush();
  const std::uint32_t pixel = PixelOf(color);
  for (std::size_t i = 0, n = static_cast<std::size_t>(width_) * height_; i < n; ++i) bits_[i] = pixel;
}

int DibCanvas::CountOther(COLORREF color, RECT area) const {
  GdiFlush();
  const std::uint32_t pixel = PixelOf(color);
  int count = 0;
  for (int y = (area.top < 0 ? 0 : area.top); y < area.bottom && y < height_; ++y) {
    for (int x = (area.left < 0 ? 0 : area.left); x < area.right && x < width_; ++x) {
      if ((PixelAt(x, y) & 0xFFFFFFu) != pixel) ++count;
    }
  }
  return count;
}

std::string DibCanvas::FirstDifference(const DibCanvas& other) const {
  if (other.width_ != width_ || other.height_ != height_) return "sizes differ";
  GdiFlush();
  int differing = 0;
  std::string first;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const std::uint32_t a = PixelAt(x, y) & 0xFFFFFFu;
      const std::uint32_t b = other.PixelAt(x, y) & 0xFFFFFFu;
      if (a == b) continue;
      if (differing++ == 0) {
        char text[96];
        wsprintfA(text, "at (%d,%d): %06X vs %06X (0xRRGGBB)", x, y, a, b);
        first = text;
      }
    }
  }
  if (differing == 0) return "";
  return std::to_string(differing) + " pixels differ, first " + first;
}

}  // namespace kn::driver
