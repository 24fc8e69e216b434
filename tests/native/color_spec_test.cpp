// ParseColorSpec: kanji colour names and RRGGBB.
#include "markup/color_spec.h"

#include <gtest/gtest.h>

#include <string>

namespace kn {
namespace {

constexpr ColorRef kUnset = 0x00ABCDEF;

struct Parsed {
  int taken;
  ColorRef color;
};

Parsed Parse(const std::string& text) {
  Parsed p{0, kUnset};
  p.taken = ParseColorSpec(text, p.color);
  return p;
}

// Each name with its value written as RRGGBB, in table order.
struct NameCase {
  const char* reading;
  std::string name;
  const char* rrggbb;
};

const NameCase kNames[] = {
    {"kuro", "\x8D\x95", "000000"},   {"cha", "\x92\x83", "800000"},
    {"midori", "\x97\xCE", "008000"}, {"kon", "\x8D\xAE", "000080"},
    {"murasaki", "\x8E\x87", "800080"}, {"hai", "\x8A\x44", "808080"},
    {"gin", "\x8B\xE2", "C0C0C0"},    {"aka", "\x90\xD4", "FF0000"},
    {"ki", "\x89\xA9", "FFFF00"},     {"ao", "\x90\xC2", "0000FF"},
    {"mizu", "\x90\x85", "00FFFF"},   {"shiro", "\x94\x92", "FFFFFF"},
    {"momo", "\x93\x8D", "FF00FF"},   {"daidai", "\x9E\xF2", "FF8000"},
};

TEST(ColorNames, EveryNameGivesTheColourOfItsHexForm) {
  for (const NameCase& c : kNames) {
    SCOPED_TRACE(c.reading);
    const Parsed byName = Parse(c.name + "|");
    const Parsed byHex = Parse(c.rrggbb);
    EXPECT_EQ(byName.taken, 3);
    EXPECT_EQ(byHex.taken, 7);
    EXPECT_EQ(byName.color, byHex.color);
  }
}

TEST(ParseColorSpec, ValuesAndConsumedLengths) {
  struct Case {
    const char* name;
    std::string text;
    int taken;
    ColorRef color;
  };
  const Case cases[] = {
      {"aka is red in the lowest byte", "\x90\xD4", 3, 255},
      {"daidai", "\x9E\xF2|", 3, 33023},
      {"ao", "\x90\xC2xyz", 3, 16711680},
      {"hex red", "FF0000", 7, 255},
      {"hex mixed case", "Ff0000", 7, 255},
      {"hex blue", "0000FF", 7, 16711680},
      {"only six bytes are read", "12345678", 7, MakeRgb(0x12, 0x34, 0x56)},
      {"a bar in the second pair", "123|", 0, kUnset},
      {"not hexadecimal", "GG0000", 0, kUnset},
      {"kin is no colour name", "\x8B\xE0" "0000", 0, kUnset},
      {"a blank before the name", " \x90\xD4", 0, kUnset},
      {"five digits", "12345", 0, kUnset},
      {"five digits and the bar", "12345|", 0, kUnset},
      {"sign inside a pair", "+10000", 0, kUnset},
      {"blank inside a pair", "1 0000", 0, kUnset},
      {"empty", "", 0, kUnset},
      {"lone lead byte", "\x90", 0, kUnset},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Parsed p = Parse(c.text);
    EXPECT_EQ(p.taken, c.taken);
    EXPECT_EQ(p.color, c.color);
  }
}

}  // namespace
}  // namespace kn
