#include "markup/utf8_decode.h"

#include <cstdint>
#include <cstring>

#include "markup/vector_scans.h"

#if KN_HAVE_SSE2_SCANS
#include <emmintrin.h>
#endif

namespace kn {
namespace {

using Word = std::uintptr_t;
constexpr Word kHighBits = ~Word{0} / 0xFF * 0x80;

unsigned char ByteAt(std::string_view bytes, std::size_t i) { return static_cast<unsigned char>(bytes[i]); }

std::size_t SkipAsciiPlain(std::string_view bytes, std::size_t from) {
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

#if KN_HAVE_SSE2_SCANS
KN_SSE2_SCAN std::size_t SkipAsciiSse2(std::string_view bytes, std::size_t from) {
  std::size_t i = from;
  while (bytes.size() - i >= 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i));
    const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(x));
    if (high != 0) return i + static_cast<unsigned>(__builtin_ctz(high));
    i += 16;
  }
  return SkipAsciiPlain(bytes, i);
}
#endif

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
#if KN_HAVE_SSE2_SCANS
  if (UseSse2Scans()) return SkipAsciiSse2(bytes, from);
#endif
  return SkipAsciiPlain(bytes, from);
}

Utf8Prefix ScanUtf8Prefix(std::string_view bytes) {
  Utf8Prefix prefix;
  const auto* const begin = reinterpret_cast<const unsigned char*>(bytes.data());
  const unsigned char* const end = begin + bytes.size();
  const unsigned char* p = begin;
  while (p < end) {
    const unsigned lead = *p;
    if (lead < 0x80) {
      p = begin + SkipAscii(bytes, static_cast<std::size_t>(p - begin));
      continue;
    }
    if (end - p >= 3 && IsCommonThreeByteForm(p)) {
      // Japanese text is runs of them: stay in the run.
      prefix.multibyte = true;
      do {
        p += 3;
      } while (end - p >= 3 && IsCommonThreeByteForm(p));
      continue;
    }
    const Utf8Sequence sequence = DecodeUtf8At(bytes, static_cast<std::size_t>(p - begin));
    if (!sequence.ok) {
      prefix.end = static_cast<std::size_t>(p - begin);
      prefix.illFormed = !sequence.cut;
      return prefix;
    }
    prefix.multibyte = true;
    p += sequence.length;
  }
  prefix.end = bytes.size();
  return prefix;
}

Utf8Scan ScanUtf8(std::string_view bytes) {
  const Utf8Prefix prefix = ScanUtf8Prefix(bytes);
  return {prefix.end == bytes.size(), prefix.multibyte};
}

}  // namespace kn
