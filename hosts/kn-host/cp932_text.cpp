#include "cp932_text.h"

#include <cstdio>

#include "markup/unicode_to_cp932.h"
#include "markup/utf8_decode.h"
#include "platform/system_cp932_encoder.h"

namespace kn::host {
namespace {

bool Converts(std::string_view utf8, Cp932Encoder& encoder) {
  std::string out(utf8.size() * 2, '\0');
  GetaOffsets getas;
  Utf8ToCp932(utf8, out.data(), encoder, &getas);
  return getas.empty();
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
        const Utf8Sequence sequence = DecodeUtf8At(line, at);
        // After bytes that are no character, the next byte may start one again.
        const std::size_t length = sequence.ok ? sequence.length : 1;
        const std::string_view character = line.substr(at, length);
        ++column;
        if (!Converts(character, encoder)) {
          lost.push_back(LostCharacter{number, column, std::string(character), sequence.ok ? sequence.code : 0});
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
