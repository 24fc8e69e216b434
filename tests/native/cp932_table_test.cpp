// The table of code page 932 forms against the converter it is built from,
// and the UTF-8 decoder's fast forms against its careful reading: over every
// code point of the basic plane.
#include "markup/cp932_table.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "markup/unicode_to_cp932.h"
#include "platform/system_cp932_encoder.h"

namespace kn {
namespace {

std::uint16_t ConverterForm(char16_t unit, Cp932Encoder& encoder) {
  char bytes[2];
  const Cp932Encoder::Result r = encoder.Encode(&unit, 1, bytes);
  if (r.units != 1) return Cp932Table::kNoForm;
  const auto first = static_cast<unsigned char>(bytes[0]);
  return r.bytes == 1 ? static_cast<std::uint16_t>(Cp932Table::kSingleByte | first)
                      : static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(bytes[1]));
}

bool IsSurrogate(char32_t code) { return code >= 0xD800 && code <= 0xDFFF; }

// Where the table and the converter differ, the table gives the single
// byte of a half-width katakana, no form for a surrogate, or the code page's
// own form of another code point with the same glyph (the JIS symbols).
TEST(Cp932Table, IsTheConvertersAnswersButForTheChipsOwnRules) {
  static Cp932Table table;  // large: static storage, as the shared tables are
  SystemCp932Encoder encoder;
  std::vector<char32_t> owner(0x10000);  // the code point the converter gives each double-byte form
  for (char32_t code = 0x80; code <= 0xFFFF; ++code) {
    if (IsSurrogate(code)) continue;  // never given to the converter
    const std::uint16_t form = ConverterForm(static_cast<char16_t>(code), encoder);
    if (form > 0x1FF && owner[form] == 0) owner[form] = code;
  }
  int jisSymbols = 0;
  for (char32_t code = 0x80; code <= 0xFFFF; ++code) {
    const auto unit = static_cast<char16_t>(code);
    const std::uint16_t mine = table.FormOf(unit, encoder);
    SCOPED_TRACE(code);
    if (IsSurrogate(code)) {
      EXPECT_EQ(mine, Cp932Table::kNoForm);
      continue;
    }
    const std::uint16_t converter = ConverterForm(unit, encoder);
    if (mine == converter) continue;
    if (code >= 0xFF61 && code <= 0xFF9F) {
      EXPECT_EQ(mine, Cp932Table::kSingleByte | (code - 0xFF61 + 0xA1));
    } else {
      EXPECT_EQ(converter, Cp932Table::kNoForm);
      ASSERT_GT(mine, 0x1FF);
      EXPECT_NE(owner[mine], char32_t{0}) << "a form the converter gives no code point";
      ++jisSymbols;
    }
  }
  EXPECT_EQ(jisSymbols, 7);
}

// Counts the converter's calls; its own class, so its own shared table.
class CountingEncoder final : public Cp932Encoder {
 public:
  Result Encode(const char16_t* units, std::size_t count, char* out) override {
    ++calls;
    return system_.Encode(units, count, out);
  }
  int calls = 0;

 private:
  SystemCp932Encoder system_;
};

TEST(Cp932Table, AsksEachPageOnceForTheProcess) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "\xE6\x9C\xAC\xE6\x97\xA5\xE3\x81\xAE\xE4\xBC\x9A\xE8\xAD\xB0 ";
  CountingEncoder first;
  const std::string once = Utf8ToCp932(text, first);
  // Five characters from five pages: a question for each code point of
  // theirs (but U+301C, a JIS symbol), not one per character.
  EXPECT_EQ(first.calls, 5 * 256 - 1);
  CountingEncoder second;
  EXPECT_EQ(Utf8ToCp932(text, second), once);
  EXPECT_EQ(second.calls, 0);
}

std::string AsUtf8(char32_t code) {
  std::string bytes;
  if (code < 0x80) {
    bytes += static_cast<char>(code);
  } else if (code < 0x800) {
    bytes += static_cast<char>(0xC0 | code >> 6);
    bytes += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    bytes += static_cast<char>(0xE0 | code >> 12);
    bytes += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    bytes += static_cast<char>(0x80 | (code & 0x3F));
  }
  return bytes;
}

// The UTF-8 reading (fast forms, the careful one for E0 and ED, block
// copies of ASCII) against the UTF-16 one, over the whole basic plane.
TEST(Utf8ToCp932, GivesWhatTheSameTextAsUtf16Gives) {
  std::string utf8;
  std::string utf16;
  for (char32_t code = 1; code <= 0xFFFF; ++code) {
    if (IsSurrogate(code)) continue;
    utf8 += AsUtf8(code);
    utf16 += static_cast<char>(code & 0xFF);
    utf16 += static_cast<char>(code >> 8);
    if (code % 61 == 0) {  // ASCII runs of every length against the blocks
      utf8 += std::string(code % 37, 'a');
      utf16 += std::string(code % 37 * 2, '\0');
      for (std::size_t k = utf16.size() - code % 37 * 2; k < utf16.size(); k += 2) utf16[k] = 'a';
    }
  }
  SystemCp932Encoder encoder;
  GetaOffsets fromUtf8;
  std::string a(utf8.size() * 2, '\0');
  a.resize(Utf8ToCp932(utf8, a.data(), encoder, &fromUtf8));
  GetaOffsets fromUtf16;
  std::string b(utf16.size() * 2, '\0');
  b.resize(Utf16ToCp932(utf16, false, b.data(), encoder, &fromUtf16));
  EXPECT_TRUE(a == b);
  EXPECT_EQ(fromUtf8, fromUtf16);
}

// The one test of the common three-byte form never passes what the careful
// reading refuses, and passes every well-formed sequence from E1 up but ED's.
TEST(Utf8Decode, CommonThreeByteFormAgreesWithTheCarefulReading) {
  for (unsigned lead = 0xE0; lead <= 0xEF; ++lead) {
    for (unsigned second = 0; second <= 0xFF; ++second) {
      for (unsigned third = 0; third <= 0xFF; ++third) {
        const unsigned char bytes[3] = {static_cast<unsigned char>(lead), static_cast<unsigned char>(second),
                                        static_cast<unsigned char>(third)};
        const Utf8Sequence careful =
            DecodeUtf8At(std::string_view(reinterpret_cast<const char*>(bytes), 3), 0);
        const bool expected = careful.ok && lead != 0xE0 && lead != 0xED;
        if (IsCommonThreeByteForm(bytes) != expected) {
          ADD_FAILURE() << std::hex << lead << " " << second << " " << third;
          return;
        }
      }
    }
  }
}

}  // namespace
}  // namespace kn
