// Owners of the Win32 resources that the plug-in, its hosts and their tests
// take: each releases what it owns with the call that matches the one that
// acquired it, on every path out of its scope. Copies are deleted; where a
// resource may change hands (to the clipboard, to a menu, to the caller),
// release() hands it on explicitly.
#pragma once

#include <windows.h>

#include <utility>

namespace kn {

// A GDI object we made (brush, pen, font, bitmap), deleted at scope end.
template <typename Handle>
class GdiObject {
 public:
  explicit GdiObject(Handle handle = nullptr) : handle_(handle) {}
  ~GdiObject() { reset(); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }

  Handle get() const { return handle_; }
  void reset(Handle handle = nullptr) {
    if (handle_ && handle_ != handle) DeleteObject(handle_);
    handle_ = handle;
  }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  Handle handle_;
};

// An object selected into a DC; the previous one goes back at scope end.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

  bool ok() const { return previous_ && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A DC's state, saved with SaveDC and restored at scope end.
class SavedDcState {
 public:
  explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDcState() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  SavedDcState(const SavedDcState&) = delete;
  SavedDcState& operator=(const SavedDcState&) = delete;

 private:
  HDC dc_;
  int saved_;
};

// A window's DC from GetDC, released with ReleaseDC.
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

// A whole window's DC, its frame included, from GetWindowDC, released with
// ReleaseDC.
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

// The DC of a WM_PAINT, from BeginPaint, ended with EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintDc() { EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;

  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// A memory DC from CreateCompatibleDC, deleted with DeleteDC.
class MemoryDc {
 public:
  explicit MemoryDc(HDC like = nullptr) : dc_(CreateCompatibleDC(like)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;

  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// A movable global block we own until release() hands it on (to the
// clipboard, to a call that may replace it: take the result back with
// reset()).
class OwnedGlobal {
 public:
  explicit OwnedGlobal(HGLOBAL block = nullptr) : block_(block) {}
  ~OwnedGlobal() { reset(); }
  OwnedGlobal(const OwnedGlobal&) = delete;
  OwnedGlobal& operator=(const OwnedGlobal&) = delete;

  HGLOBAL get() const { return block_; }
  HGLOBAL release() { return std::exchange(block_, nullptr); }
  void reset(HGLOBAL block = nullptr) {
    if (block_ && block_ != block) GlobalFree(block_);
    block_ = block;
  }

 private:
  HGLOBAL block_;
};

// A global block locked with GlobalLock, unlocked at scope end.
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL block) : block_(block), bytes_(block ? GlobalLock(block) : nullptr) {}
  ~GlobalLockGuard() {
    if (bytes_) GlobalUnlock(block_);
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

  void* get() const { return bytes_; }

 private:
  HGLOBAL block_;
  void* bytes_;
};

// The clipboard, opened with OpenClipboard and closed at scope end.
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~ClipboardSession() {
    if (open_) CloseClipboard();
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;

  bool is_open() const { return open_; }

 private:
  bool open_;
};

// A menu we made, destroyed (with its popups) unless release() hands it on
// (to the menu it is appended to, or to the caller).
class OwnedMenu {
 public:
  explicit OwnedMenu(HMENU menu = nullptr) : menu_(menu) {}
  ~OwnedMenu() { reset(); }
  OwnedMenu(const OwnedMenu&) = delete;
  OwnedMenu& operator=(const OwnedMenu&) = delete;
  OwnedMenu(OwnedMenu&& other) noexcept : menu_(std::exchange(other.menu_, nullptr)) {}
  OwnedMenu& operator=(OwnedMenu&& other) noexcept {
    if (this != &other) reset(std::exchange(other.menu_, nullptr));
    return *this;
  }

  HMENU get() const { return menu_; }
  HMENU release() { return std::exchange(menu_, nullptr); }
  void reset(HMENU menu = nullptr) {
    if (menu_ && menu_ != menu) DestroyMenu(menu_);
    menu_ = menu;
  }

 private:
  HMENU menu_;
};

// A window we made, destroyed with DestroyWindow.
class OwnedWindow {
 public:
  explicit OwnedWindow(HWND window = nullptr) : window_(window) {}
  ~OwnedWindow() {
    if (window_) DestroyWindow(window_);
  }
  OwnedWindow(const OwnedWindow&) = delete;
  OwnedWindow& operator=(const OwnedWindow&) = delete;

  HWND get() const { return window_; }

 private:
  HWND window_;
};

// A kernel object (a file, a process, an event) closed with CloseHandle.
// Both null and INVALID_HANDLE_VALUE, the two ways creating calls fail,
// mean none.
class KernelHandle {
 public:
  explicit KernelHandle(HANDLE handle = nullptr) : handle_(handle) {}
  ~KernelHandle() {
    if (ok()) CloseHandle(handle_);
  }
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;

  HANDLE get() const { return handle_; }
  bool ok() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE release() { return std::exchange(handle_, nullptr); }

 private:
  HANDLE handle_;
};

// A directory search from FindFirstFile, closed with FindClose.
class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (ok()) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;

  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// A reference to a loaded module (from LoadLibrary or GetModuleHandleEx),
// given back with FreeLibrary, or handed on with release().
class ModuleReference {
 public:
  explicit ModuleReference(HMODULE module = nullptr) : module_(module) {}
  ~ModuleReference() {
    if (module_) FreeLibrary(module_);
  }
  ModuleReference(const ModuleReference&) = delete;
  ModuleReference& operator=(const ModuleReference&) = delete;

  HMODULE get() const { return module_; }
  bool ok() const { return module_ != nullptr; }
  HMODULE release() { return std::exchange(module_, nullptr); }

 private:
  HMODULE module_;
};

}  // namespace kn
