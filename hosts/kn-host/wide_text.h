// Conversions between UTF-8, UTF-16 and code page 932 (Shift-JIS), the code
// page in which the host keeps memos and font faces.
#pragma once

#include <string>

namespace kn::host {

constexpr unsigned kShiftJisCodePage = 932;

// Strict: false for bytes that are not UTF-8.
bool Utf8ToWide(const std::string& utf8, std::wstring& wide);
// Strict: false when a character has no code page 932 form.
bool WideToShiftJis(const std::wstring& wide, std::string& sjis);
// Both steps; false when either fails.
bool Utf8ToShiftJis(const std::string& utf8, std::string& sjis);

// Lenient, for messages: unconvertible input comes out as replacement marks.
std::string WideToUtf8(const std::wstring& wide);
std::string ShiftJisToUtf8(const std::string& sjis);

}  // namespace kn::host
