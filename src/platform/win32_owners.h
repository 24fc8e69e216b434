// Owners of the Win32 resources that the plug-in, its hosts and their tests
// take: each releases what it owns with the call that matches the one that
// acquired it, on every path out of its scope. Every owner answers "do I
// hold something" with its explicit operator bool. A handle released by one
// call is a UniqueOwner (move-only; release() hands it on to the clipboard,
// to a menu, to the caller); the classes below them need more than the
// handle to undo what they did.
#pragma once

#include <windows.h>

#include <cstdint>

#include "system/unique_owner.h"

namespace kn {

// INVALID_HANDLE_VALUE, as a template argument can spell it.
inline constexpr std::intptr_t kInvalidHandleValue = -1;

// A GDI object we made (brush, pen, font, bitmap).
template <typename Handle>
using GdiObject = UniqueOwner<Handle, &DeleteObject>;
// A memory DC from CreateCompatibleDC.
using MemoryDc = UniqueOwner<HDC, &DeleteDC>;
// A movable global block, ours until release() hands it on (to the
// clipboard, to a call that may replace it: take the result back with
// reset()).
using OwnedGlobal = UniqueOwner<HGLOBAL, &GlobalFree>;
// Local memory the system allocated for us and says to free with LocalFree
// (CommandLineToArgvW's array, FormatMessage's text).
template <typename Pointer>
using LocalBlock = UniqueOwner<Pointer, &LocalFree>;
// A menu we made, destroyed with its popups unless release() hands it on (to
// the menu it is appended to, or to the caller).
using OwnedMenu = UniqueOwner<HMENU, &DestroyMenu>;
// A window we made.
using OwnedWindow = UniqueOwner<HWND, &DestroyWindow>;
// A loaded DLL.
using OwnedLibrary = UniqueOwner<HMODULE, &FreeLibrary>;
// A kernel object whose creating call answers null on failure (a mutex, an
// event, a process, a thread).
using KernelHandle = UniqueOwner<HANDLE, &CloseHandle>;
// A file or device from CreateFile, which answers INVALID_HANDLE_VALUE on
// failure.
using FileHandle = UniqueOwner<HANDLE, &CloseHandle, kInvalidHandleValue>;
// A directory search from FindFirstFile, which answers INVALID_HANDLE_VALUE
// on failure.
using FindHandle = UniqueOwner<HANDLE, &FindClose, kInvalidHandleValue>;

// An object selected into a DC. Hand-written: the release selects the
// previous object back into that DC.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (*this) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

  explicit operator bool() const { return previous_ && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A DC's state, saved with SaveDC. Hand-written: the release restores that
// DC to the saved level.
class SavedDcState {
 public:
  explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDcState() {
    if (*this) RestoreDC(dc_, saved_);
  }
  SavedDcState(const SavedDcState&) = delete;
  SavedDcState& operator=(const SavedDcState&) = delete;

  explicit operator bool() const { return saved_ != 0; }

 private:
  HDC dc_;
  int saved_;
};

// A window's DC from GetDC (its client area) or GetWindowDC (its frame
// included). Hand-written: ReleaseDC needs the window as well as the DC.
template <HDC(WINAPI* Acquire)(HWND)>
class ReleasedDc {
 public:
  explicit ReleasedDc(HWND window) : window_(window), dc_(Acquire(window)) {}
  ~ReleasedDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ReleasedDc(const ReleasedDc&) = delete;
  ReleasedDc& operator=(const ReleasedDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};
using WindowDc = ReleasedDc<&GetDC>;
using WholeWindowDc = ReleasedDc<&GetWindowDC>;

// The DC of a WM_PAINT, from BeginPaint. Hand-written: EndPaint needs the
// window and the paint record.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintDc() { EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// A global block locked with GlobalLock. Hand-written: what it holds is the
// bytes, what it unlocks is the block.
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL block) : block_(block), bytes_(block ? GlobalLock(block) : nullptr) {}
  ~GlobalLockGuard() {
    if (bytes_) GlobalUnlock(block_);
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

  void* get() const { return bytes_; }
  explicit operator bool() const { return bytes_ != nullptr; }

 private:
  HGLOBAL block_;
  void* bytes_;
};

// The clipboard, opened with OpenClipboard. Hand-written: there is no handle,
// only the fact that this thread has it open.
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~ClipboardSession() {
    if (open_) CloseClipboard();
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;

  explicit operator bool() const { return open_; }

 private:
  bool open_;
};

}  // namespace kn
