// ParseInteger, LeadingInteger and the searches on NUL-terminated texts.
#include "markup/text_convert.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

namespace kn {
namespace {

using std::string_literals::operator""s;

struct ParseCase {
  std::string text;
  std::optional<std::int32_t> expected;  // nullopt: the conversion fails
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << testing::PrintToString(c.text); }

class ParseIntegerTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseIntegerTest, ConvertsTheWholeTextOrFails) {
  EXPECT_EQ(ParseInteger(GetParam().text), GetParam().expected);
}

const std::optional<std::int32_t> kFails = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Decimal, ParseIntegerTest,
    testing::Values(ParseCase{"12", 12}, ParseCase{" 12", 12}, ParseCase{"12 ", kFails},
                    ParseCase{"-12", -12}, ParseCase{"+7", 7}, ParseCase{"00", 0},
                    ParseCase{"0", 0}, ParseCase{"-0", 0}, ParseCase{"007", 7},
                    ParseCase{"   -5", -5}, ParseCase{"-", kFails}, ParseCase{"+", kFails},
                    ParseCase{"- 5", kFails}, ParseCase{"--1", kFails}, ParseCase{"+-1", kFails},
                    ParseCase{"1a", kFails}, ParseCase{"1 2", kFails}, ParseCase{"\t5", kFails},
                    ParseCase{"5\t", kFails}, ParseCase{"", kFails}, ParseCase{"   ", kFails},
                    ParseCase{"\x82\x4F", kFails} /* full-width zero */,
                    ParseCase{"2147483647", INT_MAX}, ParseCase{"2147483648", kFails},
                    ParseCase{"2147483650", kFails}, ParseCase{"-2147483648", INT_MIN},
                    ParseCase{"-2147483649", kFails}, ParseCase{"99999999999", kFails},
                    ParseCase{"0000000000002147483647", INT_MAX},
                    ParseCase{"12\0"s, 12} /* the text ends at its NUL */,
                    ParseCase{"\0"
                              "12"s,
                              kFails}));

INSTANTIATE_TEST_SUITE_P(
    Hexadecimal, ParseIntegerTest,
    testing::Values(ParseCase{"$1F", 31}, ParseCase{"x1f", 31}, ParseCase{"X1F", 31},
                    ParseCase{"0x1F", 31}, ParseCase{"0X1f", 31}, ParseCase{" $10", 16},
                    ParseCase{"0x", kFails}, ParseCase{"$", kFails}, ParseCase{"x", kFails},
                    ParseCase{"-$10", kFails}, ParseCase{"+0x10", kFails}, ParseCase{"$1G", kFails},
                    ParseCase{"$ 1", kFails}, ParseCase{"$1 ", kFails}, ParseCase{"0x-1", kFails},
                    ParseCase{"$FFFFFFFF", -1}, ParseCase{"$80000000", INT_MIN},
                    ParseCase{"$7FFFFFFF", INT_MAX}, ParseCase{"$100000000", kFails},
                    ParseCase{"$FFFFFFFF0", kFails}, ParseCase{"$000000001", 1},
                    ParseCase{"0x00000000000000ff", 255}, ParseCase{"0x0", 0},
                    ParseCase{"$$1", kFails}, ParseCase{"0xx1", kFails}));

struct LeadingCase {
  const char* name;
  std::string text;
  std::int32_t expected;
};

TEST(LeadingInteger, TakesTheLeadingNumberAndNeverFails) {
  const LeadingCase cases[] = {
      {"sign and trailing letters", "  -12ab", -12},
      {"letters only", "abc", 0},
      {"sign alone", "+", 0},
      {"tab skipped", "\t7", 7},
      {"all white space skipped", " \r\n\v\f12", 12},
      {"empty", "", 0},
      {"two signs", "--1", 0},
      {"hexadecimal prefix stops at x", "0x1F", 0},
      {"blank after the sign stops", "- 5", 0},
      {"wraps modulo 2^32", "4294967297", 1},
      {"lowest value", "-2147483648", INT_MIN},
      {"one past the highest wraps", "2147483648", INT_MIN},
      {"stops at NUL",
       "12\0"
       "34"s,
       12},
      {"full-width digits are not digits", "\x82\x50", 0},
      {"later digits ignored", "2000abc12", 2000},
  };
  for (const LeadingCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LeadingInteger(c.text), c.expected);
  }
  // A long run of digits wraps without overflow.
  std::uint32_t wrapped = 0;
  for (int i = 0; i < 5000; ++i) wrapped = wrapped * 10u + 9u;
  EXPECT_EQ(LeadingInteger(std::string(5000, '9')), static_cast<std::int32_t>(wrapped));
}

struct FindCase {
  const char* name;
  std::string text;
  char c;
  int expected;
};

TEST(FindCharMb, NeverMatchesTheSecondByteOfACharacter) {
  const FindCase cases[] = {
      {"bar after po", "\x83\x7C|", '|', 2},
      {"backslash after hyou", "\x95\x5C\\", '\\', 2},
      {"only a trail byte", "\x83\x7C", '|', kNotFound},
      {"plain", "abc", 'c', 2},
      {"first of several", "a|b|", '|', 1},
      {"absent", "abc", 'x', kNotFound},
      {"empty", "", '|', kNotFound},
      {"stops at NUL", "a\0|"s, '|', kNotFound},
      {"lead byte as the last byte", "ab\x83", '|', kNotFound},
      {"lead byte before NUL", "\x83\0|"s, '|', kNotFound},
      {"lead byte's own value never matches", "\x83\x40", '\x83', kNotFound},
      {"high single byte matches", "a\xA0", '\xA0', 1},
  };
  for (const FindCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindCharMb(c.text, c.c), c.expected);
  }
}

TEST(CharIndexOrLast, FallsBackToTheLastByte) {
  const FindCase cases[] = {
      {"found", "ab|c", '|', 2},
      {"not found", "abc", '|', 2},
      {"empty", "", '|', -1},
      {"trail byte only", "\x83\x7C", '|', 1},
      {"length ends at NUL", "ab\0|"s, '|', 1},
  };
  for (const FindCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CharIndexOrLast(c.text, c.c), c.expected);
  }
}

TEST(FindBytes, IsByteWiseAndFindsTheEmptyNeedleAtZero) {
  const struct {
    const char* name;
    std::string text;
    std::string needle;
    int expected;
  } cases[] = {
      {"empty needle in empty text", "", "", 0},
      {"empty needle", "abc", "", 0},
      {"needle in empty text", "", "a", kNotFound},
      {"first occurrence", "abcabc", "ca", 2},
      {"case-sensitive", "ABC", "b", kNotFound},
      {"matches a trail byte", "\x83\x7C", "|", 1},
      {"needle longer than text", "ab", "abc", kNotFound},
      {"the text ends at its NUL", "ab\0cd"s, "cd", kNotFound},
      {"the needle ends at its NUL", "abc", "c\0x"s, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindBytes(c.text, c.needle), c.expected);
  }
}

}  // namespace
}  // namespace kn
