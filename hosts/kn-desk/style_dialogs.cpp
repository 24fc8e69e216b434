#include "style_dialogs.h"

#include <commdlg.h>
#include <dlgs.h>

#include <cstring>
#include <iterator>
#include <string>

#include "record_bridge.h"
#include "platform/win32_owners.h"

namespace kn::desk {
namespace {

// What the font dialog shows: face, style, size, the two effects and the
// colour, as its controls hold them.
struct ShownChoice {
  std::wstring face, style, size;
  LRESULT strikeOut = 0, underline = 0, color = 0;
  bool read = false;
  bool operator==(const ShownChoice& other) const {
    return face == other.face && style == other.style && size == other.size &&
           strikeOut == other.strikeOut && underline == other.underline && color == other.color;
  }
};

struct FontDialogWatch {
  ShownChoice opened;
  ShownChoice accepted;
};

std::wstring ControlText(HWND dialog, int id) {
  wchar_t text[LF_FACESIZE * 2] = {};
  GetDlgItemTextW(dialog, id, text, static_cast<int>(std::size(text)));
  return text;
}

ShownChoice ReadShown(HWND dialog) {
  ShownChoice shown;
  shown.face = ControlText(dialog, cmb1);
  shown.style = ControlText(dialog, cmb2);
  shown.size = ControlText(dialog, cmb3);
  shown.strikeOut = IsDlgButtonChecked(dialog, chx1);
  shown.underline = IsDlgButtonChecked(dialog, chx2);
  shown.color = SendDlgItemMessageW(dialog, cmb4, CB_GETCURSEL, 0, 0);
  shown.read = true;
  return shown;
}

// Reads the controls when the dialog opens and when OK is pressed.
UINT_PTR CALLBACK WatchFontDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* watch =
        reinterpret_cast<FontDialogWatch*>(reinterpret_cast<const CHOOSEFONTW*>(lparam)->lCustData);
    SetPropW(dialog, L"KnFontWatch", watch);
    watch->opened = ReadShown(dialog);
    return 1;
  }
  if (message == WM_COMMAND && LOWORD(wparam) == IDOK) {
    if (auto* watch = static_cast<FontDialogWatch*>(GetPropW(dialog, L"KnFontWatch")))
      watch->accepted = ReadShown(dialog);
  }
  if (message == WM_DESTROY) RemovePropW(dialog, L"KnFontWatch");
  return 0;
}

}  // namespace

std::wstring FaceInUse(const LOGFONTA& font) {
  GdiObject<HFONT> made(CreateFontIndirectA(&font));
  WindowDc screen(nullptr);
  if (!made.get() || !screen.get()) return {};
  SelectedObject selected(screen.get(), made.get());
  wchar_t face[LF_FACESIZE] = {};
  if (GetTextFaceW(screen.get(), LF_FACESIZE, face) <= 0) return {};
  return std::wstring(face, wcsnlen(face, LF_FACESIZE));
}

bool ChooseChipColor(HWND owner, std::uint32_t& rgb) {
  // The dialog's sixteen custom colours last as long as the program.
  static COLORREF customColors[16] = {};
  CHOOSECOLORW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.rgbResult = ToColorRef(rgb);
  dialog.lpCustColors = customColors;
  dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorW(&dialog)) return false;
  rgb = FromColorRef(dialog.rgbResult);
  return true;
}

bool ChooseChipFont(HWND owner, FontChoice& font, std::uint32_t& textRgb) {
  LOGFONTW chosen = ToDialogFont(font);
  const std::wstring face = FaceInUse(ToChipFont(font));
  if (!face.empty()) {
    std::memset(chosen.lfFaceName, 0, sizeof chosen.lfFaceName);
    face.copy(chosen.lfFaceName, LF_FACESIZE - 1);
  }
  FontDialogWatch watch;
  CHOOSEFONTW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpLogFont = &chosen;
  dialog.Flags =
      CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_NOVERTFONTS | CF_ENABLEHOOK;
  dialog.rgbColors = ToColorRef(textRgb);
  dialog.lpfnHook = &WatchFontDialog;
  dialog.lCustData = reinterpret_cast<LPARAM>(&watch);
  if (!ChooseFontW(&dialog)) return false;
  // The dialog rounds the size to its own steps and may name the face
  // otherwise: OK on what it showed keeps the chip's font exactly.
  if (watch.opened.read && watch.accepted.read && watch.accepted == watch.opened) return false;
  font = FromDialogFont(chosen);
  textRgb = FromColorRef(dialog.rgbColors);
  return true;
}

}  // namespace kn::desk
