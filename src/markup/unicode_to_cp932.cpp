#include "markup/unicode_to_cp932.h"

#include <cstdint>
#include <cstring>

#include "markup/cp932_table.h"
#include "markup/vector_scans.h"

#if KN_HAVE_SSE2_SCANS
#include <emmintrin.h>
#endif

namespace kn {
namespace {

unsigned char ByteAt(std::string_view bytes, std::size_t i) { return static_cast<unsigned char>(bytes[i]); }

// A run of ASCII from `in`, copied to `out` (which may lie at or before
// it); returns its length.
std::size_t CopyAsciiPlain(const char* in, std::size_t n, char* out) {
  const std::size_t run = SkipAscii(std::string_view(in, n), 0);
  std::memmove(out, in, run);
  return run;
}

#if KN_HAVE_SSE2_SCANS
// Sixteen bytes a step: a whole block of ASCII is stored as it was loaded,
// so it may overwrite its own input.
KN_SSE2_SCAN std::size_t CopyAsciiSse2(const char* in, std::size_t n, char* out) {
  std::size_t done = 0;
  while (n - done >= 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done));
    const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(x));
    if (high != 0) {
      const unsigned run = static_cast<unsigned>(__builtin_ctz(high));
      std::memmove(out + done, in + done, run);
      return done + run;
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + done), x);
    done += 16;
  }
  return done + CopyAsciiPlain(in + done, n - done, out + done);
}
#endif

// Where the output begins and where its 〓 are recorded. The position
// written at is kept apart, in a local variable of each loop, so that the
// compiler need not reload it after every byte written.
struct Output {
  char* begin;
  GetaOffsets* getas;
};

char* PutGeta(char* at, const Output& out) {
  if (out.getas != nullptr) out.getas->push_back(static_cast<std::size_t>(at - out.begin));
  at[0] = kGetaMark[0];
  at[1] = kGetaMark[1];
  return at + 2;
}

char* PutForm(char* at, std::uint16_t form, const Output& out) {
  if (form > Cp932Table::kSingleByte + 0xFF) {
    at[0] = static_cast<char>(form >> 8);
    at[1] = static_cast<char>(form & 0xFF);
    return at + 2;
  }
  if (form == Cp932Table::kNoForm) return PutGeta(at, out);
  at[0] = static_cast<char>(form & 0xFF);
  return at + 1;
}

char* PutCode(char* at, char32_t code, Cp932Table& table, Cp932Encoder& encoder, const Output& out) {
  if (code < 0x80) {
    *at = static_cast<char>(code);
    return at + 1;
  }
  if (code > 0xFFFF) return PutGeta(at, out);  // beyond the basic plane, where code page 932 has nothing
  return PutForm(at, table.FormOf(static_cast<char16_t>(code), encoder), out);
}

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

std::size_t Utf8ToCp932(std::string_view utf8, char* out, Cp932Encoder& encoder, GetaOffsets* getas) {
  const Output output{out, getas};
  Cp932Table& table = SharedCp932Table(encoder);
  const bool sse2 = UseSse2Scans();
  const auto* const begin = reinterpret_cast<const unsigned char*>(utf8.data());
  const unsigned char* const end = begin + utf8.size();
  const unsigned char* p = begin;
  char* at = out;
  while (p < end) {
    // A large text may come from memory rather than the cache: ask for
    // what comes next before it is needed.
    __builtin_prefetch(p + 512);
    const unsigned lead = *p;
    if (lead < 0x80) {
      const char* const from = reinterpret_cast<const char*>(p);
      const auto left = static_cast<std::size_t>(end - p);
#if KN_HAVE_SSE2_SCANS
      const std::size_t run = sse2 ? CopyAsciiSse2(from, left, at) : CopyAsciiPlain(from, left, at);
#else
      const std::size_t run = CopyAsciiPlain(from, left, at);
#endif
      p += run;
      at += run;
      continue;
    }
    // Nearly all Japanese text, and then the two-byte forms, are decoded
    // here; the rest goes the long way.
    if (end - p >= 3 && IsCommonThreeByteForm(p)) {
      // Japanese text is runs of them: stay in the run.
      do {
        const auto unit = static_cast<char16_t>((p[0] & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F));
        at = PutForm(at, table.FormOf(unit, encoder), output);
        p += 3;
      } while (end - p >= 3 && IsCommonThreeByteForm(p));
      continue;
    }
    if (lead - 0xC2 <= 0xDF - 0xC2 && end - p >= 2 && IsContinuation(p[1])) {
      at = PutForm(at, table.FormOf(static_cast<char16_t>((lead & 0x1F) << 6 | (p[1] & 0x3F)), encoder), output);
      p += 2;
      continue;
    }
    const Utf8Sequence sequence = DecodeUtf8At(utf8, static_cast<std::size_t>(p - begin));
    at = sequence.ok ? PutCode(at, sequence.code, table, encoder, output) : PutGeta(at, output);
    p += sequence.length;
  }
  return static_cast<std::size_t>(at - out);
}

std::size_t Utf16ToCp932(std::string_view utf16, bool bigEndian, char* out, Cp932Encoder& encoder,
                         GetaOffsets* getas) {
  const Output output{out, getas};
  Cp932Table& table = SharedCp932Table(encoder);
  const std::size_t units = utf16.size() / 2;
  auto unitAt = [&](std::size_t k) -> char32_t {
    const unsigned first = ByteAt(utf16, 2 * k);
    const unsigned second = ByteAt(utf16, 2 * k + 1);
    return bigEndian ? (first << 8 | second) : (second << 8 | first);
  };
  char* at = out;
  for (std::size_t k = 0; k < units; ++k) {
    const char32_t unit = unitAt(k);
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    if (high && k + 1 < units) {
      const char32_t next = unitAt(k + 1);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        at = PutGeta(at, output);  // a pair is one character beyond the basic plane
        ++k;
        continue;
      }
    }
    at = PutCode(at, unit, table, encoder, output);  // a lone surrogate gives 〓 as one
  }
  return static_cast<std::size_t>(at - out);
}

std::string Utf8ToCp932(std::string_view utf8, Cp932Encoder& encoder) {
  std::string out(utf8.size() * 2, '\0');
  out.resize(Utf8ToCp932(utf8, &out[0], encoder));
  return out;
}

}  // namespace kn
