// Acts on the dialogs (class #32770) that the calling thread opens, as a
// person would: a CBT hook sees each dialog when it is activated, after its
// controls are set up, and the test's action then runs on it from the
// dialog's own message loop. The action reads what the dialog shows and
// closes it; should it not, a watchdog cancels the dialog so that a test
// never hangs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace kn::wine {

class DialogDriver {
 public:
  using Action = std::function<void(HWND dialog)>;

  explicit DialogDriver(Action action) : action_(std::move(action)) {
    Current() = this;
    hook_ = SetWindowsHookExW(WH_CBT, &DialogDriver::HookProc, nullptr, GetCurrentThreadId());
  }
  ~DialogDriver() {
    if (hook_) UnhookWindowsHookEx(hook_);
    Current() = nullptr;
  }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  bool installed() const { return hook_ != nullptr; }
  int acted() const { return acted_; }
  int cancelled() const { return cancelled_; }

  // The text of a dialog's control.
  static std::wstring Text(HWND dialog, int id) {
    wchar_t text[1024] = {};
    GetDlgItemTextW(dialog, id, text, 1024);
    return text;
  }
  // Presses a button as a click would.
  static void Press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  }

 private:
  static constexpr UINT_PTR kActTimer = 0x4B41;
  static constexpr UINT_PTR kWatchdogTimer = 0x4B42;
  static constexpr UINT kWatchdogMs = 30000;

  static DialogDriver*& Current() {
    static thread_local DialogDriver* current = nullptr;
    return current;
  }

  static LRESULT CALLBACK HookProc(int code, WPARAM wparam, LPARAM lparam) {
    DialogDriver* self = Current();
    if (self && code == HCBT_ACTIVATE) {
      HWND window = reinterpret_cast<HWND>(wparam);
      wchar_t name[16] = {};
      GetClassNameW(window, name, 16);
      if (lstrcmpW(name, L"#32770") == 0 && GetPropW(window, L"KnDriven") == nullptr) {
        SetPropW(window, L"KnDriven", reinterpret_cast<HANDLE>(1));
        SetTimer(window, kActTimer, 50, &DialogDriver::TimerProc);
        SetTimer(window, kWatchdogTimer, kWatchdogMs, &DialogDriver::TimerProc);
      }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }

  static void CALLBACK TimerProc(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    DialogDriver* self = Current();
    if (id == kWatchdogTimer) {
      if (self) ++self->cancelled_;
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return;
    }
    if (!self) return;
    ++self->acted_;
    self->action_(dialog);
  }

  Action action_;
  HHOOK hook_ = nullptr;
  int acted_ = 0;
  int cancelled_ = 0;
};

}  // namespace kn::wine
