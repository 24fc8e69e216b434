#include "wide_text.h"

#include <windows.h>

namespace kn::host {
namespace {

std::wstring ToWide(unsigned codePage, DWORD flags, const std::string& text, bool& ok) {
  ok = true;
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
  if (n <= 0) {
    ok = false;
    return {};
  }
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), n);
  return wide;
}

std::string FromWide(unsigned codePage, const std::wstring& wide, BOOL* usedDefault) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  // Code page 932 takes the no-best-fit flag and reports substitutions;
  // UTF-8 takes neither.
  const DWORD flags = usedDefault ? WC_NO_BEST_FIT_CHARS : 0;
  const int n =
      WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, usedDefault);
  if (n <= 0) return {};
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), n, nullptr, usedDefault);
  return text;
}

}  // namespace

bool Utf8ToWide(const std::string& utf8, std::wstring& wide) {
  bool ok = false;
  wide = ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, ok);
  return ok;
}

bool WideToShiftJis(const std::wstring& wide, std::string& sjis) {
  BOOL usedDefault = FALSE;
  sjis = FromWide(kShiftJisCodePage, wide, &usedDefault);
  return !usedDefault && (wide.empty() || !sjis.empty());
}

bool Utf8ToShiftJis(const std::string& utf8, std::string& sjis) {
  std::wstring wide;
  return Utf8ToWide(utf8, wide) && WideToShiftJis(wide, sjis);
}

std::string WideToUtf8(const std::wstring& wide) { return FromWide(CP_UTF8, wide, nullptr); }

std::string ShiftJisToUtf8(const std::string& sjis) {
  bool ok = false;
  return WideToUtf8(ToWide(kShiftJisCodePage, 0, sjis, ok));
}

}  // namespace kn::host
