// Quoted texts in the settings file, and the UTF-8 check behind them.
#include "quoted_text.h"

#include <gtest/gtest.h>

#include <string>

namespace kn::desk {
namespace {

struct QuoteCase {
  const char* name;
  std::string plain;
  std::string quoted;
};

class DeskQuotedText : public testing::TestWithParam<QuoteCase> {};

TEST_P(DeskQuotedText, QuotesAndReadsBack) {
  const QuoteCase& c = GetParam();
  EXPECT_EQ(QuoteText(c.plain), c.quoted);
  std::string problem;
  const std::optional<std::string> back = UnquoteText(c.quoted, problem);
  ASSERT_TRUE(back.has_value()) << problem;
  EXPECT_EQ(*back, c.plain);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeskQuotedText,
    testing::Values(QuoteCase{"Empty", "", "\"\""},
                    QuoteCase{"Plain", "abc def", "\"abc def\""},
                    QuoteCase{"LineBreaks", "a\r\nb\nc", "\"a\\r\\nb\\nc\""},
                    QuoteCase{"QuoteAndBackslash", "say \"C:\\x\"", "\"say \\\"C:\\\\x\\\"\""},
                    QuoteCase{"Tab", "a\tb", "\"a\\tb\""},
                    QuoteCase{"ControlBytes", std::string("\x00\x01\x1f\x7f", 4), "\"\\x00\\x01\\x1F\\x7F\""},
                    QuoteCase{"Japanese", u8"\u4ed8\u7b8b", u8"\"\u4ed8\u7b8b\""},
                    QuoteCase{"FourByteCharacter", u8"\U0001F600", u8"\"\U0001F600\""}),
    [](const testing::TestParamInfo<QuoteCase>& info) { return std::string(info.param.name); });

TEST(DeskQuotedTextReading, BlanksAroundTheQuotesAndLowerCaseHexAreAccepted) {
  std::string problem;
  EXPECT_EQ(UnquoteText("  \"a\\x0a\"\t", problem), std::optional<std::string>("a\n"));
}

TEST(DeskQuotedTextReading, RejectsWhatQuoteTextNeverWrites) {
  for (const char* bad : {"", "\"", "abc", "\"abc", "abc\"", "\"a\"b\"", "\"a\\\"", "\"\\q\"", "\"\\x4\"",
                          "\"\\xZZ\"", "\"\\x\"", "\"a\" \"b\""}) {
    SCOPED_TRACE(bad);
    std::string problem;
    EXPECT_FALSE(UnquoteText(bad, problem).has_value());
    EXPECT_FALSE(problem.empty());
  }
}

struct Utf8Case {
  const char* name;
  std::string bytes;
  bool valid;
};

class DeskUtf8 : public testing::TestWithParam<Utf8Case> {};

TEST_P(DeskUtf8, IsRecognised) { EXPECT_EQ(IsValidUtf8(GetParam().bytes), GetParam().valid); }

INSTANTIATE_TEST_SUITE_P(
    Cases, DeskUtf8,
    testing::Values(Utf8Case{"Ascii", "plain", true}, Utf8Case{"TwoBytes", "\xC3\xA9", true},
                    Utf8Case{"ThreeBytes", "\xE3\x81\x82", true},
                    Utf8Case{"FourBytes", "\xF0\x9F\x98\x80", true},
                    Utf8Case{"Highest", "\xF4\x8F\xBF\xBF", true},
                    Utf8Case{"AboveHighest", "\xF4\x90\x80\x80", false},
                    Utf8Case{"OverlongTwo", "\xC1\xBF", false},
                    Utf8Case{"OverlongThree", "\xE0\x9F\xBF", false},
                    Utf8Case{"OverlongFour", "\xF0\x8F\xBF\xBF", false},
                    Utf8Case{"Surrogate", "\xED\xA0\x80", false},
                    Utf8Case{"LoneContinuation", "a\x80", false},
                    Utf8Case{"CutShort", "\xE3\x81", false},
                    Utf8Case{"ShiftJis", "\x82\xa0", false},
                    Utf8Case{"BadContinuation", "\xE3\x41\x82", false}),
    [](const testing::TestParamInfo<Utf8Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kn::desk
