// Starts kn-desk.exe (the desktop host, beside the test program) as a
// separate process and watches it from outside, as a person would see it:
// its top-level windows, the message boxes it shows and how it exits.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kn::wine {

// A program in the folder of the running test program.
inline std::wstring ProgramBesideTests(const wchar_t* name) {
  wchar_t self[MAX_PATH * 4] = {};
  const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
  std::wstring path(self, n < MAX_PATH * 4 ? n : 0);
  const std::size_t slash = path.find_last_of(L"\\/");
  return (slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1)) + name;
}

struct WindowSearch {
  DWORD processId;
  const wchar_t* className;
  std::vector<HWND> found;
};

inline BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (owner == search->processId && lstrcmpW(name, search->className) == 0 && IsWindowVisible(window)) {
    search->found.push_back(window);
  }
  return TRUE;
}

// The visible top-level windows of one process, of one window class.
inline std::vector<HWND> ProcessWindows(DWORD processId, const wchar_t* className) {
  WindowSearch search{processId, className, {}};
  EnumWindows(&CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The text of a message box's message (its static control 0xFFFF), in code
// page 932 as the box shows it.
inline std::string MessageBoxText(HWND box) {
  char text[2048] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  return text;
}

class DeskProcess {
 public:
  static constexpr const wchar_t* kChipClass = L"KaleidonoteDeskChip";
  static constexpr const wchar_t* kMainClass = L"KaleidonoteDesk";
  static constexpr const wchar_t* kDialogClass = L"#32770";

  // Starts kn-desk.exe with the given settings file.
  explicit DeskProcess(const std::wstring& settingsPath) {
    std::wstring command = L"\"" + ProgramBesideTests(L"kn-desk.exe") + L"\" --settings \"" +
                           settingsPath + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process_)) {
      CloseHandle(process_.hThread);
      process_.hThread = nullptr;
    } else {
      startError_ = GetLastError();
      process_ = PROCESS_INFORMATION{};
    }
  }
  // A program still running is asked to close, then ended.
  ~DeskProcess() {
    if (!process_.hProcess) return;
    if (Running()) {
      for (HWND main : ProcessWindows(process_.dwProcessId, kMainClass)) PostMessageW(main, WM_CLOSE, 0, 0);
      if (WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 99);
    }
    CloseHandle(process_.hProcess);
  }
  DeskProcess(const DeskProcess&) = delete;
  DeskProcess& operator=(const DeskProcess&) = delete;

  bool started() const { return process_.hProcess != nullptr; }
  DWORD startError() const { return startError_; }
  DWORD id() const { return process_.dwProcessId; }
  bool Running() const { return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

  std::vector<HWND> Windows(const wchar_t* className) const { return ProcessWindows(id(), className); }

  // Polls until the process shows at least `count` windows of the class.
  // Stops early when the process ends or shows a message box (which would
  // wait for a person), so that a failure says what happened.
  std::vector<HWND> WaitForWindows(const wchar_t* className, std::size_t count, DWORD timeoutMs,
                                   std::string& why) const {
    const DWORD start = GetTickCount();
    for (;;) {
      std::vector<HWND> found = Windows(className);
      if (found.size() >= count) return found;
      if (lstrcmpW(className, kDialogClass) != 0) {
        const std::vector<HWND> boxes = Windows(kDialogClass);
        if (!boxes.empty()) {
          why = "the program shows a message box: " + MessageBoxText(boxes[0]);
          return found;
        }
      }
      if (!Running()) {
        why = "the program ended with status " + std::to_string(ExitCode());
        return found;
      }
      if (GetTickCount() - start >= timeoutMs) {
        why = "only " + std::to_string(found.size()) + " window(s) after " + std::to_string(timeoutMs) + " ms";
        return found;
      }
      Sleep(100);
    }
  }

  // The first message box of the process within the time, or null.
  HWND WaitForMessageBox(DWORD timeoutMs) const {
    std::string why;
    const std::vector<HWND> boxes = WaitForWindows(kDialogClass, 1, timeoutMs, why);
    return boxes.empty() ? nullptr : boxes[0];
  }

  // True when the process ended within the time.
  bool WaitForExit(DWORD timeoutMs) const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
  }
  DWORD ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_.hProcess) GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION process_{};
  DWORD startError_ = 0;
};

inline SIZE OuterSizeOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

inline POINT OriginOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return POINT{rect.left, rect.top};
}

// Polls `condition` until it holds or the time is up; its last answer.
template <typename Condition>
bool WaitUntil(DWORD timeoutMs, Condition condition) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return condition();
    Sleep(50);
  }
}

}  // namespace kn::wine
