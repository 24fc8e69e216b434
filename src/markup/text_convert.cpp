#include "markup/text_convert.h"

#include "markup/sjis_string.h"

namespace kn {
namespace {

// These operations read NUL-terminated texts: a view ends at its first 0.
std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::int32_t> ParseDecimal(std::string_view digits, bool negative) {
  if (digits.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    if (value > 214748364) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParseHex(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    const int v = HexValue(c);
    if (v < 0) return std::nullopt;
    if (value > 0x0FFFFFFFu) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(v);
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  text = UpToNul(text);
  if (text.empty()) return std::nullopt;
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::string_view rest = text.substr(i);
  if (rest.empty()) return std::nullopt;
  if (rest[0] == '-' || rest[0] == '+') return ParseDecimal(rest.substr(1), rest[0] == '-');
  if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X') return ParseHex(rest.substr(1));
  if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    return ParseHex(rest.substr(2));
  }
  return ParseDecimal(rest, false);
}

std::int32_t LeadingInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= 0x09 && text[i] <= 0x0D))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

int FindCharMb(std::string_view text, char c) {
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n;) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b == 0) return kNotFound;
    if (IsLeadValue(b)) {
      if (i + 1 >= n || text[i + 1] == 0) return kNotFound;
      i += 2;
      continue;
    }
    if (text[i] == c) return static_cast<int>(i);
    ++i;
  }
  return kNotFound;
}

int FindBytes(std::string_view text, std::string_view needle) {
  const std::size_t at = UpToNul(text).find(UpToNul(needle));
  return at == std::string_view::npos ? kNotFound : static_cast<int>(at);
}

}  // namespace kn

namespace kn {

int CharIndexOrLast(std::string_view text, char ch) {
  const int at = FindCharMb(text, ch);
  return at != kNotFound ? at : static_cast<int>(UpToNul(text).size()) - 1;
}

}  // namespace kn
