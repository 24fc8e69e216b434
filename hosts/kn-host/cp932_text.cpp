#include "cp932_text.h"

#include <cstdio>

#include "markup/unicode_to_cp932.h"
#include "platform/system_cp932_encoder.h"
#include "wide_text.h"

namespace kn::host {
namespace {

// The length of the character that starts with `lead`; 1 for a byte that
// starts none, which the conversion turns into 〓 on its own.
std::size_t Utf8Length(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  return lead >= 0xC2 ? 2 : 1;
}

bool Converts(std::string_view utf8, Cp932Encoder& encoder) {
  std::string out(utf8.size() * 2, '\0');
  GetaOffsets getas;
  Utf8ToCp932(utf8, out.data(), encoder, &getas);
  return getas.empty();
}

char32_t CodePoint(std::string_view utf8) {
  std::wstring wide;
  if (!Utf8ToWide(std::string(utf8), wide) || wide.empty()) return 0;
  if (wide.size() == 2) return 0x10000 + ((wide[0] - 0xD800) << 10) + (wide[1] - 0xDC00);
  return wide[0];
}

// Looks for the lost characters line by line, and character by character
// only in a line that lost one.
std::vector<LostCharacter> FindLost(const std::string& utf8, Cp932Encoder& encoder) {
  std::vector<LostCharacter> lost;
  int number = 0;
  for (std::size_t start = 0; start <= utf8.size();) {
    std::size_t end = utf8.find('\n', start);
    if (end == std::string::npos) end = utf8.size();
    const std::string_view line(utf8.data() + start, end - start);
    ++number;
    if (!Converts(line, encoder)) {
      int column = 0;
      for (std::size_t at = 0; at < line.size();) {
        std::size_t length = Utf8Length(static_cast<unsigned char>(line[at]));
        if (at + length > line.size()) length = line.size() - at;
        const std::string_view character = line.substr(at, length);
        ++column;
        if (!Converts(character, encoder)) {
          const bool whole = ScanUtf8(character).wellFormed;
          if (!whole) length = 1;  // the next byte may start a character again
          lost.push_back(LostCharacter{number, column, std::string(line.substr(at, length)),
                                       whole ? CodePoint(character) : 0});
        }
        at += length;
      }
    }
    start = end + 1;
  }
  return lost;
}

}  // namespace

Cp932Text Utf8ToCp932Text(const std::string& utf8) {
  SystemCp932Encoder encoder;
  Cp932Text result;
  std::string out(utf8.size() * 2, '\0');
  GetaOffsets getas;
  out.resize(Utf8ToCp932(utf8, out.data(), encoder, &getas));
  result.text = std::move(out);
  if (!getas.empty()) result.lost = FindLost(utf8, encoder);
  return result;
}

std::string DescribeLost(const LostCharacter& lost) {
  char where[64];
  std::snprintf(where, sizeof where, "line %d, character %d: ", lost.line, lost.column);
  if (lost.code == 0) {
    char byte[32];
    std::snprintf(byte, sizeof byte, "byte %02X is no UTF-8", static_cast<unsigned char>(lost.utf8[0]));
    return where + std::string(byte);
  }
  char code[16];
  std::snprintf(code, sizeof code, " (U+%04X)", static_cast<unsigned>(lost.code));
  return where + lost.utf8 + code;
}

}  // namespace kn::host
