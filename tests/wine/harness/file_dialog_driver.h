// Answers the open-file dialogs that the calling thread opens, as a user
// would: a CBT hook sees each dialog (class #32770) when it is activated,
// records what it shows, may first open another folder (typing its path and
// pressing OK, as a user browses), then types a full path into the file-name
// control and presses OK, or presses Cancel. Any other box (for instance a complaint
// about a missing file) is recorded, closed, and the file dialog cancelled,
// so a test never hangs.
#pragma once

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace kn::wine {

struct SeenFileDialog {
  std::string title;
  HWND owner = nullptr;
  std::string initialName;           // the file-name control's text when shown
  std::vector<std::string> filters;  // the file-type list's entries
  std::string currentDirectory;      // the process's, just before the answer
};

class FileDialogDriver {
 public:
  static constexpr int kFileNameControl = 0x47C;
  static constexpr int kFileTypeControl = 0x470;
  static constexpr UINT_PTR kAnswerTimer = 0x4B4E;

  // Opens the folder `visitFirst` when one is given, then chooses `path`, or
  // cancels when there is none.
  explicit FileDialogDriver(std::optional<std::string> path, std::string visitFirst = {})
      : path_(std::move(path)), visitFirst_(std::move(visitFirst)) {
    Current() = this;
    hook_ = SetWindowsHookExA(WH_CBT, &FileDialogDriver::HookProc, nullptr, GetCurrentThreadId());
  }
  ~FileDialogDriver() {
    if (hook_) UnhookWindowsHookEx(hook_);
    Current() = nullptr;
  }
  FileDialogDriver(const FileDialogDriver&) = delete;
  FileDialogDriver& operator=(const FileDialogDriver&) = delete;

  bool installed() const { return hook_ != nullptr; }
  const std::vector<SeenFileDialog>& dialogs() const { return dialogs_; }
  // Texts of boxes other than the file dialog.
  const std::vector<std::string>& otherBoxes() const { return otherBoxes_; }

 private:
  static FileDialogDriver*& Current() {
    static thread_local FileDialogDriver* current = nullptr;
    return current;
  }

  static std::string TextOf(HWND window) {
    std::string text(4096, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
  }

  static std::vector<std::string> ComboEntries(HWND combo) {
    std::vector<std::string> entries;
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
      if (length < 0) continue;
      std::string entry(static_cast<size_t>(length) + 1, '\0');
      SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&entry[0]));
      entry.resize(static_cast<size_t>(length));
      entries.push_back(entry);
    }
    return entries;
  }

  static std::string CurrentDirectoryNow() {
    char buffer[MAX_PATH * 4] = {};
    const DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
  }

  // Seen when it is activated; answered from the dialog's own message loop
  // a moment later, once it has filled its controls.
  void Notice(HWND dialog) {
    for (HWND seen : seen_)
      if (seen == dialog) return;  // activated again before it closed
    seen_.push_back(dialog);
    if (!SetTimer(dialog, kAnswerTimer, 0, &FileDialogDriver::TimerProc)) Answer(dialog);
  }

  static void CALLBACK TimerProc(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    if (FileDialogDriver* self = Current()) self->Answer(dialog);
  }

  void Answer(HWND dialog) {
    HWND name = GetDlgItem(dialog, kFileNameControl);
    if (!name) {
      otherBoxes_.push_back(TextOf(GetDlgItem(dialog, 0xFFFF)));
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      for (HWND open : fileDialogs_) PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return;
    }
    const bool first = std::find(fileDialogs_.begin(), fileDialogs_.end(), dialog) == fileDialogs_.end();
    if (first) {
      fileDialogs_.push_back(dialog);
      SeenFileDialog seen;
      seen.title = TextOf(dialog);
      seen.owner = GetWindow(dialog, GW_OWNER);
      seen.initialName = TextOf(name);
      seen.filters = ComboEntries(GetDlgItem(dialog, kFileTypeControl));
      dialogs_.push_back(seen);
      if (!visitFirst_.empty()) {
        // The timer fires once the dialog has handled the OK posted before it.
        SetWindowTextA(name, visitFirst_.c_str());
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        if (SetTimer(dialog, kAnswerTimer, 0, &FileDialogDriver::TimerProc)) return;
      }
    }
    dialogs_.back().currentDirectory = CurrentDirectoryNow();
    if (path_) {
      SetWindowTextA(name, path_->c_str());
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else {
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
  }

  static bool IsDialog(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpA(name, "#32770") == 0;
  }

  static LRESULT CALLBACK HookProc(int code, WPARAM wparam, LPARAM lparam) {
    FileDialogDriver* self = Current();
    HWND window = reinterpret_cast<HWND>(wparam);
    if (code == HCBT_ACTIVATE && self && IsDialog(window)) self->Notice(window);
    return CallNextHookEx(self ? self->hook_ : nullptr, code, wparam, lparam);
  }

  std::optional<std::string> path_;
  std::string visitFirst_;
  HHOOK hook_ = nullptr;
  std::vector<SeenFileDialog> dialogs_;
  std::vector<std::string> otherBoxes_;
  std::vector<HWND> seen_;
  std::vector<HWND> fileDialogs_;
};

}  // namespace kn::wine
