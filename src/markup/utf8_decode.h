// Reading UTF-8 as the Unicode standard defines it: well-formed sequences
// only (no overlong forms, no surrogates, nothing above U+10FFFF), and for
// the rest, how much of it is one ill-formed part. The one UTF-8 decoder of
// the chip and of the programs around it.
#pragma once

#include <cstddef>
#include <string_view>

namespace kn {

// The sequence at a position: its length and code point when well-formed;
// otherwise `length` is the ill-formed part to replace (its longest start
// that could still have become a character, at least 1) and `ok` false.
struct Utf8Sequence {
  std::size_t length = 0;
  char32_t code = 0;
  bool ok = false;
  bool cut = false;  // not ill-formed so far, but the bytes end first
};

// `at` lies inside the bytes.
Utf8Sequence DecodeUtf8At(std::string_view bytes, std::size_t at);

// A well-formed three-byte sequence led by E1-EC or EE-EF (U+1000 to
// U+FFFF but for the surrogates' lead ED and the narrower E0): nearly all
// Japanese text, told by one test. `p` has three bytes at least.
inline bool IsCommonThreeByteForm(const unsigned char* p) {
  const unsigned lead = p[0];
  return ((lead << 16 | unsigned{p[1]} << 8 | p[2]) & 0xF0C0C0) == 0xE08080 && lead != 0xE0 && lead != 0xED;
}

struct Utf8Scan {
  bool wellFormed = true;  // no ill-formed sequence, nothing cut at the end
  bool multibyte = false;  // holds at least one character beyond ASCII
};

// One pass over the bytes; ASCII goes a block at a time.
Utf8Scan ScanUtf8(std::string_view bytes);

// The same for bytes that may go on: how far they are whole well-formed
// characters, and whether what stops the scan can never become one (a
// sequence merely cut by the end of the bytes may still).
struct Utf8Prefix {
  std::size_t end = 0;
  bool illFormed = false;
  bool multibyte = false;
};
Utf8Prefix ScanUtf8Prefix(std::string_view bytes);

// The position of the first byte from 0x80 up at or after `from`, or the
// size.
std::size_t SkipAscii(std::string_view bytes, std::size_t from);

}  // namespace kn
