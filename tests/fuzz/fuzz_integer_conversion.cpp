// Arbitrary bytes through the two text-to-integer conversions, each checked
// against a reference written another way: the strict one as a grammar whose
// range test compares the significant digits as text, the lenient one with
// 64-bit arithmetic reduced modulo 2^32. A strict result must also print back
// to the digits it was read from.
//
// With five bytes or more, the first four are also a value (little-endian)
// that byte 4 writes out in one of the forms the strict conversion reads
// (leading spaces, sign, base prefix, leading zeros); it must come back
// unchanged, and must be refused with a trailing blank. Byte 5 adds multiples
// of 2^32 to the decimal digits, which only the lenient conversion accepts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "markup/text_convert.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

constexpr std::string_view kDecimalDigits = "0123456789";
constexpr std::string_view kHexDigits = "0123456789abcdefABCDEF";

struct NumberText {
  bool hex = false;
  bool negative = false;
  std::string_view significant;  // digits without leading zeros; empty for 0
};

// Spaces, then [+-]decimal, ($|x|X|0x|0X)hex or decimal, up to the first NUL.
std::optional<NumberText> ReadNumberText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return std::nullopt;
  std::string_view rest = text.substr(start);
  NumberText number;
  if (rest[0] == '-' || rest[0] == '+') {
    number.negative = rest[0] == '-';
    rest.remove_prefix(1);
  } else if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X') {
    number.hex = true;
    rest.remove_prefix(1);
  } else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    number.hex = true;
    rest.remove_prefix(2);
  }
  const std::string_view allowed = number.hex ? kHexDigits : kDecimalDigits;
  if (rest.empty() || rest.find_first_not_of(allowed) != std::string_view::npos) {
    return std::nullopt;
  }
  const std::size_t first = rest.find_first_not_of('0');
  number.significant = first == std::string_view::npos ? std::string_view() : rest.substr(first);
  return number;
}

std::int32_t AsSigned(std::uint32_t pattern) { return static_cast<std::int32_t>(pattern); }

std::optional<std::int32_t> ReferenceParse(std::string_view text) {
  const std::optional<NumberText> number = ReadNumberText(text);
  if (!number) return std::nullopt;
  const std::string_view digits = number->significant;
  if (number->hex) {
    if (digits.size() > 8) return std::nullopt;
    return AsSigned(static_cast<std::uint32_t>(std::stoul(std::string(digits.empty() ? "0" : digits), nullptr, 16)));
  }
  const std::string_view limit = number->negative ? "2147483648" : "2147483647";
  if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit)) {
    return std::nullopt;
  }
  const long long magnitude = digits.empty() ? 0 : std::stoll(std::string(digits));
  return static_cast<std::int32_t>(number->negative ? -magnitude : magnitude);
}

std::string ToUpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

// The value printed in the text's own base is its significant digits.
void CheckPrintsBack(const NumberText& number, std::int32_t value) {
  char printed[16];
  if (number.hex) {
    std::snprintf(printed, sizeof printed, "%X", static_cast<std::uint32_t>(value));
    Require(printed == (number.significant.empty() ? "0" : ToUpperAscii(number.significant)));
    return;
  }
  std::snprintf(printed, sizeof printed, "%ld", static_cast<long>(value));
  const std::string sign = number.negative && !number.significant.empty() ? "-" : "";
  Require(printed == sign + std::string(number.significant.empty() ? "0" : number.significant));
}

bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::int32_t ReferenceLeading(std::string_view text) {
  constexpr std::uint64_t kModulus = std::uint64_t{1} << 32;
  std::size_t i = 0;
  while (i < text.size() && IsWhiteSpace(text[i])) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  std::uint64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = (value * 10 + static_cast<std::uint64_t>(text[i] - '0')) % kModulus;
  }
  if (negative) value = (kModulus - value) % kModulus;
  return AsSigned(static_cast<std::uint32_t>(value));
}

void CheckArbitraryText(std::string_view text) {
  const std::optional<std::int32_t> parsed = kn::ParseInteger(text);
  Require(parsed == ReferenceParse(text));
  const std::int32_t leading = kn::LeadingInteger(text);
  Require(leading == ReferenceLeading(text));
  if (!parsed) return;
  const NumberText number = *ReadNumberText(text);
  CheckPrintsBack(number, *parsed);
  // Both conversions read a decimal number alike.
  if (!number.hex) Require(leading == *parsed);
}

// The value written out in the form that `style` picks: bits 0-1 leading
// spaces, bits 2-4 leading zeros, bit 5 hexadecimal, bit 6 lower-case digits
// or a plus sign; the hexadecimal prefix is picked from bits 6-7 and bit 0.
std::string WriteValue(std::int32_t value, std::uint8_t style) {
  constexpr const char* kHexPrefixes[] = {"$", "x", "X", "0x", "0X"};
  const std::string spaces(style & 3u, ' ');
  const std::string zeros((style >> 2) & 7u, '0');
  const bool hex = (style & 0x20u) != 0;
  char digits[16];
  if (hex) {
    std::snprintf(digits, sizeof digits, (style & 0x40u) ? "%x" : "%X", static_cast<std::uint32_t>(value));
    return spaces + kHexPrefixes[(style >> 6) + (style & 1u)] + zeros + digits;
  }
  std::snprintf(digits, sizeof digits, "%lu",
                static_cast<unsigned long>(value < 0 ? -static_cast<std::int64_t>(value) : value));
  const std::string sign = value < 0 ? "-" : (style & 0x40u) ? "+" : "";
  return spaces + sign + zeros + digits;
}

void CheckWrittenValue(std::int32_t value, std::uint8_t style, std::uint8_t wraps) {
  const std::string written = WriteValue(value, style);
  Require(kn::ParseInteger(written) == value);
  Require(!kn::ParseInteger(written + ' ').has_value());
  Require(kn::LeadingInteger(written + " 9") == ((style & 0x20u) ? 0 : value));

  // The same 32-bit pattern plus a multiple of 2^32, as decimal digits.
  const std::uint64_t wide = static_cast<std::uint32_t>(value) + (std::uint64_t{wraps} << 32);
  const std::string digits = std::to_string(wide);
  Require(kn::LeadingInteger(digits) == value);
  const std::optional<std::int32_t> parsed = kn::ParseInteger(digits);
  Require(parsed.has_value() == (wide <= 2147483647u));
  Require(!parsed || *parsed == value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckArbitraryText(std::string_view(reinterpret_cast<const char*>(data), size));
  if (size >= 5) {
    const std::uint32_t pattern = data[0] | (data[1] << 8) | (data[2] << 16) |
                                  (static_cast<std::uint32_t>(data[3]) << 24);
    CheckWrittenValue(AsSigned(pattern), data[4], size >= 6 ? data[5] : 0);
  }
  return 0;
}
