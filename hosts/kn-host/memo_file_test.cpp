#include <gtest/gtest.h>

#include "memo_file.h"
#include "test_files.h"

namespace kn::host {
namespace {

using driver::ScratchFile;

struct MemoCase {
  const char* name;
  std::string fileBytes;
  bool utf8;
  std::string memo;  // code page 932
};

class MemoFileReads : public ::testing::TestWithParam<MemoCase> {};

TEST_P(MemoFileReads, TheHostsBytes) {
  ScratchFile file(L"memo.txt");
  ASSERT_TRUE(file.Write(GetParam().fileBytes));
  std::string memo;
  std::string error;
  ASSERT_TRUE(ReadMemoFile(file.path(), GetParam().utf8, memo, error)) << error;
  EXPECT_EQ(memo, GetParam().memo);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MemoFileReads,
    ::testing::Values(
        // "かれいど帳" in code page 932 stays as it is, CR LF included
        MemoCase{"ShiftJisVerbatim", "\x82\xa9\x82\xea\r\n\x92\xa0", false,
                 "\x82\xa9\x82\xea\r\n\x92\xa0"},
        // a lead byte as the last byte is the host's business, not an error
        MemoCase{"TrailingLeadByte", "ab\x82", false, "ab\x82"},
        MemoCase{"EmptyFile", "", false, ""},
        MemoCase{"EndsAtNul", std::string("ab\0cd", 5), false, "ab"},
        // "かれいど帳" in UTF-8
        MemoCase{"Utf8Converted", "\xe3\x81\x8b\xe3\x82\x8c\xe3\x81\x84\xe3\x81\xa9\xe5\xb8\xb3",
                 true, "\x82\xa9\x82\xea\x82\xa2\x82\xc7\x92\xa0"},
        // "赤" after a byte-order mark
        MemoCase{"Utf8ByteOrderMark", "\xef\xbb\xbf\xe8\xb5\xa4", true, "\x90\xd4"},
        // "ＭＳ ゴシック": full-width letters and katakana whose trail bytes
        // are ASCII letters
        MemoCase{"Utf8FullWidth",
                 "\xef\xbc\xad\xef\xbc\xb3 \xe3\x82\xb4\xe3\x82\xb7\xe3\x83\x83\xe3\x82\xaf", true,
                 "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e"},
        MemoCase{"Utf8Ascii", "#c\xe8\xb5\xa4|x\n", true, "#c\x90\xd4|x\n"},
        // 〜 U+301C and − U+2212, as JIS-based editors write them, become the
        // code page's wave dash and minus; half-width ｶ its single byte
        MemoCase{"Utf8JisSymbols", "\xe3\x80\x9c\xe2\x88\x92\xef\xbd\xb6", true, "\x81\x60\x81\x7c\xb6"}),
    [](const ::testing::TestParamInfo<MemoCase>& info) { return std::string(info.param.name); });

struct BadMemo {
  const char* name;
  std::string fileBytes;
};

class MemoFileRejects : public ::testing::TestWithParam<BadMemo> {};

TEST_P(MemoFileRejects, Utf8ThatCannotBecomeShiftJis) {
  ScratchFile file(L"bad.txt");
  ASSERT_TRUE(file.Write(GetParam().fileBytes));
  std::string memo;
  std::string error;
  EXPECT_FALSE(ReadMemoFile(file.path(), true, memo, error));
  EXPECT_NE(error.find("code page 932"), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MemoFileRejects,
    ::testing::Values(BadMemo{"NotUtf8", "\x82\xa9 is Shift-JIS"},
                      BadMemo{"CutSequence", "ab\xe3\x81"},
                      // an emoji has no code page 932 form
                      BadMemo{"Emoji", "ok \xf0\x9f\x98\x80"},
                      // no best-fit substitution: e with acute is not e
                      BadMemo{"AccentedLetter", "caf\xc3\xa9"}),
    [](const ::testing::TestParamInfo<BadMemo>& info) { return std::string(info.param.name); });

TEST(MemoFile, NamesTheLineAndCharacterOfWhatTheCodePageCannotHold) {
  ScratchFile file(L"sushi.txt");
  // 🍣 is the third character of the second line; é the first of the third
  ASSERT_TRUE(file.Write("ok\r\nab\xf0\x9f\x8d\xa3\r\n\xc3\xa9\r\n"));
  std::string memo;
  std::string error;
  EXPECT_FALSE(ReadMemoFile(file.path(), true, memo, error));
  EXPECT_NE(error.find("line 2, character 3: \xf0\x9f\x8d\xa3 (U+1F363)"), std::string::npos) << error;
  EXPECT_NE(error.find("line 3, character 1: \xc3\xa9 (U+00E9)"), std::string::npos) << error;
}

TEST(MemoFile, TellsUtf8FromTheHostsCodePage) {
  // Kana in UTF-8, and a byte-order mark alone.
  for (const std::string bytes : {"\xe3\x81\x8b\xe3\x82\x8c\r\n", "\xef\xbb\xbf"}) {
    EXPECT_TRUE(LooksLikeUtf8(bytes)) << bytes;
  }
  // Kana and half-width katakana in code page 932, ASCII only, nothing.
  for (const std::string bytes : {"\x82\xa9\x82\xea\r\n", "\xb6\xda\xb2\xc4\xde", "#c|plain text\r\n", ""}) {
    EXPECT_FALSE(LooksLikeUtf8(bytes)) << bytes;
  }
}

TEST(MemoFile, MissingFileIsAnError) {
  std::string memo;
  std::string error;
  EXPECT_FALSE(ReadMemoFile(L"C:\\no-such-folder-kn\\memo.txt", false, memo, error));
  EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
}

}  // namespace
}  // namespace kn::host
