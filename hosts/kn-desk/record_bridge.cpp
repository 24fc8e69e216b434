#include "record_bridge.h"

#include <algorithm>
#include <cstring>

#include "cp932_text.h"
#include "wide_text.h"

namespace kn::desk {

std::wstring Widen(const std::string& utf8) {
  std::wstring wide;
  if (!host::Utf8ToWide(utf8, wide)) wide = L"?";
  return wide;
}

std::string Narrow(const std::wstring& wide) { return host::WideToUtf8(wide); }

std::string ToChipText(const std::string& utf8) { return host::Utf8ToCp932Text(utf8).text; }

std::string ToChipText(const std::wstring& wide) { return ToChipText(Narrow(wide)); }

std::string FromChipText(const std::string& sjis) { return host::ShiftJisToUtf8(sjis); }

LOGFONTA ToChipFont(const FontChoice& font) {
  LOGFONTA chip = driver::MakeNoteFont(ToChipText(font.face), font.height, false);
  chip.lfWeight = font.weight;
  chip.lfItalic = font.italic ? TRUE : FALSE;
  chip.lfUnderline = font.underline ? TRUE : FALSE;
  chip.lfStrikeOut = font.strikeOut ? TRUE : FALSE;
  chip.lfCharSet = static_cast<BYTE>(font.charset);
  chip.lfPitchAndFamily = static_cast<BYTE>(font.pitchAndFamily);
  return chip;
}

LOGFONTW ToDialogFont(const FontChoice& font) {
  LOGFONTW dialog{};
  dialog.lfHeight = font.height;
  dialog.lfWeight = font.weight;
  dialog.lfItalic = font.italic ? TRUE : FALSE;
  dialog.lfUnderline = font.underline ? TRUE : FALSE;
  dialog.lfStrikeOut = font.strikeOut ? TRUE : FALSE;
  dialog.lfCharSet = static_cast<BYTE>(font.charset);
  dialog.lfPitchAndFamily = static_cast<BYTE>(font.pitchAndFamily);
  const std::wstring face = Widen(font.face);
  const std::size_t n = face.size() < LF_FACESIZE - 1 ? face.size() : LF_FACESIZE - 1;
  std::memcpy(dialog.lfFaceName, face.data(), n * sizeof(wchar_t));
  return dialog;
}

FontChoice FromDialogFont(const LOGFONTW& font) {
  FontChoice choice;
  choice.face = Narrow(std::wstring(font.lfFaceName, wcsnlen(font.lfFaceName, LF_FACESIZE)));
  // The settings file takes only sizes and weights within its bounds.
  choice.height = std::clamp(static_cast<int>(font.lfHeight), -kMaxFontHeight, kMaxFontHeight);
  choice.weight = std::clamp(static_cast<int>(font.lfWeight), 0, kMaxWeight);
  choice.italic = font.lfItalic != 0;
  choice.underline = font.lfUnderline != 0;
  choice.strikeOut = font.lfStrikeOut != 0;
  choice.charset = font.lfCharSet;
  choice.pitchAndFamily = font.lfPitchAndFamily;
  return choice;
}

PluginSettings::PluginSettings(const ChipRecord& record, const void* savedBlock) {
  settings_.Memo(ToChipText(record.memo))
      .TextColor(ToColorRef(record.textRgb))
      .BackColor(ToColorRef(record.backRgb))
      .Font(ToChipFont(record.font))
      .Zoomed(record.zoomed ? 1 : 0);
  // A block that could not be locked is passed as "never saved": the
  // settings' own empty block.
  if (savedBlock) settings_.SavedBlockAt(savedBlock);
}

}  // namespace kn::desk
