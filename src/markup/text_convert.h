// Conversions from text to integer and searches on NUL-terminated texts:
// every text here ends at its first 0 byte or at the end of the view.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kn {

// Strict: the whole text must be one decimal or hexadecimal number
// ("$1F", "x1f", "0x1F"); nullopt when it is not or when it overflows.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// Lenient: leading white space, one optional sign, decimal digits; no digits
// give 0; wraps modulo 2^32.
std::int32_t LeadingInteger(std::string_view text);

constexpr int kNotFound = -1;

// 0-based offset of the first single-byte c, stepping over double-byte
// characters; the text ends at its first 0 byte. kNotFound when absent.
int FindCharMb(std::string_view text, char c);

// 0-based offset of the first occurrence of needle, byte-wise; an empty
// needle is found at 0. kNotFound when absent.
int FindBytes(std::string_view text, std::string_view needle);

}  // namespace kn

namespace kn {

// FindCharMb's offset of ch, or the text's length minus 1 when there is none
// (-1 for an empty text).
int CharIndexOrLast(std::string_view text, char ch);

}  // namespace kn
