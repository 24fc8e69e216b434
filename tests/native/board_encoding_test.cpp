// Board files in the encodings editors save today: which encoding a file
// is read in, and the board lines it gives once converted to code page 932
// (the reading rules then apply to the converted bytes).
#include "board/board_file.h"

#include <algorithm>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "board/board_loader.h"
#include "native/fake_file_system.h"
#include "platform/system_cp932_encoder.h"

namespace kn {
namespace {

const SystemTime kMonday = MakeSystemTime(2026, 12, 7, 1, 9, 5, 3);
const std::string kGeta(kGetaMark);
const std::string kNoData(kBoardNoDataText);

// UTF-16 of an ASCII or 2-byte-per-unit text given as little-endian units.
std::string Swapped(std::string units) {
  for (std::size_t i = 0; i + 1 < units.size(); i += 2) std::swap(units[i], units[i + 1]);
  return units;
}
std::string Utf16Le(const std::string& ascii) {
  std::string out;
  for (const char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

TEST(DetectBoardEncoding, FromMarksAndContents) {
  const struct {
    const char* name;
    std::string bytes;
    BoardEncoding expected;
  } cases[] = {
      {"UTF-8 mark", "\xEF\xBB\xBF" "abc", BoardEncoding::kUtf8WithMark},
      {"UTF-8 mark alone", "\xEF\xBB\xBF", BoardEncoding::kUtf8WithMark},
      {"UTF-16 LE mark", "\xFF\xFE" "a", BoardEncoding::kUtf16LittleEndian},
      {"UTF-16 BE mark", "\xFE\xFF", BoardEncoding::kUtf16BigEndian},
      {"UTF-8 without mark", "\xE3\x81\x8A\xE7\x9F\xA5", BoardEncoding::kUtf8},
      {"ASCII only", "plain\r\n", BoardEncoding::kShiftJis},
      {"empty", "", BoardEncoding::kShiftJis},
      {"Shift-JIS kana", "\x82\xa8\x92\x6d\x82\xe7\x82\xb9", BoardEncoding::kShiftJis},
      {"UTF-8 spoilt by one Shift-JIS character", "\xE3\x81\x8A\x82\xa0", BoardEncoding::kShiftJis},
      {"UTF-8 cut at the end", "\xE3\x81\x8A\xE3\x81", BoardEncoding::kShiftJis},
      {"part of a mark", "\xEF\xBB", BoardEncoding::kShiftJis},
      // The known limit: half-width katakana pairs that are also UTF-8.
      {"Shift-JIS katakana pair", "\xC2\xB1", BoardEncoding::kUtf8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DetectBoardEncoding(c.bytes).encoding, c.expected);
  }
  EXPECT_FALSE(DetectBoardEncoding("\xEF\xBB\xBF\xFF").wellFormed);
}

struct EncodedCase {
  const char* name;
  std::string contents;
  std::string expected;
};
void PrintTo(const EncodedCase& c, std::ostream* out) { *out << c.name; }

class EncodedBoardTest : public ::testing::TestWithParam<EncodedCase> {};

TEST_P(EncodedBoardTest, ShowsTheConvertedLines) {
  for (const std::size_t chunk : {std::size_t{1}, std::size_t{5}, std::size_t{1} << 20}) {
    SCOPED_TRACE("read chunk " + std::to_string(chunk));
    FakeFileSystem files(chunk);
    files.AddFile("a.txt", GetParam().contents, kMonday);
    SystemCp932Encoder encoder;
    SystemTime newest{};
    EXPECT_EQ(LoadBoardText("a.txt", files, encoder, newest), GetParam().expected);
  }
}

const std::string kKanji600 = [] {
  std::string s;
  for (int i = 0; i < 600; ++i) s += "\xE7\xB7\xA0";  // 締: three bytes in UTF-8, two in code page 932
  return s;
}();
const std::string kSjisKanji512 = [] {
  std::string s;
  for (int i = 0; i < 512; ++i) s += "\x92\xf7";
  return s;
}();

INSTANTIATE_TEST_SUITE_P(
    Encodings, EncodedBoardTest,
    ::testing::Values(
        EncodedCase{"Utf8NoticeAsANewUserWritesIt", "\xE3\x81\x8A\xE7\x9F\xA5\xE3\x82\x89\xE3\x81\x9B: \xE3\x80\x9C\xE7\xB7\xA0\xE5\x88\x87\n",
                    "\x82\xa8\x92\x6d\x82\xe7\x82\xb9: \x81\x60\x92\xf7\x90\xd8"},
        EncodedCase{"Utf8WithMarkDropsTheMark", "\xEF\xBB\xBF" "a\r\nb", "a\r\nb"},
        EncodedCase{"MarkAloneHasNoLines", "\xEF\xBB\xBF", kNoData},
        EncodedCase{"Utf16MarkAloneHasNoLines", "\xFF\xFE", kNoData},
        EncodedCase{"Utf8CommentsDropped", ";\xE3\x81\x82\n\xE3\x81\x82\n", "\x82\xa0"},
        EncodedCase{"Utf8StampsExpanded", "\xE6\x9B\xB4\xE6\x96\xB0 %UPDATE%\n", "\x8d\x58\x90\x56 2026/12/07(Mon)"},
        EncodedCase{"Utf8GetaForEachCharacterWithoutCode", "\xE2\x82\xAC\xF0\x9F\x98\x80x\xE3\x81\x82\n", kGeta + kGeta + "x\x82\xa0"},
        EncodedCase{"Utf8MarkWithIllFormedBytes", "\xEF\xBB\xBF\xFF\xFF\xE3\x81\x82", kGeta + kGeta + "\x82\xa0"},
        EncodedCase{"Utf8KatakanaBecomeSingleBytes", "\xEF\xBD\xB1\xEF\xBD\xB2\n", "\xB1\xB2"},
        EncodedCase{"Utf8EndOfFileByteAfterConversion", "\xE3\x81\x82\n\x1A\xE3\x81\x82\n", "\x82\xa0"},
        // 600 kanji are 1800 bytes of UTF-8 but 1200 converted: pieces of 512 and 88 kanji.
        EncodedCase{"PiecesCountedAfterConversion", kKanji600 + "\n", kSjisKanji512 + "\r\n" + std::string(kSjisKanji512, 0, 176)},
        EncodedCase{"Utf16LittleEndian", "\xFF\xFE" + Utf16Le("a\n;c\r\nb") + std::string("\x42\x30", 2), "a\r\nb\x82\xa0"},
        EncodedCase{"Utf16BigEndian", "\xFE\xFF" + Swapped(Utf16Le("a\r\n\r\nb")), "a\r\n \r\nb"},
        EncodedCase{"Utf16OddLastByteDropped", "\xFF\xFE" + Utf16Le("ab") + "c", "ab"},
        EncodedCase{"Utf16NulCutsTheLine", "\xFF\xFE" + Utf16Le(std::string("a\0b\nc", 5)), "a\r\nc"},
        EncodedCase{"Utf16UnpairedSurrogate", "\xFF\xFE" + std::string("\x00\xD8", 2) + Utf16Le("z"), kGeta + "z"},
        // The known limit: these Shift-JIS katakana pairs are read as UTF-8.
        EncodedCase{"ShiftJisKatakanaPairsReadAsUtf8", "\xC2\xB1\n", "\x81\x7D"}),
    [](const ::testing::TestParamInfo<EncodedCase>& info) { return std::string(info.param.name); });

// A reader whose file is longer or shorter than the size it told.
class ToldReader final : public FileReader {
 public:
  ToldReader(std::string contents, std::size_t told) : contents_(std::move(contents)), told_(told) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    const std::size_t n = std::min(size, contents_.size() - at_);
    std::memcpy(buffer, contents_.data() + at_, n);
    at_ += n;
    return n;
  }
  std::size_t SizeHint() override { return told_; }

 private:
  std::string contents_;
  std::size_t told_;
  std::size_t at_ = 0;
};

TEST(BoardFileBytes, ReadsWhatIsThereWhateverSizeWasTold) {
  const std::string contents(200000, 'x');
  for (const std::size_t told : {std::size_t{0}, std::size_t{1}, std::size_t{199999}, std::size_t{200000},
                                 std::size_t{1000000}}) {
    SCOPED_TRACE("told " + std::to_string(told));
    ToldReader reader(contents, told);
    BoardFileBytes bytes;
    ASSERT_TRUE(bytes.ReadAll(reader));
    EXPECT_EQ(bytes.view(), contents);
  }
}

}  // namespace
}  // namespace kn
