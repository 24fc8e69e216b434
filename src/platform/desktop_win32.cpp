#include "platform/desktop_win32.h"

#include <shellapi.h>

#include <cstring>

#include "platform/gdi_raii_win32.h"
#include "platform/gdi_text_surface_win32.h"
#include "plugin/host_texts.h"

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

}  // namespace

int Win32Desktop::ShellOpen(const std::string& program, const std::string& parameters,
                            const std::string& directory) {
  const HINSTANCE result = ShellExecuteA(window_, "open", program.c_str(), parameters.c_str(),
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
  ClipboardSession clipboard(window_);
  if (!clipboard.is_open()) return false;
  EmptyClipboard();
  if (!SetClipboardData(CF_TEXT, block.get())) return false;
  block.release();  // the clipboard owns it now
  return true;
}

void Win32Desktop::ShowLaunchFailure(const std::string& message) {
  MessageBoxA(window_, message.c_str(), kChipTitle, MB_OK | MB_ICONERROR);
}

std::unique_ptr<TextSurface> Win32Desktop::OpenSurface() {
  auto surface = std::make_unique<WindowTextSurface>(window_);
  if (!surface->ok()) return nullptr;
  return surface;
}

KeyState ReadKeyState() {
  BYTE keys[256] = {};
  if (!GetKeyboardState(keys)) return {false, false};
  return {(keys[VK_SHIFT] & 0x80) != 0, (keys[VK_MENU] & 0x80) != 0};
}

}  // namespace kn
