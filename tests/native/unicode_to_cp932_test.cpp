// Unicode to code page 932 through the system's converter (iconv natively,
// Windows' own tables in the mingw build): the fast paths, the seven JIS
// symbols, 〓 for what the code page cannot hold and for broken input.
#include "markup/unicode_to_cp932.h"

#include <string>

#include <gtest/gtest.h>

#include "platform/system_cp932_encoder.h"

namespace kn {
namespace {

const std::string kGeta(kGetaMark);

struct ConversionCase {
  const char* name;
  std::string input;
  std::string expected;
  GetaOffsets getas;  // where 〓 stands for something the code page lacks
};

std::string FromUtf8(const std::string& input, GetaOffsets* getas) {
  SystemCp932Encoder encoder;
  std::string out(input.size() * 2, '#');
  out.resize(Utf8ToCp932(input, &out[0], encoder, getas));
  return out;
}

TEST(Utf8ToCp932, ConvertsEachCase) {
  const ConversionCase cases[] = {
      {"ascii", "plain text ;%\x1A", "plain text ;%\x1A", {}},
      {"kana and kanji", "お知らせ: 締切", "\x82\xa8\x92\x6d\x82\xe7\x82\xb9: \x92\xf7\x90\xd8", {}},
      {"wave dash U+301C", "\xE3\x80\x9C", "\x81\x60", {}},
      {"fullwidth tilde U+FF5E", "\xEF\xBD\x9E", "\x81\x60", {}},
      {"double vertical line U+2016", "\xE2\x80\x96", "\x81\x61", {}},
      {"minus sign U+2212", "\xE2\x88\x92", "\x81\x7C", {}},
      {"em dash U+2014", "\xE2\x80\x94", "\x81\x5C", {}},
      {"cent U+00A2, pound U+00A3, not U+00AC", "\xC2\xA2\xC2\xA3\xC2\xAC", "\x81\x91\x81\x92\x81\xCA", {}},
      {"half-width katakana", "\xEF\xBD\xA1\xEF\xBD\xB1\xEF\xBE\x9F", "\xA1\xB1\xDF", {}},
      {"NEC special U+2460", "\xE2\x91\xA0", "\x87\x40", {}},
      {"geta mark itself is no replacement", "\xE3\x80\x93", kGeta, {}},
      {"yen sign: no best fit", "a\xC2\xA5" "b", "a" + kGeta + "b", {1}},
      {"overline: no best fit", "\xE2\x80\xBE", kGeta, {0}},
      {"euro sign", "\xE2\x82\xAC", kGeta, {0}},
      {"beyond the basic plane: one each", "\xF0\x9F\x98\x80\xF0\x9F\x98\x80", kGeta + kGeta, {0, 2}},
      {"lone continuation byte", "a\x80" "b", "a" + kGeta + "b", {1}},
      {"byte never in UTF-8", "\xFF", kGeta, {0}},
      {"overlong pair", "\xC0\x80", kGeta + kGeta, {0, 2}},
      {"overlong triple", "\xE0\x80\xAF", kGeta + kGeta + kGeta, {0, 2, 4}},
      {"encoded surrogate", "\xED\xA0\x80", kGeta + kGeta + kGeta, {0, 2, 4}},
      {"above U+10FFFF", "\xF4\x90\x80\x80", kGeta + kGeta + kGeta + kGeta, {0, 2, 4, 6}},
      {"cut before its end", "\xE3\x81" "A", kGeta + "A", {0}},
      {"cut at the end", "A\xF0\x9F\x98", "A" + kGeta, {1}},
      {"a replacement between kanji", "\xE7\xB7\xA0\xE2\x82\xAC\xE5\x88\x87", "\x92\xf7" + kGeta + "\x90\xd8", {2}},
  };
  for (const ConversionCase& c : cases) {
    SCOPED_TRACE(c.name);
    GetaOffsets getas;
    EXPECT_EQ(FromUtf8(c.input, &getas), c.expected);
    EXPECT_EQ(getas, c.getas);
  }
}

// Runs longer than the converter is given at once, in place as the board
// loader converts, give what a fresh buffer gets.
TEST(Utf8ToCp932, InPlaceEqualsIntoAFreshBuffer) {
  std::string text;
  for (int i = 0; i < 700; ++i) text += i % 7 == 0 ? "ab\xEF\xBD\xB1" : (i % 5 == 0 ? "\xE2\x82\xAC" : "\xE7\xB7\xA0");
  const std::string fresh = FromUtf8(text, nullptr);
  SystemCp932Encoder encoder;
  std::string inPlace = text;
  inPlace.resize(Utf8ToCp932(inPlace, &inPlace[0], encoder));
  EXPECT_EQ(inPlace, fresh);
  // 100 "abｱ", 120 euro signs as 〓 and 480 kanji.
  EXPECT_EQ(fresh.size(), 100u * 3 + 120u * 2 + 480u * 2);
}

TEST(Utf16ToCp932, ConvertsBothByteOrders) {
  const struct {
    const char* name;
    std::string littleEndian;  // the big-endian input is the same with each pair swapped
    std::string expected;
    GetaOffsets getas;
  } cases[] = {
      {"ascii and kana", std::string("A\0\x42\x30", 4), "A\x82\xa0", {}},
      {"katakana and wave dash", std::string("\x71\xFF\x1C\x30", 4), "\xB1\x81\x60", {}},
      {"surrogate pair is one character", std::string("\x3D\xD8\x00\xDE" "A\0", 6), kGeta + "A", {0}},
      {"lone high surrogate", std::string("\x00\xD8" "A\0", 4), kGeta + "A", {0}},
      {"lone low surrogate", std::string("\x00\xDC", 2), kGeta, {0}},
      {"high surrogate at the end", std::string("A\0\x00\xD8", 4), "A" + kGeta, {1}},
      {"odd last byte dropped", std::string("A\0B", 3), "A", {}},
      {"NUL stays", std::string("\0\0", 2), std::string("\0", 1), {}},
  };
  SystemCp932Encoder encoder;
  for (const auto& c : cases) {
    for (const bool bigEndian : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (bigEndian ? " (big-endian)" : " (little-endian)"));
      std::string input = c.littleEndian;
      if (bigEndian) {
        for (std::size_t i = 0; i + 1 < input.size(); i += 2) std::swap(input[i], input[i + 1]);
      }
      GetaOffsets getas;
      std::string out(input.size() * 2, '#');
      out.resize(Utf16ToCp932(input, bigEndian, &out[0], encoder, &getas));
      EXPECT_EQ(out, c.expected);
      EXPECT_EQ(getas, c.getas);
    }
  }
}

TEST(ScanUtf8, TellsWellFormedAndMultibyte) {
  const struct {
    const char* name;
    std::string bytes;
    bool wellFormed;
    bool multibyte;
  } cases[] = {
      {"empty", "", true, false},
      {"ascii longer than a word", "0123456789abcdefghij", true, false},
      {"kana after a long ascii run", "0123456789abcdef\xE3\x81\x82", true, true},
      {"Shift-JIS kana", "\x82\xa0", false, false},
      {"Shift-JIS half-width katakana pair", "\xC2\xB1", true, true},
      {"Shift-JIS lone half-width katakana", "\xB1" "a", false, false},
      {"cut at the end", "abc\xE3\x81", false, true},
      {"surrogate", "\xED\xA0\x80", false, false},
      {"four bytes", "\xF0\x9F\x98\x80", true, true},
      {"above U+10FFFF", "\xF4\x90\x80\x80", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Utf8Scan scan = ScanUtf8(c.bytes);
    EXPECT_EQ(scan.wellFormed, c.wellFormed);
    if (c.wellFormed) EXPECT_EQ(scan.multibyte, c.multibyte);
  }
}

}  // namespace
}  // namespace kn
