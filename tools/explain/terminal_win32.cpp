// The terminal's platform parts on Windows: the code page 932 decoder over
// MultiByteToWideChar, and the console written in characters.
#ifdef _WIN32

#include <windows.h>

#include <io.h>

#include <algorithm>
#include <string>

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

void WriteToTerminal(std::FILE* stream, std::string_view text, bool utf8) {
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  if (!utf8 || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) {
    std::fwrite(text.data(), 1, text.size(), stream);
    return;
  }
  std::fflush(stream);
  // In pieces that even old consoles take in one call; a piece never ends
  // inside a character, since a byte from 0xC0 up begins one.
  constexpr std::size_t kPiece = 8192;
  while (!text.empty()) {
    std::size_t size = std::min(text.size(), kPiece);
    while (size > 1 && size < text.size() && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) --size;
    const int length = static_cast<int>(size);
    std::wstring wide(size, L'\0');
    const int count = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), length);
    DWORD written = 0;
    if (count <= 0 || !WriteConsoleW(handle, wide.data(), static_cast<DWORD>(count), &written, nullptr)) return;
    text.remove_prefix(size);
  }
}

}  // namespace kn::explain

#endif  // _WIN32
