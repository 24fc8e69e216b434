// A real chip window as the host makes one, and a memory canvas (a 32-bit
// top-down DIB section) to paint into and read pixels back from.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace kn::wine {

// The window styles the chip's preferred size is computed for.
constexpr DWORD kChipStyle = WS_POPUP | WS_BORDER;
constexpr DWORD kChipExStyle = WS_EX_TOOLWINDOW;

inline const char* TestWindowClass() {
  static const char* name = [] {
    WNDCLASSA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KnTestChipWindow";
    RegisterClassA(&wc);
    return "KnTestChipWindow";
  }();
  return name;
}

// A hidden top-level chip window of the given outer size.
class TestWindow {
 public:
  TestWindow(int width, int height)
      : hwnd_(CreateWindowExA(kChipExStyle, TestWindowClass(), "chip", kChipStyle, 0, 0, width,
                              height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)) {}
  ~TestWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  RECT client() const {
    RECT rect{0, 0, 0, 0};
    GetClientRect(hwnd_, &rect);
    return rect;
  }

 private:
  HWND hwnd_;
};

// COLORREF is 0x00BBGGRR; a 32-bit DIB pixel is 0x00RRGGBB.
inline COLORREF PixelToColor(std::uint32_t pixel) {
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t*>(bits);
    if (dc_ && bitmap_) previous_ = SelectObject(dc_, bitmap_);
  }
  explicit Canvas(const RECT& client) : Canvas(client.right - client.left, client.bottom - client.top) {}
  ~Canvas() {
    if (previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool ok() const { return bits_ != nullptr && previous_ != nullptr; }
  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }

  COLORREF At(int x, int y) const {
    GdiFlush();
    return PixelToColor(bits_[y * width_ + x]);
  }

  void Fill(COLORREF color) {
    GdiFlush();
    const std::uint32_t pixel = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    for (int i = 0; i < width_ * height_; ++i) bits_[i] = pixel;
  }

  // Pixels inside the rectangle (clipped to the canvas) that are not `color`.
  int CountOther(COLORREF color, RECT area) const {
    GdiFlush();
    int count = 0;
    for (int y = (area.top < 0 ? 0 : area.top); y < area.bottom && y < height_; ++y)
      for (int x = (area.left < 0 ? 0 : area.left); x < area.right && x < width_; ++x)
        if (PixelToColor(bits_[y * width_ + x]) != color) ++count;
    return count;
  }
  int CountOther(COLORREF color) const { return CountOther(color, RECT{0, 0, width_, height_}); }

  // The first differing pixel, described for a failure message, or "" when
  // both canvases hold the same pixels.
  std::string FirstDifference(const Canvas& other) const {
    if (other.width_ != width_ || other.height_ != height_) return "sizes differ";
    GdiFlush();
    int differing = 0;
    std::string first;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        const std::uint32_t a = bits_[y * width_ + x] & 0xFFFFFF;
        const std::uint32_t b = other.bits_[y * width_ + x] & 0xFFFFFF;
        if (a == b) continue;
        if (differing++ == 0) first = Describe(x, y, a, b);
      }
    if (differing == 0) return "";
    return std::to_string(differing) + " pixels differ, first " + first;
  }

 private:
  static std::string Describe(int x, int y, std::uint32_t a, std::uint32_t b) {
    char text[96];
    wsprintfA(text, "at (%d,%d): %06X vs %06X (0xRRGGBB)", x, y, a, b);
    return text;
  }

  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

}  // namespace kn::wine
