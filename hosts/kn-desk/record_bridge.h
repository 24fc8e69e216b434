// Between the settings file's records (UTF-8, 0xRRGGBB) and what the chip and
// the Win32 dialogs take (code page 932, COLORREF, LOGFONT).
#pragma once

#include <windows.h>

#include <string>

#include "desk_settings.h"
#include "host_settings.h"

namespace kn::desk {

inline COLORREF ToColorRef(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}
inline std::uint32_t FromColorRef(COLORREF color) {
  return (static_cast<std::uint32_t>(GetRValue(color)) << 16) |
         (static_cast<std::uint32_t>(GetGValue(color)) << 8) | GetBValue(color);
}

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);  // to UTF-8

// To code page 932 for the chip, as the board files are converted
// (cp932_text.h): a character that code page lacks becomes 〓.
std::string ToChipText(const std::wstring& wide);
std::string ToChipText(const std::string& utf8);
// From the chip's code page 932 to UTF-8.
std::string FromChipText(const std::string& sjis);

LOGFONTA ToChipFont(const FontChoice& font);
LOGFONTW ToDialogFont(const FontChoice& font);
FontChoice FromDialogFont(const LOGFONTW& font);

// The record the chip gets in InitializeChip and Update, with the memo it
// points to. `savedBlock` must stay valid while the record is in use.
class PluginSettings {
 public:
  PluginSettings(const ChipRecord& record, const void* savedBlock);
  PluginSettings(const PluginSettings&) = delete;
  PluginSettings& operator=(const PluginSettings&) = delete;

  const ChipSettings* get() const { return settings_.record(); }

 private:
  driver::HostSettings settings_;
};

}  // namespace kn::desk
