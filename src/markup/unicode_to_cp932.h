// The text toolkit's conversion of Unicode text (UTF-8 or UTF-16) to code
// page 932, as the chip shows it: ASCII and half-width katakana as their
// single bytes, the code points that JIS-based converters give for seven
// symbols as the code page's own, everything else as the platform's
// converter answers (asked once for the process, `Cp932Table`), and 〓
// (81 AC) for each character the code page cannot hold.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "markup/utf8_decode.h"
#include "system/cp932_encoder.h"

namespace kn {

// 〓: what a character without a code page 932 form is shown as.
constexpr std::string_view kGetaMark = "\x81\xAC";

// Where the conversion wrote 〓 for a character the code page cannot hold
// or for bytes that are no character (byte offsets into the output).
using GetaOffsets = std::vector<std::size_t>;

// Each converts into `out` and returns the bytes written. `out` has room
// for twice the input; it may be the input's own memory when that input is
// UTF-16 or well-formed UTF-8, whose code page 932 form is never longer.
//
// UTF-8: each ill-formed sequence (its longest start that could still have
// become a character) gives one 〓.
std::size_t Utf8ToCp932(std::string_view utf8, char* out, Cp932Encoder& encoder, GetaOffsets* getas = nullptr);
// UTF-16 of either byte order, without a byte-order mark: an odd last byte
// is dropped, a surrogate pair is one character (〓, beyond the basic plane
// where code page 932 has none) and an unpaired surrogate gives 〓.
std::size_t Utf16ToCp932(std::string_view utf16, bool bigEndian, char* out, Cp932Encoder& encoder,
                         GetaOffsets* getas = nullptr);

// The same into a new string.
std::string Utf8ToCp932(std::string_view utf8, Cp932Encoder& encoder);

}  // namespace kn
