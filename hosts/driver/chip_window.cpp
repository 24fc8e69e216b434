#include "chip_window.h"

namespace kn::driver {
namespace {

constexpr wchar_t kClassName[] = L"KaleidonoteHostChip";

// Registered once per process; later windows reuse the class.
bool RegisterChipClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

HWND CreateChipWindow(int width, int height, DWORD& error) {
  if (!RegisterChipClass()) {
    error = GetLastError();
    return nullptr;
  }
  HWND window = CreateWindowExW(kChipExStyle, kClassName, L"Kaleidonote", kChipStyle, 0, 0, width, height,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window) error = GetLastError();
  return window;
}

}  // namespace

ChipWindow::ChipWindow(int width, int height) : window_(CreateChipWindow(width, height, createError_)) {}

bool ChipWindow::Resize(int width, int height) {
  return SetWindowPos(hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != 0;
}

SIZE ChipWindow::OuterSize() const {
  RECT rect{};
  GetWindowRect(hwnd(), &rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

RECT ChipWindow::ClientRect() const {
  RECT rect{};
  GetClientRect(hwnd(), &rect);
  return rect;
}

}  // namespace kn::driver
