#include "desk_console.h"

#include <windows.h>

#include "dialog_template.h"
#include "platform/win32_owners.h"
#include "host_settings.h"
#include "record_bridge.h"
#include "platform/win32_owners.h"

namespace kn::desk {
namespace {

constexpr WORD kTextId = 100;

bool Usable(HANDLE handle) {
  return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// A console takes UTF-16 as it is; a file or a pipe gets UTF-8.
bool WriteTo(HANDLE handle, const std::string& text) {
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(handle, &mode)) {
    const std::wstring wide = Widen(text);
    return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) !=
           0;
  }
  return WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0 &&
         written == text.size();
}

struct ColumnsState {
  std::wstring text;
  HFONT font;
};

INT_PTR CALLBACK ColumnsProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* state = reinterpret_cast<const ColumnsState*>(lparam);
      HWND text = GetDlgItem(dialog, kTextId);
      if (state->font) SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(state->font), FALSE);
      SetWindowTextW(text, state->text.c_str());
      SetFocus(GetDlgItem(dialog, IDOK));
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

bool WriteToStarter(const std::string& text, StdStream stream) {
  HANDLE own = GetStdHandle(stream == StdStream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (Usable(own)) return WriteTo(own, text);
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  FileHandle console(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr));
  return console && WriteTo(console.get(), text);
}

void ShowInColumns(const std::string& title, const std::string& text) {
  // Full-width characters of this face are two half-width ones wide.
  const LOGFONTA face = driver::MakeNoteFont(driver::kDefaultFace, -13, false);
  GdiObject<HFONT> font(CreateFontIndirectA(&face));
  std::wstring shown;
  for (wchar_t c : Widen(text)) {
    if (c == L'\n') shown += L'\r';
    shown += c;
  }
  ColumnsState state{shown, font.get()};
  DialogTemplate dialog(Widen(title), 340, 170);
  dialog
      .Add(DialogTemplate::kEdit, kTextId, L"",
           WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL |
               ES_AUTOVSCROLL,
           7, 7, 326, 136)
      .Add(DialogTemplate::kButton, IDOK, L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 283, 150, 50, 14);
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), nullptr, ColumnsProc,
                          reinterpret_cast<LPARAM>(&state));
}

}  // namespace kn::desk
