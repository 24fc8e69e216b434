#include "platform/desktop_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "platform/gdi_canvas_win32.h"
#include "platform/win32_owners.h"
#include "platform/gdi_text_surface_win32.h"
#include "platform/menu_win32.h"
#include "platform/open_file_dialog_win32.h"

namespace kn {
namespace {

// A text surface on the window's own device context.
class WindowTextSurface final : public TextSurface {
 public:
  explicit WindowTextSurface(HWND window) : dc_(window), surface_(dc_.get()) {}
  bool ok() const { return dc_.get() != nullptr; }
  void UseFont(const LogFont& font) override { surface_.UseFont(font); }
  void UseTextColor(ColorRef color) override { surface_.UseTextColor(color); }
  int DrawWrapped(std::string_view text, Rect& rect, unsigned flags) override {
    return surface_.DrawWrapped(text, rect, flags);
  }

 private:
  WindowDc dc_;  // released after the surface has restored its font
  GdiTextSurface surface_;
};

HWND AsWindow(WindowHandle window) { return static_cast<HWND>(window); }

Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

Rect Win32Desktop::ClientRect() {
  RECT client{};
  GetClientRect(AsWindow(window_), &client);
  return FromRect(client);
}

Size Win32Desktop::FrameThickness() {
  return {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)};
}

Rect Win32Desktop::WorkArea() {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return FromRect(work);
}

Size Win32Desktop::OuterSize(Size client) {
  // The style of a chip window as the host makes it.
  RECT outer{0, 0, client.width, client.height};
  AdjustWindowRectEx(&outer, WS_POPUP | WS_VISIBLE | WS_BORDER, FALSE, WS_EX_TOOLWINDOW);
  return {outer.right - outer.left, outer.bottom - outer.top};
}

KeyState Win32Desktop::Keys() {
  BYTE keys[256] = {};
  if (!GetKeyboardState(keys)) return {false, false};
  return {(keys[VK_SHIFT] & 0x80) != 0, (keys[VK_MENU] & 0x80) != 0};
}

std::unique_ptr<TextSurface> Win32Desktop::OpenSurface() {
  auto surface = std::make_unique<WindowTextSurface>(AsWindow(window_));
  if (!surface->ok()) return nullptr;
  return surface;
}

std::unique_ptr<Canvas> Win32Desktop::OpenCanvas(DcHandle dc) {
  return std::make_unique<GdiCanvas>(static_cast<HDC>(dc));
}

int Win32Desktop::ShellOpen(const std::string& program, const std::string& parameters,
                            const std::string& directory) {
  const HINSTANCE result = ShellExecuteA(AsWindow(window_), "open", program.c_str(), parameters.c_str(),
                                         directory.c_str(), SW_SHOWNORMAL);
  return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

bool Win32Desktop::CopyToClipboard(std::string_view text) {
  OwnedGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1));
  if (!block.get()) return false;
  {
    GlobalLockGuard lock(block.get());
    if (!lock.get()) return false;
    std::memcpy(lock.get(), text.data(), text.size());
  }
  ClipboardSession clipboard(AsWindow(window_));
  if (!clipboard) return false;
  EmptyClipboard();
  if (!SetClipboardData(CF_TEXT, block.get())) return false;
  block.release();  // the clipboard owns it now
  return true;
}

void Win32Desktop::ShowMessage(const char* text, const char* caption, MessageIcon icon) {
  const UINT iconFlag = icon == MessageIcon::kError ? MB_ICONERROR : MB_ICONINFORMATION;
  MessageBoxA(AsWindow(window_), text, caption, MB_OK | iconFlag);
}

MenuHandle Win32Desktop::BuildMenu(const std::vector<MenuEntry>& entries,
                                   const std::vector<std::int32_t>& checked) {
  return BuildMenuTree(entries, checked);
}

std::string Win32Desktop::AskForFileToOpen(const OpenFileRequest& request) {
  return AskForFileToOpenWin32(AsWindow(window_), request);
}

}  // namespace kn
