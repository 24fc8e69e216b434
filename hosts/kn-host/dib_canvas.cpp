#include "dib_canvas.h"

namespace kn::host {

DibCanvas::DibCanvas(int width, int height) : width_(width), height_(height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc_ = CreateCompatibleDC(nullptr);
  if (!dc_) return;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap_) return;
  previous_ = SelectObject(dc_, bitmap_);
  bits_ = static_cast<std::uint32_t*>(bits);
}

DibCanvas::~DibCanvas() {
  if (previous_) SelectObject(dc_, previous_);
  if (bitmap_) DeleteObject(bitmap_);
  if (dc_) DeleteDC(dc_);
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

}  // namespace kn::host
