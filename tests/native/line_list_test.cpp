// LineList, LineCursor and CountLines: cutting a text into lines and into
// comma-separated items.
#include "markup/line_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace kn {
namespace {

using std::string_literals::operator""s;

std::vector<std::string> Lines(const LineList& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.LineAt(i).Bytes());
  return out;
}

std::vector<std::string> SplitToVector(std::string_view text) {
  LineList list;
  list.SplitLines(text);
  return Lines(list);
}

std::vector<std::string> CursorLines(std::string_view text) {
  std::vector<std::string> out;
  LineCursor cursor(text);
  std::string_view line;
  while (cursor.Next(line)) out.emplace_back(line);
  return out;
}

struct SplitCase {
  const char* name;
  std::string text;
  std::vector<std::string> expected;
};

TEST(SplitLines, EachTerminatorEndsOneLine) {
  const SplitCase cases[] = {
      {"CR LF", "a\r\nb", {"a", "b"}},
      {"LF CR leaves an empty line", "a\n\rb", {"a", "", "b"}},
      {"lone CR and lone LF", "a\rb\nc", {"a", "b", "c"}},
      {"terminator at the end adds nothing", "a\r\n", {"a"}},
      {"only CR LF", "\r\n", {""}},
      {"empty text", "", {}},
      {"no terminator", "abc", {"abc"}},
      {"empty lines between terminators", "a\n\n\r\r\nb", {"a", "", "", "", "b"}},
      {"CR CR LF", "\r\r\n", {"", ""}},
      {"LF LF", "\n\n", {"", ""}},
      {"trail bytes and NUL are kept", "\x83\x7C\0x\ny"s, {"\x83\x7C\0x"s, "y"}},
      {"lead byte as the last byte", "a\n\x83", {"a", "\x83"}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SplitToVector(c.text), c.expected);
    EXPECT_EQ(CursorLines(c.text), c.expected);
    EXPECT_EQ(CountLines(c.text), static_cast<int>(c.expected.size()));
  }
}

TEST(SplitLines, RefillingEmptiesTheListFirst) {
  LineList list;
  list.SplitLines("a\nb\nc");
  list.SplitLines("d");
  EXPECT_EQ(Lines(list), std::vector<std::string>{"d"});
  list.SplitLines("");
  EXPECT_EQ(list.Count(), 0);
  list.SplitCommaList("x,y");
  list.SplitCommaList("  ");
  EXPECT_EQ(list.Count(), 0);
}

TEST(SplitCommaList, ItemsAreCutAtCommasAndBlankRuns) {
  const SplitCase cases[] = {
      {"blanks around", " prog  -x , y ", {"prog", "-x", "y"}},
      {"pair of quotes is one quote", "\"x\"\"y\"", {"x\"y"}},
      {"no closing quote", "\"abc", {"abc"}},
      {"no closing quote after a pair", "\"a\"\"b", {"a\"b"}},
      {"comma between blanks", " , ", {""}},
      {"empty text", "", {}},
      {"only blanks", " \t\r\n\x01 ", {}},
      {"empty item between commas", "a,,b", {"a", "", "b"}},
      {"leading comma", ",a", {"", "a"}},
      {"trailing comma", "a,", {"a"}},
      {"quoted blanks and comma", "\"a b\",c", {"a b", "c"}},
      {"closing quote ends the item", "\"ab\"cd", {"ab", "cd"}},
      {"empty quotes", "\"\"", {""}},
      {"tab separates", "a\tb", {"a", "b"}},
      {"high bytes are never blanks", "\xA0\xFD\xFE\xFF", {"\xA0\xFD\xFE\xFF"}},
      {"double-byte character with a trail byte '|'", "\x83\x7C,b", {"\x83\x7C", "b"}},
      {"trail byte after an open quote is not the close", "\"\x83\x22\"x", {"\x83\x22", "x"}},
      {"lead byte as the last byte", "a \x83", {"a", "\x83"}},
      {"a lead byte takes the byte after it, blank or not", "\x83 b,c", {"\x83 b", "c"}},
      {"lead byte as the last byte in quotes", "\"a\x83", {"a\x83"}},
      {"the text ends at a NUL", "a\0,b"s, {"a"}},
      {"NUL inside quotes ends the item", "\"a\0b\""s, {"a"}},
      {"full-width space is not a blank",
       "a\x81\x40"
       "b",
       {"a\x81\x40"
        "b"}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.name);
    LineList list;
    list.SplitCommaList(c.text);
    EXPECT_EQ(Lines(list), c.expected);
  }
}

TEST(LineList, LineAtAndReplaceLineRefuseIndexesOutsideTheList) {
  LineList list;
  list.SplitLines("a\nb");
  for (int bad : {-1, 2, INT32_MIN, INT32_MAX}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(list.LineAt(bad), std::out_of_range);
    EXPECT_THROW(list.ReplaceLine(bad, SjisString("x")), std::out_of_range);
  }
  list.ReplaceLine(1, SjisString("z"));
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "z"}));
  EXPECT_THROW(LineList().LineAt(0), std::out_of_range);
}

TEST(LineCursor, SkipStopsAtTheEndAndRestStartsAtALine) {
  const std::string text = "a\r\nb\n\rc";
  LineCursor cursor(text);
  EXPECT_EQ(cursor.Skip(0), 0);
  EXPECT_EQ(cursor.Skip(-3), 0);
  EXPECT_EQ(cursor.Skip(2), 2);
  EXPECT_EQ(cursor.Rest(), "\rc");
  EXPECT_EQ(cursor.Skip(100), 2);
  EXPECT_EQ(cursor.Rest(), "");
  std::string_view line = "unchanged";
  EXPECT_FALSE(cursor.Next(line));
  EXPECT_EQ(LineCursor(std::string_view()).Skip(1), 0);
  EXPECT_EQ(CountLines(std::string_view()), 0);
}

// Lines as SplitLines defines them, written out independently.
std::vector<std::string> ReferenceLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t stop = text.find_first_of("\r\n", pos);
    const std::size_t end = stop == std::string::npos ? text.size() : stop;
    lines.push_back(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  return lines;
}

// SplitLines, the cursor, CountLines and skipping then splitting the rest all
// cut every text alike: every text of up to six bytes over an alphabet of
// terminators, letters, a lead byte and NUL, and random long texts.
TEST(LineCursor, AgreesWithSplitLinesOnEveryShortText) {
  const std::string alphabet = "a\r\n\x83\0"s;
  auto check = [](const std::string& text) {
    const std::vector<std::string> expected = ReferenceLines(text);
    const std::string shown = testing::PrintToString(text);
    ASSERT_EQ(SplitToVector(text), expected) << shown;
    ASSERT_EQ(CursorLines(text), expected) << shown;
    ASSERT_EQ(CountLines(text), static_cast<int>(expected.size())) << shown;
    const int count = static_cast<int>(expected.size());
    // Every skip count for short texts; the ends and the middle for long ones.
    std::vector<int> skips = {0, 1, count / 2, count - 1, count, count + 1};
    if (count < 8) {
      skips.clear();
      for (int k = 0; k <= count + 1; ++k) skips.push_back(k);
    }
    for (int k : skips) {
      if (k < 0) continue;
      LineCursor cursor(text);
      const int skipped = cursor.Skip(k);
      ASSERT_EQ(skipped, std::min<int>(k, static_cast<int>(expected.size()))) << shown;
      const std::vector<std::string> tail(expected.begin() + skipped, expected.end());
      ASSERT_EQ(SplitToVector(cursor.Rest()), tail) << shown << " after " << k;
      ASSERT_EQ(CountLines(cursor.Rest()), static_cast<int>(tail.size())) << shown;
    }
  };
  std::string text;
  std::function<void(int)> grow = [&](int depth) {
    check(text);
    if (depth == 0 || testing::Test::HasFatalFailure()) return;
    for (char c : alphabet) {
      text.push_back(c);
      grow(depth - 1);
      text.pop_back();
    }
  };
  grow(6);
  std::mt19937 random(11);
  for (int round = 0; round < 300 && !testing::Test::HasFatalFailure(); ++round) {
    std::string t(random() % 3000, 'a');
    for (char& c : t) c = alphabet[random() % alphabet.size()];
    check(t);
  }
}

TEST(CountLines, CountsAMillionLinesWithoutCopying) {
  std::string text;
  for (int i = 0; i < 1000000; ++i) text += (i % 3 == 0) ? "x\r\n" : (i % 3 == 1 ? "\n" : "\r");
  EXPECT_EQ(CountLines(text), 1000000);
  LineCursor cursor(text);
  EXPECT_EQ(cursor.Skip(999999), 999999);
  EXPECT_EQ(CountLines(cursor.Rest()), 1);
}

}  // namespace
}  // namespace kn
