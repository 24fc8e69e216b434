#include "memo_dialog.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "board_file_chooser.h"
#include "cp932_text.h"
#include "desk_texts.h"
#include "dialog_template.h"
#include "record_bridge.h"
#include "platform/win32_owners.h"

namespace kn::desk {
namespace {

struct EditorState {
  const driver::EntryPoints* api;
  std::string memo;           // in: the memo; out: the edited one
  std::wstring shown;         // the text the editor started with
  GdiObject<HFONT>* editFont;
};

std::wstring ControlText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int n = GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return text;
}

void AddBoardFile(HWND dialog, const EditorState& state) {
  HWND edit = GetDlgItem(dialog, kMemoEditId);
  const std::optional<std::wstring> added =
      WithBoardFileAdded(*state.api, dialog, ControlText(edit));
  if (!added) return;
  SetWindowTextW(edit, added->c_str());
  SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), -1);
  SetFocus(edit);
}

constexpr wchar_t kEditProcProperty[] = L"KnMemoEditProc";

// A multi-line edit box leaves Ctrl+A (its character 1) to its owner: here
// it selects the whole memo.
LRESULT CALLBACK MemoEditProc(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto previous = reinterpret_cast<WNDPROC>(GetPropW(edit, kEditProcProperty));
  if (message == WM_CHAR && wparam == 1) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropW(edit, kEditProcProperty);
  }
  return previous ? CallWindowProcW(previous, edit, message, wparam, lparam)
                  : DefWindowProcW(edit, message, wparam, lparam);
}

void InitEditor(HWND dialog, EditorState& state) {
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
  HWND edit = GetDlgItem(dialog, kMemoEditId);
  SetPropW(edit, kEditProcProperty,
           reinterpret_cast<HANDLE>(
               SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MemoEditProc))));
  SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
  if (HFONT font = state.editFont->get()) SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowTextW(edit, state.shown.c_str());
  SetFocus(edit);
}

constexpr std::size_t kMaxLostNamed = 10;

std::string LostList(const std::vector<host::LostCharacter>& lost) {
  std::string list;
  for (std::size_t i = 0; i < lost.size() && i < kMaxLostNamed; ++i) {
    char code[16];
    std::snprintf(code, sizeof code, "%04X", static_cast<unsigned>(lost[i].code));
    list += Say(Text::kLostCharacter, {std::to_string(lost[i].line), std::to_string(lost[i].column),
                                       lost[i].utf8, code}) +
            "\n";
  }
  if (lost.size() > kMaxLostNamed) {
    list += Say(Text::kLostMore, {std::to_string(lost.size() - kMaxLostNamed)}) + "\n";
  }
  return list;
}

// Says which characters the chip will show as 〓, before the memo is kept;
// true when there are none or the person keeps the memo all the same.
bool AcceptLostCharacters(HWND dialog, const std::wstring& text) {
  const std::vector<host::LostCharacter> lost = host::Utf8ToCp932Text(Narrow(text)).lost;
  if (lost.empty()) return true;
  const std::wstring question = Widen(Say(Text::kLostCharacters, {LostList(lost)}));
  return MessageBoxW(dialog, question.c_str(), Widen(Say(Text::kEditorTitle)).c_str(),
                     MB_YESNO | MB_ICONWARNING) == IDYES;
}

INT_PTR CALLBACK EditorProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* state = reinterpret_cast<EditorState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      InitEditor(dialog, *reinterpret_cast<EditorState*>(lparam));
      return FALSE;  // focus is set
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case kBoardFileButtonId:
          if (state) AddBoardFile(dialog, *state);
          return TRUE;
        case IDOK: {
          const std::wstring text = ControlText(GetDlgItem(dialog, kMemoEditId));
          // Unchanged text keeps the memo's own line breaks.
          if (state && text != state->shown) {
            if (!AcceptLostCharacters(dialog, text)) return TRUE;  // back to editing
            state->memo = Narrow(text);
          }
          EndDialog(dialog, IDOK);
          return TRUE;
        }
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

std::wstring EditorText(const std::string& memo) {
  const std::wstring wide = Widen(memo);
  std::wstring text;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const wchar_t c = wide[i];
    if (c == L'\n' && (i == 0 || wide[i - 1] != L'\r')) text += L'\r';
    text += c;
    if (c == L'\r' && (i + 1 == wide.size() || wide[i + 1] != L'\n')) text += L'\n';
  }
  return text;
}

bool EditMemo(HWND owner, const driver::EntryPoints& api, const FontChoice& font, std::string& memo) {
  LOGFONTW editorFont = ToDialogFont(font);
  GdiObject<HFONT> editFont(CreateFontIndirectW(&editorFont));
  EditorState state{&api, memo, EditorText(memo), &editFont};
  DialogTemplate dialog(Widen(Say(Text::kEditorTitle)), 300, 200);
  dialog
      .Add(DialogTemplate::kEdit, kMemoEditId, L"",
           WS_BORDER | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
               ES_AUTOHSCROLL | ES_WANTRETURN,
           7, 7, 286, 164)
      .Add(DialogTemplate::kButton, kBoardFileButtonId, Widen(Say(Text::kEditorAddBoardFile)),
           WS_TABSTOP | BS_PUSHBUTTON, 7, 179, 90, 14)
      .Add(DialogTemplate::kButton, IDOK, Widen(Say(Text::kEditorOk)),
           WS_TABSTOP | BS_DEFPUSHBUTTON, 183, 179, 50, 14)
      .Add(DialogTemplate::kButton, IDCANCEL, Widen(Say(Text::kEditorCancel)),
           WS_TABSTOP | BS_PUSHBUTTON, 243, 179, 50, 14);
  const INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), owner,
                                                 EditorProc, reinterpret_cast<LPARAM>(&state));
  if (answer != IDOK) return false;
  memo = state.memo;
  return true;
}

}  // namespace kn::desk
