// The terminal's platform parts on Windows: the code page 932 decoder over
// MultiByteToWideChar, and a console switched to UTF-8 output.
#ifdef _WIN32

#include <windows.h>

#include "explain/terminal_text.h"

namespace kn::explain {
namespace {

constexpr UINT kCodePage932 = 932;

void AppendUtf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

Cp932Decoder::Cp932Decoder() = default;
Cp932Decoder::~Cp932Decoder() = default;

bool Cp932Decoder::Available() const { return IsValidCodePage(kCodePage932) != FALSE; }

bool Cp932Decoder::Append(std::string_view character, std::string& out) {
  if (character.empty() || character.size() > 2) return false;
  wchar_t wide[2] = {};
  const int count = MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, character.data(),
                                        static_cast<int>(character.size()), wide, 2);
  // Code page 932 maps every character to one code unit of the basic plane.
  if (count != 1 || (wide[0] >= 0xD800 && wide[0] <= 0xDFFF)) return false;
  AppendUtf8(out, static_cast<unsigned>(wide[0]));
  return true;
}

Utf8Console::Utf8Console(bool wanted) {
  if (!wanted || GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_CHAR) return;
  const UINT previous = GetConsoleOutputCP();
  if (previous != 0 && previous != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) previousCodePage_ = previous;
}

Utf8Console::~Utf8Console() {
  if (previousCodePage_ != 0) SetConsoleOutputCP(previousCodePage_);
}

}  // namespace kn::explain

#endif  // _WIN32
