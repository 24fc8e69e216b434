// Records every message box the calling thread opens and closes it at once,
// so a test can call an entry point that shows one without blocking. A CBT
// hook on this thread sees the dialog (class #32770) when it is activated,
// after its controls are set up. Should the hook miss a box, a thread timer
// (which the box's modal loop dispatches) closes it so the test cannot hang.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kn::wine {

struct CapturedBox {
  std::string caption;  // bytes as the box shows them (code page 932)
  std::string text;
  HWND owner = nullptr;
  HICON icon = nullptr;   // the icon static's image
  bool hasOk = false;     // an OK button is shown
  bool hasCancel = false; // a Cancel button is shown
};

class MessageBoxCapture {
 public:
  MessageBoxCapture() {
    Current() = this;
    hook_ = SetWindowsHookExA(WH_CBT, &MessageBoxCapture::HookProc, nullptr, GetCurrentThreadId());
    watchdog_ = SetTimer(nullptr, 0, kWatchdogMs, &MessageBoxCapture::Watchdog);
  }
  ~MessageBoxCapture() {
    if (watchdog_) KillTimer(nullptr, watchdog_);
    if (hook_) UnhookWindowsHookEx(hook_);
    Current() = nullptr;
  }
  MessageBoxCapture(const MessageBoxCapture&) = delete;
  MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

  bool installed() const { return hook_ != nullptr; }
  const std::vector<CapturedBox>& boxes() const { return boxes_; }
  // Boxes the hook missed and the watchdog had to close.
  int missed() const { return missed_; }

 private:
  static constexpr int kTextControl = 0xFFFF;
  static constexpr int kIconControl = 0x440;
  static constexpr UINT kWatchdogMs = 20000;

  static MessageBoxCapture*& Current() {
    static thread_local MessageBoxCapture* current = nullptr;
    return current;
  }

  static bool IsDialog(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpA(name, "#32770") == 0;
  }

  static bool ShowsButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    return button && (GetWindowLongA(button, GWL_STYLE) & WS_VISIBLE) != 0;
  }

  static std::string WindowText(HWND window) {
    std::string text(65536, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
  }

  void Record(HWND dialog) {
    for (HWND seen : seen_)
      if (seen == dialog) return;  // activated again before it closed
    seen_.push_back(dialog);
    CapturedBox box;
    box.caption = WindowText(dialog);
    box.text = WindowText(GetDlgItem(dialog, kTextControl));
    box.owner = GetWindow(dialog, GW_OWNER);
    box.icon = reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, kIconControl, STM_GETICON, 0, 0));
    box.hasOk = ShowsButton(dialog, IDOK);
    box.hasCancel = ShowsButton(dialog, IDCANCEL);
    boxes_.push_back(box);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }

  static LRESULT CALLBACK HookProc(int code, WPARAM wparam, LPARAM lparam) {
    MessageBoxCapture* self = Current();
    HWND window = reinterpret_cast<HWND>(wparam);
    if (code == HCBT_ACTIVATE && self && IsDialog(window)) self->Record(window);
    return CallNextHookEx(self ? self->hook_ : nullptr, code, wparam, lparam);
  }

  static BOOL CALLBACK CloseMissed(HWND window, LPARAM) {
    MessageBoxCapture* self = Current();
    if (!IsDialog(window) || !IsWindowVisible(window)) return TRUE;
    if (self) {
      for (HWND seen : self->seen_)
        if (seen == window) return TRUE;
      ++self->missed_;
    }
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return TRUE;
  }

  static void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &MessageBoxCapture::CloseMissed, 0);
  }

  HHOOK hook_ = nullptr;
  UINT_PTR watchdog_ = 0;
  int missed_ = 0;
  std::vector<CapturedBox> boxes_;
  std::vector<HWND> seen_;
};

}  // namespace kn::wine
