#include "markup/color_spec.h"

namespace kn {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A pair of hexadecimal digits, or -1. Equivalent to the strict integer
// conversion of "0x" and the pair, without building the text.
int HexPair(std::string_view text, std::size_t at) {
  if (at + 2 > text.size()) return -1;
  const int high = HexDigit(text[at]);
  const int low = HexDigit(text[at + 1]);
  return (high < 0 || low < 0) ? -1 : high * 16 + low;
}

}  // namespace

int ParseColorSpec(std::string_view text, ColorRef& color, int* nameIndex) {
  if (nameIndex) *nameIndex = -1;
  // Every name is two bytes: compared as they are, without measuring each.
  for (const ColorNameEntry* entry = ColorNames; entry->name[0] != '\0'; ++entry) {
    if (text.size() >= 2 && text[0] == entry->name[0] && text[1] == entry->name[1]) {
      color = MakeRgb(entry->red, entry->green, entry->blue);
      if (nameIndex) *nameIndex = static_cast<int>(entry - ColorNames);
      return 3;
    }
  }
  const int red = HexPair(text, 0);
  const int green = HexPair(text, 2);
  const int blue = HexPair(text, 4);
  if (red < 0 || green < 0 || blue < 0) return 0;
  color = MakeRgb(red, green, blue);
  return 7;
}

}  // namespace kn
