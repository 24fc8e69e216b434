// Encoding reports of board files and the per-file board checks: byte-order
// marks, UTF-8 text, bytes that are no Shift-JIS, each with its line.
#include <gtest/gtest.h>

#include <string>

#include "explain/board_check.h"
#include "explain/encoding_check.h"
#include "fake_file_system.h"

namespace kn::explain {
namespace {

struct BomCase {
  const char* name;
  std::string bytes;
  ByteOrderMark bom;
  bool utf8;
  int nulLine;
};

const BomCase kBoms[] = {
    {"UTF-8 mark, ASCII after it", "\xEF\xBB\xBFhello\r\n", ByteOrderMark::kUtf8, false, 0},
    {"UTF-8 mark and UTF-8 text", "\xEF\xBB\xBF" "caf\xC3\xA9", ByteOrderMark::kUtf8, true, 0},
    {"UTF-16 little-endian", std::string("\xFF\xFEh\0i\0", 6), ByteOrderMark::kUtf16LittleEndian, false, 1},
    {"UTF-16 big-endian", std::string("\xFE\xFF\0h", 4), ByteOrderMark::kUtf16BigEndian, false, 1},
    {"no mark", "plain", ByteOrderMark::kNone, false, 0},
};

TEST(ExplainEncoding, ByteOrderMarks) {
  for (const BomCase& c : kBoms) {
    SCOPED_TRACE(c.name);
    const EncodingReport r = CheckEncoding(c.bytes);
    EXPECT_EQ(r.bom, c.bom);
    EXPECT_EQ(r.utf8, c.utf8);
    EXPECT_EQ(r.firstNulLine, c.nulLine);
    EXPECT_EQ(r.Clean(), c.bom == ByteOrderMark::kNone && !c.utf8);
    const std::string words = DescribeEncoding(r, "");
    EXPECT_EQ(words.find("byte-order mark") != std::string::npos, c.bom != ByteOrderMark::kNone);
  }
}

TEST(ExplainEncoding, Utf8Text) {
  // "あい" and "é" in UTF-8, the first on line 4.
  const EncodingReport r = CheckEncoding("abc\n\ndef\r\n\xE3\x81\x82\xE3\x81\x84 caf\xC3\xA9\n");
  EXPECT_TRUE(r.utf8);
  EXPECT_EQ(r.utf8FirstLine, 4);
  EXPECT_EQ(r.utf8Characters, 3u);
  EXPECT_NE(DescribeEncoding(r, "").find("valid UTF-8 with 3 characters beyond ASCII (the first on line 4)"),
            std::string::npos);

  // Shift-JIS text is no UTF-8, nor is a broken or overlong sequence.
  EXPECT_FALSE(CheckEncoding("\x82\xA0\x82\xA2").utf8);
  EXPECT_FALSE(CheckEncoding("\xE3\x81").utf8);
  EXPECT_FALSE(CheckEncoding("\xC0\xAF").utf8);
  EXPECT_FALSE(CheckEncoding("\xED\xA0\x80").utf8);  // a surrogate
  EXPECT_FALSE(CheckEncoding("ascii only").utf8);
}

struct ProblemExpectation {
  SjisFault fault;
  int line;
  int column;
  std::string bytes;
};

TEST(ExplainEncoding, InvalidShiftJisWithLineNumbers) {
  // Line 2 ends in a lone lead byte; 0x80 opens line 3; a lone CR ends line
  // 3; 0xFD is byte 3 of line 4; line 5 ends the file with a lead byte.
  const EncodingReport r = CheckEncoding("ok\r\n\x83\n\x80x\rab\xFD\n\x82\xA0\x82");
  const ProblemExpectation expected[] = {
      {SjisFault::kLeadWithoutTrail, 2, 1, "\x83\n"},
      {SjisFault::kLoneByte, 3, 1, "\x80"},
      {SjisFault::kLoneByte, 4, 3, "\xFD"},
      {SjisFault::kLeadWithoutTrail, 5, 3, "\x82"},
  };
  ASSERT_EQ(r.problems.size(), std::size(expected));
  EXPECT_EQ(r.problemCount, std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(r.problems[i].fault, expected[i].fault);
    EXPECT_EQ(r.problems[i].line, expected[i].line);
    EXPECT_EQ(r.problems[i].column, expected[i].column);
    EXPECT_EQ(r.problems[i].bytes, expected[i].bytes);
  }
  EXPECT_EQ(r.lineCount, 5);
  const std::string words = DescribeEncoding(r, "");
  EXPECT_NE(words.find("line 4, byte 3: FD begins no Shift-JIS character"), std::string::npos);
  EXPECT_NE(words.find("line 5, byte 3: lead byte 82 at the end of the file"), std::string::npos);
}

TEST(ExplainEncoding, ValidShiftJisIsClean) {
  // あい, half-width katakana, a kanji whose second byte is '\', ASCII.
  const EncodingReport r = CheckEncoding("\x82\xA0\x82\xA2\n\xB1\xB2\n\x95\x5C\nabc\n");
  EXPECT_TRUE(r.Clean());
  EXPECT_EQ(r.lineCount, 4);
  EXPECT_EQ(DescribeEncoding(r, ""), "");
}

TEST(ExplainEncoding, ListsTheFirstProblemsAndCountsAll) {
  const EncodingReport r = CheckEncoding(std::string(30, '\xFF'));
  EXPECT_EQ(r.problems.size(), EncodingReport::kListed);
  EXPECT_EQ(r.problemCount, 30u);
  EXPECT_EQ(r.problems.back().column, 20);
  EXPECT_NE(DescribeEncoding(r, "").find("and 10 more"), std::string::npos);
}

TEST(ExplainEncoding, EndOfFileByte) {
  const EncodingReport r = CheckEncoding("a\nb\x1A" "c\n");
  EXPECT_EQ(r.endOfFileLine, 2);
  EXPECT_FALSE(r.Clean());
}

TEST(ExplainBoard, EntriesOfABoardList) {
  FakeFileSystem files;
  const SystemTime monday = MakeSystemTime(2026, 12, 7, 1, 9, 5, 3);
  files.AddFile("a.txt", "x %UPDATE%\n;hidden\n\ny %uptime HH:MM%\n", monday);
  files.AddFile("b.txt", "\xEF\xBB\xBFhello\n", monday);
  files.AddFile("long.txt", "short\n" + std::string(1500, 'z') + "\n", monday);
  files.AddDirectory("dir", monday);
  const std::string list = "a.txt\r\n; note\r\n\r\n\tb.txt\nmissing \nlong.txt\ndir\n" + std::string(300, 'n');
  const std::vector<BoardEntry> entries = CheckBoardList(list, files);

  const struct {
    int memoLine;
    BoardEntryStatus status;
  } expected[] = {{1, BoardEntryStatus::kRead},    {2, BoardEntryStatus::kComment}, {4, BoardEntryStatus::kRead},
                  {5, BoardEntryStatus::kMissing}, {6, BoardEntryStatus::kRead},    {7, BoardEntryStatus::kUnreadable},
                  {8, BoardEntryStatus::kTooLong}};
  ASSERT_EQ(entries.size(), std::size(expected));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE(entries[i].name);
    EXPECT_EQ(entries[i].memoLine, expected[i].memoLine);
    EXPECT_EQ(entries[i].status, expected[i].status);
  }

  const BoardEntry& a = entries[0];
  EXPECT_EQ(a.boardLines, 3);
  EXPECT_EQ(a.commentLines, 1);
  ASSERT_EQ(a.stamps.size(), 2u);
  EXPECT_EQ(a.stamps[0].line, 1);
  EXPECT_EQ(a.stamps[0].after, "x 2026/12/07(Mon)");
  EXPECT_EQ(a.stamps[1].line, 4);
  EXPECT_EQ(a.stamps[1].after, "y  09:05");
  EXPECT_TRUE(a.encoding.Clean());

  EXPECT_EQ(entries[2].encoding.bom, ByteOrderMark::kUtf8);
  EXPECT_NE(DescribeBoardEntry(entries[2]).find("UTF-8 byte-order mark"), std::string::npos);
  EXPECT_NE(DescribeBoardEntry(entries[3]).find("blanks before or after the name"), std::string::npos);
  EXPECT_EQ(entries[4].firstLongLine, 2);
  EXPECT_EQ(entries[4].boardLines, 3);
}

TEST(ExplainBoard, EncodingOfEachFileAndEveryGeta) {
  FakeFileSystem files;
  // UTF-8: the euro sign on line 2 after "ab" (2 bytes), two emoji on line 3.
  files.AddFile("u8.txt", "ok\nab\xE2\x82\xAC\n\xF0\x9F\x98\x80\xF0\x9F\x98\x80\n");
  // UTF-16 BE with its mark: "a", LF, an unpaired surrogate.
  files.AddFile("u16.txt", std::string("\xFE\xFF\0a\0\n\xD8\x00", 8));
  files.AddFile("sjis.txt", "\x82\xA0\n");
  const std::vector<BoardEntry> entries = CheckBoardList("u8.txt\nu16.txt\nsjis.txt", files);
  ASSERT_EQ(entries.size(), 3u);

  EXPECT_EQ(entries[0].fileEncoding, BoardEncoding::kUtf8);
  ASSERT_EQ(entries[0].getas.size(), 3u);
  EXPECT_EQ(entries[0].getas[0].line, 2);
  EXPECT_EQ(entries[0].getas[0].column, 3);
  EXPECT_EQ(entries[0].getas[2].line, 3);
  EXPECT_EQ(entries[0].getas[2].column, 3);
  const std::string described = DescribeBoardEntry(entries[0]);
  EXPECT_NE(described.find("encoding: UTF-8 (no mark"), std::string::npos) << described;
  EXPECT_NE(described.find("3 character(s)"), std::string::npos) << described;
  EXPECT_NE(described.find("line 3, byte 3"), std::string::npos) << described;

  EXPECT_EQ(entries[1].fileEncoding, BoardEncoding::kUtf16BigEndian);
  ASSERT_EQ(entries[1].getas.size(), 1u);
  EXPECT_EQ(entries[1].getas[0].line, 2);
  EXPECT_EQ(entries[1].boardLines, 2);
  EXPECT_NE(DescribeBoardEntry(entries[1]).find("UTF-16 BE"), std::string::npos);

  EXPECT_EQ(entries[2].fileEncoding, BoardEncoding::kShiftJis);
  EXPECT_TRUE(entries[2].getas.empty());
  EXPECT_NE(DescribeBoardEntry(entries[2]).find("encoding: Shift-JIS, nothing wrong"), std::string::npos);
}

}  // namespace
}  // namespace kn::explain
