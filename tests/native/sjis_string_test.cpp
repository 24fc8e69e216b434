// SjisString: 1-based positions, clipping, and the operations that step over
// double-byte characters against those that work byte by byte.
#include "markup/sjis_string.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>

namespace kn {
namespace {

using std::string_literals::operator""s;

// Double-byte characters used below (code page 932):
constexpr const char* kPo = "\x83\x7C";         // ポ, trail byte '|'
constexpr const char* kTsu = "\x83\x63";        // ツ, trail byte 'c'
constexpr const char* kHyou = "\x95\x5C";       // 表, trail byte '\'
constexpr const char* kWideSpace = "\x81\x40";  // full-width space

SjisString S(const std::string& bytes) { return SjisString(std::string_view(bytes)); }

// Calls check on every text of up to `depth` bytes over the alphabet, then on
// `rounds` random texts shorter than `longest` bytes (seeded: repeatable).
void ForEachText(const std::string& alphabet, int depth, int rounds, unsigned longest, unsigned seed,
                 const std::function<void(const std::string&)>& check) {
  std::string s;
  std::function<void(int)> grow = [&](int left) {
    check(s);
    if (left == 0) return;
    for (char c : alphabet) {
      s.push_back(c);
      grow(left - 1);
      s.pop_back();
    }
  };
  grow(depth);
  std::mt19937 random(seed);
  for (int round = 0; round < rounds; ++round) {
    std::string t(random() % longest, ' ');
    for (char& c : t) c = alphabet[random() % alphabet.size()];
    check(t);
  }
}

TEST(SjisString, ConstructionFromCStringStopsAtNulButViewsKeepEveryByte) {
  EXPECT_EQ(SjisString("ab\0cd").Length(), 2);
  EXPECT_EQ(SjisString(static_cast<const char*>(nullptr)).Length(), 0);
  EXPECT_EQ(S("ab\0cd"s).Length(), 5);
  EXPECT_EQ(SjisString(), SjisString(""));
  EXPECT_TRUE(SjisString().IsEmpty());
}

TEST(SjisString, ByteAtIsOneBasedAndRefusesPositionsOutsideTheText) {
  const SjisString s = S("a\xFF"s);
  EXPECT_EQ(s.ByteAt(1), 'a');
  EXPECT_EQ(s.ByteAt(2), 0xFF);  // unsigned, never sign-extended
  for (int bad : {0, -1, 3, INT_MIN, INT_MAX}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(s.ByteAt(bad), std::out_of_range);
  }
  EXPECT_THROW(SjisString().ByteAt(1), std::out_of_range);
}

struct LocateCase {
  const char* name;
  std::string hay;
  std::string needle;
  int expected;
};

TEST(SjisString, LocateIsByteWiseAndCaseSensitive) {
  const LocateCase cases[] = {
      {"first occurrence", "abcabc", "bc", 2},
      {"at the start", "abc", "a", 1},
      {"at the very end", "abc", "c", 3},
      {"needle longer than text", "ab", "abc", 0},
      {"absent", "abc", "d", 0},
      {"case-sensitive", "ABC", "b", 0},
      {"empty needle", "abc", "", 0},
      {"empty text", "", "a", 0},
      {"both empty", "", "", 0},
      {"matches a trail byte", kPo + "|"s, "|", 2},
      {"needle holding a NUL", "a\0b\0c"s, "b\0c"s, 3},
  };
  for (const LocateCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(S(c.hay).Locate(c.needle), c.expected);
  }
}

struct SliceCase {
  int i;
  int n;
  std::string expected;
};

TEST(SjisString, SliceClipsPositionAndCount) {
  const SliceCase cases[] = {
      {0, 2, "ab"},  {3, 5, "c"},      {4, 1, ""},         {1, -1, ""},
      {1, 0, ""},    {-7, 1, "a"},     {INT_MIN, 2, "ab"}, {2, INT_MAX, "bc"},
      {1, 3, "abc"}, {INT_MAX, 1, ""}, {2, INT_MIN, ""},
  };
  const SjisString abc("abc");
  for (const SliceCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "Slice(" << c.i << ", " << c.n << ")");
    EXPECT_EQ(abc.Slice(c.i, c.n), S(c.expected));
  }
  EXPECT_EQ(SjisString().Slice(1, 1), SjisString());
  EXPECT_EQ(abc, SjisString("abc")) << "Slice must not change its source";
}

TEST(SjisString, EraseIgnoresOutOfRangeAndClipsTheCount) {
  const SliceCase cases[] = {
      {0, 1, "abc"},      {-1, 2, "abc"},      {4, 1, "abc"},       {2, 0, "abc"},
      {2, -3, "abc"},     {2, 1, "ac"},        {2, 99, "a"},        {1, 3, ""},
      {3, INT_MAX, "ab"}, {INT_MIN, 1, "abc"}, {INT_MAX, 1, "abc"},
  };
  for (const SliceCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "Erase(" << c.i << ", " << c.n << ")");
    SjisString s("abc");
    s.Erase(c.i, c.n);
    EXPECT_EQ(s, S(c.expected));
  }
  SjisString empty;
  empty.Erase(1, 1);
  EXPECT_TRUE(empty.IsEmpty());
}

struct InsertCase {
  std::string into;
  int i;
  std::string text;
  std::string expected;
};

TEST(SjisString, InsertAtClipsThePositionToTheText) {
  const InsertCase cases[] = {
      {"abc", 9, "x", "abcx"},   {"abc", 0, "x", "xabc"},       {"abc", 4, "x", "abcx"},
      {"abc", 2, "xy", "axybc"}, {"abc", 3, "x", "abxc"},       {"abc", 2, "", "abc"},
      {"", 5, "x", "x"},         {"abc", INT_MIN, "x", "xabc"}, {"abc", INT_MAX, "x", "abcx"},
      {"", 0, "", ""},
  };
  for (const InsertCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "InsertAt(" << c.i << ") into '" << c.into << "'");
    SjisString s = S(c.into);
    s.InsertAt(c.i, c.text);
    EXPECT_EQ(s, S(c.expected));
  }
}

TEST(SjisString, InsertedBytesOccupyTheGivenPositions) {
  for (int i = 1; i <= 4; ++i) {
    SCOPED_TRACE(i);
    SjisString s("abc");
    s.InsertAt(i, "XY");
    EXPECT_EQ(s.Locate("XY"), i);
  }
}

struct TextCase {
  const char* name;
  std::string in;
  std::string expected;
};

TEST(SjisString, ToUpperStepsOverDoubleByteCharacters) {
  const TextCase cases[] = {
      {"trail byte 'c' stays", "abc"s + kTsu, "ABC"s + kTsu},
      {"bounds of a-z", "`az{@AZ", "`AZ{@AZ"},
      {"full-width letters stay", "\x82\x81\x82\x9A", "\x82\x81\x82\x9A"},
      {"two leads in a row form one character",
       "\x81\x81"
       "a",
       "\x81\x81"
       "A"},
      {"lead byte as the last byte", "a\x83", "A\x83"},
      {"lead byte before a NUL", "\x83\0a"s, "\x83\0A"s},
      {"high single bytes", "\xA0\xDFq", "\xA0\xDFQ"},
      {"empty", "", ""},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    const SjisString in = S(c.in);
    const SjisString up = in.ToUpper();
    EXPECT_EQ(up, S(c.expected));
    EXPECT_EQ(up.Length(), in.Length());
  }
}

// The field-name search must find exactly what searching the upper-cased
// text finds: every text of up to five bytes over an alphabet with lead
// bytes, '%', and both cases of the keyword's letters, then longer ones.
TEST(SjisString, LocateFieldKeywordAgreesWithSearchingTheUpperCasedText) {
  const std::string alphabet = "%dDaAtTeE\x81\x83\x95 "s;
  const std::string keywords[] = {"%DATE", "%TIME", "%UPDATE", "%D", "%"};
  long checked = 0;
  auto check = [&](const std::string& s) {
    const SjisString text = S(s);
    for (const std::string& keyword : keywords) {
      ASSERT_EQ(text.LocateFieldKeyword(keyword), text.ToUpper().Locate(keyword))
          << "text " << testing::PrintToString(s) << " keyword " << keyword;
      ++checked;
    }
  };
  ForEachText(alphabet, 5, 20000, 60, 11, check);
  EXPECT_GT(checked, 2000000);
  // Spot checks that the comparison is not vacuous.
  EXPECT_EQ(S("x\x81%date").LocateFieldKeyword("%DATE"), 3);
  EXPECT_EQ(S("%dAtE %DATE").LocateFieldKeyword("%DATE"), 1);
  EXPECT_EQ(S("%DAT").LocateFieldKeyword("%DATE"), 0);
}

TEST(SjisString, TrimBlanksRemovesControlsAndSpacesOnly) {
  const TextCase cases[] = {
      {"mixed blanks", "\t a b \r\n", "a b"},
      {"only blanks", " \t\r\n\x01\x1F ", ""},
      {"NUL bytes count as blanks", "\0a\0"s, "a"},
      {"full-width space stays", kWideSpace + "x"s + kWideSpace, kWideSpace + "x"s + kWideSpace},
      {"DEL and high bytes stay",
       "\x7F"
       "a\x80",
       "\x7F"
       "a\x80"},
      {"nothing to trim", "a", "a"},
      {"empty", "", ""},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(S(c.in).TrimBlanks(), S(c.expected));
  }
}

// The byte class straight from its definition: count the lead values before i.
ByteClass ClassByDefinition(const std::string& s, int i) {
  if (i < 1 || i > static_cast<int>(s.size()) || s[i - 1] == 0) return ByteClass::kSingle;
  int k = 0;
  for (int j = i - 1; j >= 1 && IsLeadValue(static_cast<unsigned char>(s[j - 1])); --j) ++k;
  if (k % 2 == 1) return ByteClass::kTrail;
  return IsLeadValue(static_cast<unsigned char>(s[i - 1])) ? ByteClass::kLead : ByteClass::kSingle;
}

// LastIndexOfAny as a backward walk over the byte classes.
int LastIndexByWalk(const std::string& s, std::string_view set) {
  for (int i = static_cast<int>(s.size()); i >= 1;) {
    const char b = s[i - 1];
    if (b != 0 && set.find(b) != std::string_view::npos) {
      if (ClassByDefinition(s, i) != ByteClass::kTrail) return i;
      i -= 2;
    } else {
      --i;
    }
  }
  return 0;
}

TEST(SjisString, ClassAtFollowsTheLeadRunBeforeEachByte) {
  const std::string s = "a\x95\x5C\x81\x81\x81\x40\x83\0\x83"s;
  const ByteClass expected[] = {
      ByteClass::kSingle,
      ByteClass::kLead,
      ByteClass::kTrail,
      ByteClass::kLead,
      ByteClass::kTrail,
      ByteClass::kLead,
      ByteClass::kTrail,
      ByteClass::kLead,
      ByteClass::kSingle /* NUL */,
      ByteClass::kLead /* lead as the last byte */,
  };
  const SjisString text = S(s);
  for (int i = 1; i <= text.Length(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(text.ClassAt(i), expected[i - 1]);
    EXPECT_EQ(text.IsLeadByteAt(i), expected[i - 1] == ByteClass::kLead);
  }
  for (int outside : {0, -1, text.Length() + 1, INT_MIN, INT_MAX}) {
    SCOPED_TRACE(outside);
    EXPECT_EQ(text.ClassAt(outside), ByteClass::kSingle);
  }
}

TEST(SjisString, LastIndexOfAnyNeverTakesATrailByte) {
  const struct {
    const char* name;
    std::string text;
    int expected;
  } cases[] = {
      {"backslash after dir, not the kanji's", "C:\\dir\\"s + kHyou, 7},
      {"the kanji alone", kHyou, 0},
      {"colon only", "C:x", 2},
      {"real backslash after the kanji", kHyou + "\\"s, 3},
      {"lead, lead-valued trail, backslash", "\x95\x95\\", 3},
      {"odd lead run makes it a trail", "\x95\x95\x95\\", 0},
      {"lead before a NUL stays a byte of its own", "\x95\0\\"s, 3},
      {"backslash before a lead as the last byte", "\\\x95", 1},
      {"none", "abc", 0},
      {"empty", "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(S(c.text).LastIndexOfAny("\\:"), c.expected);
  }
  EXPECT_EQ(S("a\0b"s).LastIndexOfAny("\0"s), 0) << "a 0 byte is never a match";
}

// Every short text over a small alphabet, and random longer ones, agree with
// the backward walk; the sets include lead values, which a trail byte may
// equal.
TEST(SjisString, LastIndexOfAnyAndClassAtAgreeWithTheirDefinitions) {
  const std::string alphabet = "a\\\x95\x81\x40\0:"s;
  const std::string sets[] = {"\\:", "\x95\\"s, "\x81", "a\x40"};
  auto check = [&](const std::string& s) {
    const SjisString text = S(s);
    for (const std::string& set : sets) {
      ASSERT_EQ(text.LastIndexOfAny(set), LastIndexByWalk(s, set))
          << "text " << testing::PrintToString(s) << " set " << testing::PrintToString(set);
    }
    for (int i = 0; i <= text.Length() + 1; ++i) {
      ASSERT_EQ(text.ClassAt(i), ClassByDefinition(s, i))
          << "text " << testing::PrintToString(s) << " at " << i;
    }
  };
  // All texts up to five bytes long, then longer random ones.
  ForEachText(alphabet, 5, 2000, 40, 7, check);
}

TEST(SjisString, ConcatenationAndEqualityAreByteWise) {
  const SjisString a("ab");
  const SjisString b("cd");
  EXPECT_EQ(a + b, SjisString("abcd"));
  EXPECT_EQ(a + "x", SjisString("abx"));
  EXPECT_EQ("x" + a, SjisString("xab"));
  EXPECT_EQ(std::string_view("x\0y", 3) + a, S("x\0yab"s));
  EXPECT_EQ(a + std::string_view("\0", 1), S("ab\0"s));
  SjisString c = a;
  c += c;
  c += "!";
  EXPECT_EQ(c, SjisString("abab!"));
  EXPECT_EQ(a, SjisString("ab")) << "a copy changed its source";
  EXPECT_NE(SjisString("ab"), SjisString("AB"));
  EXPECT_NE(SjisString("ab"), S("ab\0"s));
  EXPECT_EQ(SjisString::FromChar('|'), SjisString("|"));
  EXPECT_EQ(SjisString::FromChar('\0').Length(), 1);
}

}  // namespace
}  // namespace kn
