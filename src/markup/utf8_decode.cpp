#include "markup/utf8_decode.h"

#include <cstdint>
#include <cstring>

namespace kn {
namespace {

using Word = std::uintptr_t;
constexpr Word kHighBits = ~Word{0} / 0xFF * 0x80;

unsigned char ByteAt(std::string_view bytes, std::size_t i) { return static_cast<unsigned char>(bytes[i]); }

}  // namespace

Utf8Sequence DecodeUtf8At(std::string_view bytes, std::size_t at) {
  const unsigned char lead = ByteAt(bytes, at);
  if (lead < 0x80) return {1, lead, true};
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  char32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // overlong below U+10000
    if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
  } else {
    return {1, 0, false};
  }
  for (std::size_t k = 1; k < length; ++k) {
    if (at + k >= bytes.size()) return {k, 0, false, true};
    const unsigned char next = ByteAt(bytes, at + k);
    if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return {k, 0, false};
    code = (code << 6) | (next & 0x3F);
  }
  return {length, code, true};
}

std::size_t SkipAscii(std::string_view bytes, std::size_t from) {
  std::size_t i = from;
  // Four words a step: one test for their high bits together.
  while (bytes.size() - i >= 4 * sizeof(Word)) {
    Word w[4];
    std::memcpy(w, bytes.data() + i, sizeof w);
    if (((w[0] | w[1] | w[2] | w[3]) & kHighBits) != 0) break;
    i += sizeof w;
  }
  while (bytes.size() - i >= sizeof(Word)) {
    Word w;
    std::memcpy(&w, bytes.data() + i, sizeof w);
    if ((w & kHighBits) != 0) break;
    i += sizeof(Word);
  }
  while (i < bytes.size() && ByteAt(bytes, i) < 0x80) ++i;
  return i;
}

Utf8Prefix ScanUtf8Prefix(std::string_view bytes) {
  Utf8Prefix prefix;
  std::size_t i = 0;
  while (i < bytes.size()) {
    if (ByteAt(bytes, i) < 0x80) {
      i = SkipAscii(bytes, i);
      continue;
    }
    const Utf8Sequence sequence = DecodeUtf8At(bytes, i);
    if (!sequence.ok) {
      prefix.end = i;
      prefix.illFormed = !sequence.cut;
      return prefix;
    }
    prefix.multibyte = true;
    i += sequence.length;
  }
  prefix.end = i;
  return prefix;
}

Utf8Scan ScanUtf8(std::string_view bytes) {
  const Utf8Prefix prefix = ScanUtf8Prefix(bytes);
  return {prefix.end == bytes.size(), prefix.multibyte};
}

}  // namespace kn
