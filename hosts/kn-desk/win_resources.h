// Owners for the Win32 resources the desktop host takes; each frees with the
// call that matches the one that acquired it.
#pragma once

#include <windows.h>

namespace kn::desk {

// A movable global memory block.
class GlobalBlock {
 public:
  GlobalBlock() = default;
  explicit GlobalBlock(HGLOBAL handle) : handle_(handle) {}
  ~GlobalBlock() { reset(); }
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;

  HGLOBAL get() const { return handle_; }
  // Hands the block to a call that may replace it; take the result back
  // with reset().
  HGLOBAL release() {
    HGLOBAL handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void reset(HGLOBAL handle = nullptr) {
    if (handle_ && handle_ != handle) GlobalFree(handle_);
    handle_ = handle;
  }

 private:
  HGLOBAL handle_ = nullptr;
};

// GlobalLock for a scope.
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL handle)
      : handle_(handle), bytes_(handle ? GlobalLock(handle) : nullptr) {}
  ~GlobalLockGuard() {
    if (bytes_) GlobalUnlock(handle_);
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

  void* bytes() const { return bytes_; }

 private:
  HGLOBAL handle_;
  void* bytes_;
};

class MenuHandle {
 public:
  explicit MenuHandle(HMENU menu = nullptr) : menu_(menu) {}
  ~MenuHandle() {
    if (menu_) DestroyMenu(menu_);
  }
  MenuHandle(MenuHandle&& other) noexcept : menu_(other.menu_) { other.menu_ = nullptr; }
  MenuHandle& operator=(MenuHandle&& other) noexcept {
    if (this != &other) {
      if (menu_) DestroyMenu(menu_);
      menu_ = other.menu_;
      other.menu_ = nullptr;
    }
    return *this;
  }
  MenuHandle(const MenuHandle&) = delete;
  MenuHandle& operator=(const MenuHandle&) = delete;

  HMENU get() const { return menu_; }

 private:
  HMENU menu_;
};

// A GDI object made by a Create* call.
template <typename T>
class GdiObject {
 public:
  explicit GdiObject(T object = nullptr) : object_(object) {}
  ~GdiObject() {
    if (object_) DeleteObject(object_);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  T get() const { return object_; }
  void reset(T object = nullptr) {
    if (object_ && object_ != object) DeleteObject(object_);
    object_ = object;
  }

 private:
  T object_;
};

// A memory device context compatible with another one.
class MemoryDc {
 public:
  explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;

  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// GetDC / ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// GetWindowDC / ReleaseDC: the whole window, its frame included.
class WholeWindowDc {
 public:
  explicit WholeWindowDc(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
  ~WholeWindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WholeWindowDc(const WholeWindowDc&) = delete;
  WholeWindowDc& operator=(const WholeWindowDc&) = delete;

  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// SelectObject for a scope.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selection() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// BeginPaint / EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;

  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// A kernel object handle (CloseHandle).
class KernelHandle {
 public:
  explicit KernelHandle(HANDLE handle = nullptr) : handle_(handle) {}
  ~KernelHandle() {
    if (handle_) CloseHandle(handle_);
  }
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;

  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace kn::desk
