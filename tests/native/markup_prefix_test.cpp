// InterpretLineMarkup: the format prefix, its items and the visible text.
#include "markup/line_markup.h"
#include "markup/line_format.h"
#include "markup/civil_date.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

namespace kn {
namespace {

const std::string kPo = "\x83\x7C";    // ポ: its second byte is '|'
const std::string kO = "\x83\x49";     // オ: its second byte is 'I'
const std::string kAka = "\x90\xD4";   // 赤
const ColorRef kEntryColor = MakeRgb(1, 2, 3);
const ColorRef kRed = MakeRgb(255, 0, 0);

struct Outcome {
  int result;
  std::string visible;
  std::int32_t alignment;
  ColorRef color;
  LogFont font;
};

LogFont BaseFont(std::int32_t height) {
  LogFont font{};
  font.lfHeight = height;
  font.lfWidth = 7;
  font.lfWeight = 400;
  font.lfCharSet = 1;
  font.lfQuality = 3;
  std::memcpy(font.lfFaceName, "Base", 5);
  return font;
}

Outcome Interpret(const std::string& line, std::int32_t height = -12) {
  const FixedClock clock(MakeLocalTime(2000, 1, 5, 9, 5, 3));
  Outcome o{0, {}, kAlignLeft, kEntryColor, BaseFont(height)};
  SjisString visible;
  o.result = InterpretLineMarkup(SjisString(line), visible, o.alignment, o.color, o.font, clock);
  o.visible = visible.Bytes();
  return o;
}

struct TextCase {
  const char* name;
  std::string line;
  int result;
  std::string visible;
  std::int32_t alignment;
};

const TextCase kTextCases[] = {
    {"left", "#|abc", 1, "abc", kAlignLeft},
    {"centred", "$|abc", 1, "abc", kAlignCenter},
    {"right", "%|abc", 1, "abc", kAlignRight},
    {"two bytes are too short", "#|", 0, " ", kAlignLeft},
    {"no bar", "#ab", 0, " ", kAlignLeft},
    {"empty line", "", 0, " ", kAlignLeft},
    {"blanks only", " \t ", 0, " ", kAlignLeft},
    {"other lead", "a#|x", 0, " ", kAlignLeft},
    {"no prefix on a centred-looking line keeps alignment", "x$|abc", 0, " ", kAlignLeft},
    {"empty content is one blank", "#b|", 1, " ", kAlignLeft},
    {"blanks around stay", "  #u|text  ", 1, "  text  ", kAlignLeft},
    {"blanks before a centred lead stay", "\t $|x", 1, "\t x", kAlignCenter},
    {"only the first bar closes", "#|a|b", 1, "a|b", kAlignLeft},
    {"second lead character is content", "$$|x", 1, "x", kAlignCenter},
    {"trail byte of po closes the prefix", "#" + kPo + "|x", 1, "|x", kAlignLeft},
    {"po alone as closing bar", "%a" + kPo + "bc", 1, "bc", kAlignRight},
    {"lone lead byte ends the content", "#|ab\x83", 1, "ab\x83", kAlignLeft},
    {"lone lead byte without bar", "#a\x83", 0, " ", kAlignLeft},
    {"right lead with percent content", "%|50%", 1, "50%", kAlignRight},
};

TEST(PrefixText, ResultVisibleTextAndAlignment) {
  for (const TextCase& c : kTextCases) {
    SCOPED_TRACE(c.name);
    const Outcome o = Interpret(c.line);
    EXPECT_EQ(o.result, c.result);
    EXPECT_EQ(o.visible, c.visible);
    EXPECT_EQ(o.alignment, c.alignment);
    if (c.result == 0) {
      const LogFont base = BaseFont(-12);
      EXPECT_EQ(std::memcmp(&o.font, &base, sizeof base), 0) << "font changed without a prefix";
      EXPECT_EQ(o.color, kEntryColor);
    }
  }
}

struct FlagCase {
  std::string line;
  bool bold, italic, strikeOut, underline;
};

TEST(PrefixFlags, EachLetterSetsOneFlagAnywhereInThePrefix) {
  const FlagCase cases[] = {
      {"#bisu|x", true, true, true, true},
      {"#BIsU|x", true, true, true, true},
      {"#b|x", true, false, false, false},
      {"#u|x", false, false, false, true},
      {"#|bisu", false, false, false, false},       // content, not prefix
      {"#" + kO + "|x", false, true, false, false},  // オ holds an I
      {"#cBBBBBB|x", false, false, false, false},   // the colour's B's are gone
      {"#cBB|x", true, false, false, false},        // a failed colour stays
      {"#FACE=\"Bius\"|x", false, false, false, false},
      {"#FACE=\"Arial|x", false, true, false, false},  // unclosed: ARIAL's I counts
  };
  for (const FlagCase& c : cases) {
    SCOPED_TRACE(c.line);
    const Outcome o = Interpret(c.line);
    EXPECT_EQ(o.font.lfWeight, c.bold ? kBoldWeight : 400);
    EXPECT_EQ(o.font.lfItalic, c.italic ? 1 : 0);
    EXPECT_EQ(o.font.lfStrikeOut, c.strikeOut ? 1 : 0);
    EXPECT_EQ(o.font.lfUnderline, c.underline ? 1 : 0);
  }
}

TEST(PrefixSize, SignAndOneDigitChangeTheMagnitude) {
  struct Case {
    std::int32_t base;
    const char* line;
    std::int32_t height;
  };
  const Case cases[] = {
      {-12, "#+2|x", -16},   {-12, "#-2|x", -8},  {-12, "#+|x", -12},
      {-12, "#+2-3|x", -16}, {12, "#+2|x", 16},   {12, "#-2|x", 8},
      {-12, "#+12|x", -14},  {-12, "#+a-2|x", -12},  // no '-' after a failed '+'
      {2, "#-3|x", -4},      {0, "#+1|x", 2},     {-12, "#- 2|x", -12},
      {-12, "#-9|x", 6},     // shrinks through zero
      {INT32_MAX, "#+9|x", INT32_MAX}, {INT32_MIN, "#+9|x", INT32_MIN},
      {INT32_MIN + 1, "#-9|x", INT32_MIN + 19},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.base) + " " + c.line);
    EXPECT_EQ(Interpret(c.line, c.base).font.lfHeight, c.height);
  }
}

TEST(PrefixColor, FirstCOfThePrefixDecides) {
  struct Case {
    std::string line;
    ColorRef color;
    bool bold;
  };
  const Case cases[] = {
      {"#cFF0000b|x", kRed, true},
      {"#c" + kAka + "|x", kRed, false},
      {"#Cff0000|x", kRed, false},
      {"#FACE=\"Arial\"cFF0000|x", kEntryColor, false},  // the C of FACE is first
      {"#c123|x", kEntryColor, false},
      {"#cGG0000|x", kEntryColor, false},
      {"#c " + kAka + "|x", kEntryColor, false},
      {"#|cFF0000", kEntryColor, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const Outcome o = Interpret(c.line);
    EXPECT_EQ(o.color, c.color);
    EXPECT_EQ(o.font.lfWeight, c.bold ? kBoldWeight : 400);
    EXPECT_EQ(o.visible, c.line.substr(c.line.find('|') + 1));
  }
}

TEST(PrefixFace, NameAndCharacterSet) {
  struct Case {
    const char* line;
    const char* face;
    std::uint8_t charset;
  };
  const Case cases[] = {
      {"#FACE=\"Arial\"|x", "ARIAL", kShiftJisCharset},
      {"#face=\"Arial\"|x", "ARIAL", kShiftJisCharset},
      {"#FACEA=\"Arial\"|x", "ARIAL", kAnsiCharset},
      {"#FACE=\"Mincho\"FACEA=\"Arial\"|x", "ARIAL", kAnsiCharset},
      {"#FACEA=\"Arial\"FACE=\"Mincho\"|x", "ARIAL", kAnsiCharset},
      {"#FACE=\"\"|x", "", kShiftJisCharset},
      {"#FACE=\"Arial|x", "Base", 1},
      {"#FACE=Arial|x", "Base", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const Outcome o = Interpret(c.line);
    EXPECT_STREQ(o.font.lfFaceName, c.face);
    EXPECT_EQ(o.font.lfCharSet, c.charset);
    EXPECT_EQ(o.font.lfWidth, 7);
    EXPECT_EQ(o.font.lfQuality, 3);
  }
}

TEST(PrefixFace, LongNamesAreCutToFitWithTheirTerminator) {
  for (std::size_t length : {30u, 31u, 32u, 40u, 200u}) {
    SCOPED_TRACE(length);
    const std::string name(length, 'N');
    const FixedClock clock(MakeLocalTime(2000, 1, 5));
    LogFont font{};
    std::memset(font.lfFaceName, 'Z', sizeof font.lfFaceName);  // no terminator before
    std::int32_t alignment = 0;
    ColorRef color = 0;
    SjisString visible;
    ASSERT_EQ(InterpretLineMarkup(SjisString("#FACE=\"" + name + "\"b|x"), visible, alignment,
                                  color, font, clock),
              1);
    const std::size_t kept = std::min<std::size_t>(length, 31);
    EXPECT_EQ(std::string(font.lfFaceName, kept), name.substr(0, kept));
    for (std::size_t k = kept; k < sizeof font.lfFaceName; ++k) {
      EXPECT_EQ(font.lfFaceName[k], '\0') << "byte " << k;
    }
    EXPECT_EQ(font.lfWeight, kBoldWeight);
    EXPECT_EQ(visible, SjisString("x"));
  }
}

// Every byte value at the end of lines that stop right where a search or a
// step reads its next byte: nothing may throw, and a prefixed line always
// shows something.
TEST(PrefixRobustness, AnyLastByteIsHandled) {
  const std::string stems[] = {"#",       "#|",         "#c",          "#cF",         "#+",
                               "#FACE=\"", "#|%",        "#|%!",        "#|%!2000123", "#|%!20001231",
                               "#|%DATE",  "#|%TIMEHH",  "#|<",         "#|%!20001231%<!",
                               "#" + kPo,  "#|%!20001231+12"};
  for (const std::string& stem : stems) {
    for (int b = 1; b < 256; ++b) {
      const std::string line = stem + static_cast<char>(b);
      SCOPED_TRACE(line);
      Outcome o{};
      ASSERT_NO_THROW(o = Interpret(line));
      EXPECT_FALSE(o.visible.empty());
    }
  }
}

}  // namespace
}  // namespace kn
