#include "memo_dialog.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "board_file_chooser.h"
#include "button_row.h"
#include "cp932_text.h"
#include "desk_texts.h"
#include "dialog_template.h"
#include "line_explainer.h"
#include "record_bridge.h"
#include "platform/win32_owners.h"

namespace kn::desk {
namespace {

constexpr UINT_PTR kPreviewTimer = 1;
// The edit box posts this when the caret may have moved.
constexpr UINT kCaretMayHaveMoved = WM_APP + 1;

struct EditorState {
  const driver::EntryPoints* api;
  const EditedChip* chip;
  std::string memo;           // in: the memo; out: the edited one
  std::wstring shown;         // the text the editor started with
  GdiObject<HFONT>* editFont;
  bool ready = false;         // the editor holds its first text
  int paneLine = -1;          // the line the pane explains
};

std::wstring ControlText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int n = GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return text;
}

// Explains the caret's line, when it is another line or the text changed.
void UpdatePane(HWND dialog, EditorState& state, bool textChanged) {
  HWND edit = GetDlgItem(dialog, kMemoEditId);
  const int line = static_cast<int>(SendMessageW(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0));
  if (line == state.paneLine && !textChanged) return;
  state.paneLine = line;
  const std::wstring explained =
      ExplainEditorLine(ControlText(edit), line, state.chip->font, state.chip->textRgb, CurrentDeskLanguage());
  HWND pane = GetDlgItem(dialog, kExplainPaneId);
  if (ControlText(pane) != explained) SetWindowTextW(pane, explained.c_str());
}

void ShowPreview(HWND dialog, EditorState& state) {
  KillTimer(dialog, kPreviewTimer);
  if (state.chip->preview) state.chip->preview->Show(Narrow(ControlText(GetDlgItem(dialog, kMemoEditId))));
  UpdatePane(dialog, state, true);
}

void AddBoardFile(HWND dialog, const EditorState& state) {
  KillTimer(dialog, kPreviewTimer);  // the chooser's own loop must not update the chip
  HWND edit = GetDlgItem(dialog, kMemoEditId);
  const std::optional<std::wstring> added =
      WithBoardFileAdded(*state.api, dialog, ControlText(edit));
  if (!added) {
    SetTimer(dialog, kPreviewTimer, kPreviewDelayMs, nullptr);  // a change before may await its preview
    return;
  }
  SetWindowTextW(edit, added->c_str());  // a multi-line edit box reports no change for this
  SetTimer(dialog, kPreviewTimer, kPreviewDelayMs, nullptr);
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
  const LRESULT result = previous ? CallWindowProcW(previous, edit, message, wparam, lparam)
                                  : DefWindowProcW(edit, message, wparam, lparam);
  if (message == WM_KEYDOWN || message == WM_LBUTTONUP || message == WM_SETFOCUS) {
    PostMessageW(GetParent(edit), kCaretMayHaveMoved, 0, 0);
  }
  return result;
}

void InitEditor(HWND dialog, EditorState& state) {
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
  HWND edit = GetDlgItem(dialog, kMemoEditId);
  SetPropW(edit, kEditProcProperty,
           reinterpret_cast<HANDLE>(
               SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MemoEditProc))));
  SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
  if (HFONT font = state.editFont->get()) SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  LayOutButtonRow(dialog, {kBoardFileButtonId}, {IDOK, IDCANCEL}, {kMemoEditId, kExplainPaneId});
  SetWindowTextW(edit, state.shown.c_str());
  state.ready = true;
  UpdatePane(dialog, state, true);
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
    case WM_TIMER:
      if (wparam != kPreviewTimer) break;
      if (state) ShowPreview(dialog, *state);
      return TRUE;
    case kCaretMayHaveMoved:
      if (state) UpdatePane(dialog, *state, false);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case kMemoEditId:
          // Each change starts the wait again: the preview follows a pause in typing.
          if (HIWORD(wparam) == EN_CHANGE && state && state->ready) {
            SetTimer(dialog, kPreviewTimer, kPreviewDelayMs, nullptr);
          }
          return TRUE;
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

bool EditMemo(HWND owner, const driver::EntryPoints& api, const EditedChip& chip, std::string& memo) {
  LOGFONTW editorFont = ToDialogFont(chip.font);
  GdiObject<HFONT> editFont(CreateFontIndirectW(&editorFont));
  EditorState state{&api, &chip, memo, EditorText(memo), &editFont};
  DialogTemplate dialog(Widen(Say(Text::kEditorTitle)), 300, 250);
  dialog
      .Add(DialogTemplate::kEdit, kMemoEditId, L"",
           WS_BORDER | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
               ES_AUTOHSCROLL | ES_WANTRETURN,
           7, 7, 286, 140)
      .Add(DialogTemplate::kEdit, kExplainPaneId, L"",
           WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY, 7, 152, 286, 70)
      .Add(DialogTemplate::kButton, kBoardFileButtonId, Widen(Say(Text::kEditorAddBoardFile)),
           WS_TABSTOP | BS_PUSHBUTTON, 7, 229, 90, 14)
      .Add(DialogTemplate::kButton, IDOK, Widen(Say(Text::kEditorOk)),
           WS_TABSTOP | BS_DEFPUSHBUTTON, 183, 229, 50, 14)
      .Add(DialogTemplate::kButton, IDCANCEL, Widen(Say(Text::kEditorCancel)),
           WS_TABSTOP | BS_PUSHBUTTON, 243, 229, 50, 14);
  const INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), owner,
                                                 EditorProc, reinterpret_cast<LPARAM>(&state));
  if (answer != IDOK) return false;
  memo = state.memo;
  return true;
}

}  // namespace kn::desk
