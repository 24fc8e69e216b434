#include "memo_dialog.h"

#include <cstring>

#include "dialog_template.h"
#include "record_bridge.h"
#include "win_resources.h"

namespace kn::desk {
namespace {

struct EditorState {
  const host::EntryPoints* api;
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

// Hands the editor's text to the chip's chooser, which appends a file path
// and a line break. Only what it appended is taken back, so that characters
// the chip's code page lacks stay in the memo.
void AddBoardFile(HWND dialog, const EditorState& state) {
  HWND edit = GetDlgItem(dialog, kMemoEditId);
  const std::wstring before = ControlText(edit);
  const std::string sent = ToChipText(before);
  GlobalBlock text(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sent.size() + 1));
  {
    GlobalLockGuard lock(text.get());
    if (!lock.bytes()) return;
    std::memcpy(lock.bytes(), sent.c_str(), sent.size() + 1);
  }
  host::EditRequest request{};
  request.length1 = request.length2 = static_cast<std::int32_t>(sent.size());
  request.text = text.release();
  const int answer = state.api->EditHelper(dialog, &request);
  text.reset(request.text);
  if (answer != 1) return;
  GlobalLockGuard lock(text.get());
  if (!lock.bytes()) return;
  const auto* bytes = static_cast<const char*>(lock.bytes());
  const std::string after(bytes, strnlen(bytes, GlobalSize(text.get())));
  if (after.size() <= sent.size() || after.compare(0, sent.size(), sent) != 0) return;
  const std::wstring added = Widen(FromChipText(after.substr(sent.size())));
  SetWindowTextW(edit, (before + added).c_str());
  SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), -1);
  SetFocus(edit);
}

void InitEditor(HWND dialog, EditorState& state) {
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
  HWND edit = GetDlgItem(dialog, kMemoEditId);
  SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
  if (HFONT font = state.editFont->get()) SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowTextW(edit, state.shown.c_str());
  SetFocus(edit);
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
          if (state && text != state->shown) state->memo = Narrow(text);
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

bool EditMemo(HWND owner, const host::EntryPoints& api, const FontChoice& font, std::string& memo) {
  LOGFONTW editorFont = ToDialogFont(font);
  GdiObject<HFONT> editFont(CreateFontIndirectW(&editorFont));
  EditorState state{&api, memo, EditorText(memo), &editFont};
  DialogTemplate dialog(L"Edit memo", 300, 200);
  dialog.Add(DialogTemplate::kEdit, kMemoEditId, L"",
             WS_BORDER | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                 ES_AUTOHSCROLL | ES_WANTRETURN,
             7, 7, 286, 164)
      .Add(DialogTemplate::kButton, kBoardFileButtonId, L"Add &board file...",
           WS_TABSTOP | BS_PUSHBUTTON, 7, 179, 90, 14)
      .Add(DialogTemplate::kButton, IDOK, L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 183, 179, 50, 14)
      .Add(DialogTemplate::kButton, IDCANCEL, L"Cancel", WS_TABSTOP | BS_PUSHBUTTON, 243, 179, 50,
           14);
  const INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), owner,
                                                 EditorProc, reinterpret_cast<LPARAM>(&state));
  if (answer != IDOK) return false;
  memo = state.memo;
  return true;
}

}  // namespace kn::desk
