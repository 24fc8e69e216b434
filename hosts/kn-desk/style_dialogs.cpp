#include "style_dialogs.h"

#include <commdlg.h>

#include "record_bridge.h"

namespace kn::desk {

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
  CHOOSEFONTW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpLogFont = &chosen;
  dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
  dialog.rgbColors = ToColorRef(textRgb);
  if (!ChooseFontW(&dialog)) return false;
  font = FromDialogFont(chosen);
  textRgb = FromColorRef(dialog.rgbColors);
  return true;
}

}  // namespace kn::desk
