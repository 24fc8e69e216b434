// The chip in board mode and kn-explain read the same boards: what the
// explainer says of each name is what the chip shows for it, line for line,
// and each 〓 it names stands where the chip draws one.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "board/board_loader.h"
#include "chip_fixture.h"
#include "explain/board_check.h"
#include "markup/sjis_string.h"

namespace kn::explain {
namespace {

const SystemTime kMonday = MakeSystemTime(2026, 12, 7, 1, 9, 5, 3);
const SystemTime kTuesday = MakeSystemTime(2026, 12, 8, 2, 10, 11, 12);
const SystemTime kNewYear = MakeSystemTime(2027, 1, 1, 5, 0, 0, 0);

std::string Utf16(std::initializer_list<unsigned> units, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const unsigned unit : units) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

const std::string kSushi = "\xF0\x9F\x8D\xA3";  // beyond the basic plane: 〓
const std::string kEuro = "\xE2\x82\xAC";       // no code page 932 form: 〓

void AddBoardFiles(FakeFileSystem& files) {
  files.AddFile("sjis.txt", std::string("\x82\xA0 %UPDATE%\n;hidden\n\nb\0cut\n", 27), kMonday);
  files.AddFile("mark8.txt", "\xEF\xBB\xBF" "caf" + kEuro + " " + kSushi + "\r\nok\r\n", kMonday);
  // A lone CR is dropped: the 〓 after it moves one byte to the left.
  files.AddFile("plain8.txt", "ascii first\r\n\xE3\x81\x82" + kEuro + "\nx\ry" + kEuro + "z\n", kMonday);
  files.AddFile("le16.txt", Utf16({'a', '\n', 0xD800, 'b', '\r', '\n', 0x3042}, false), kMonday);
  files.AddFile("be16.txt", Utf16({'a', 0xD83C, 0xDF63, '\n'}, true), kMonday);
  // A 〓 in the second piece of a line, a line of exactly one piece, a
  // second piece that is a comment and hides its 〓.
  files.AddFile("long8.txt", std::string(1100, 'x') + kSushi + std::string(396, 'y') + "\n" +
                                 std::string(1024, 'z') + "\n" + std::string(1024, 'w') + ";c" + kEuro + "\n",
                kMonday);
  files.AddFile("stamp8.txt", "%UPDATE% " + kSushi + "\n", kTuesday);
  files.AddFile("ill8.txt", "\xEF\xBB\xBF" "a\xFF" "b\n", kMonday);
  files.AddDirectory("dir", kTuesday);
  files.AddLockedFile("locked", kNewYear);
  files.AddFile("empty.txt", "", kMonday);
}

const std::string kList = "sjis.txt\r\n; a comment\r\n\r\n\tmark8.txt\nplain8.txt\nle16.txt\nbe16.txt\nlong8.txt\n"
                          "stamp8.txt\nill8.txt\ndir\nlocked\ngone.txt\n ;spaced\n" +
                          std::string(300, 'n') + "\nempty.txt\n";

using Place = std::pair<int, int>;  // the file's line, byte of that line

struct EntryCase {
  int memoLine;
  BoardEntryStatus status;
  BoardEncoding encoding;
  int boardLines;
  int firstLongLine;
  std::vector<Place> getas;
};

const EntryCase kEntries[] = {
    {1, BoardEntryStatus::kRead, BoardEncoding::kShiftJis, 3, 0, {}},
    {2, BoardEntryStatus::kComment, {}, 0, 0, {}},
    {4, BoardEntryStatus::kRead, BoardEncoding::kUtf8WithMark, 2, 0, {{1, 4}, {1, 7}}},
    {5, BoardEntryStatus::kRead, BoardEncoding::kUtf8, 3, 0, {{2, 3}, {3, 3}}},
    {6, BoardEntryStatus::kRead, BoardEncoding::kUtf16LittleEndian, 3, 0, {{2, 1}}},
    {7, BoardEntryStatus::kRead, BoardEncoding::kUtf16BigEndian, 1, 0, {{1, 2}}},
    {8, BoardEntryStatus::kRead, BoardEncoding::kUtf8, 5, 1, {{1, 1101}}},
    {9, BoardEntryStatus::kRead, BoardEncoding::kUtf8, 1, 0, {{1, 10}}},
    {10, BoardEntryStatus::kRead, BoardEncoding::kUtf8WithMark, 1, 0, {{1, 2}}},
    {11, BoardEntryStatus::kUnreadable, {}, 0, 0, {}},
    {12, BoardEntryStatus::kUnreadable, {}, 0, 0, {}},
    {13, BoardEntryStatus::kMissing, {}, 0, 0, {}},
    {14, BoardEntryStatus::kMissing, {}, 0, 0, {}},
    {15, BoardEntryStatus::kTooLong, {}, 0, 0, {}},
    {16, BoardEntryStatus::kRead, BoardEncoding::kShiftJis, 0, 0, {}},
};

std::vector<std::string> BoardLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2) {
    lines.push_back(text.substr(from, at - from));
  }
  lines.push_back(text.substr(from));
  return lines;
}

std::string Joined(const std::vector<std::string>& lines, std::size_t first, std::size_t count) {
  std::string text;
  for (std::size_t i = first; i < first + count; ++i) text += (i == first ? "" : "\r\n") + lines[i];
  return text;
}

// The 1-based bytes where a 〓 begins in a line, character by character.
std::vector<int> GetaBytes(std::string_view line) {
  std::vector<int> bytes;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (!IsLeadValue(static_cast<unsigned char>(line[i]))) continue;
    if (line.substr(i, 2) == kGetaMark) bytes.push_back(static_cast<int>(i) + 1);
    ++i;
  }
  return bytes;
}

class BoardAgreement : public kn::testing::ChipFixture {
 protected:
  struct ChipView {
    std::string shown;
    bool foundNewer;  // the next re-read found a file newer than a check long ago
  };

  // A chip in board mode, the list as its memo, read as the host has it
  // read: the update that shows the board, then a timer step.
  ChipView ReadWithChip(const std::string& list) {
    const auto saved =
        SaveData(IDM_INTERVAL_1MIN, IDM_LINK_BLUE, IDM_BLINK, IDM_BOARD_MODE, 0, MakeLocalTime(2000, 1, 1, 0, 0, 0));
    Create(list.c_str(), saved.data());
    UpdateChip(env, chip, Settings(list.c_str(), saved.data()));
    ChipView view{Shown(), RunTimerStep(env, chip) == kResultTextChanged + kResultAlert};
    DestroyChip(env, chip);
    chip = nullptr;
    return view;
  }

  // The chip shows the board the explainer read, entry by entry, with a 〓
  // at every place the explainer names and nowhere else.
  void ExpectChipAgrees(const std::string& list, const BoardCheck& check) {
    const ChipView board = ReadWithChip(list);
    ASSERT_EQ(board.shown, check.text);
    const std::vector<std::string> lines = BoardLines(board.shown);
    std::size_t linesBefore = 0;
    std::map<int, std::size_t> getasOfBoardLine;
    for (const BoardEntry& e : check.entries) {
      SCOPED_TRACE(e.name.substr(0, 20));
      // The chip given this name alone: its lines are the entry's lines of
      // the board, and its time counts exactly when the explainer says the
      // name was found.
      const ChipView alone = ReadWithChip(e.name);
      EXPECT_EQ(alone.foundNewer, e.status == BoardEntryStatus::kRead || e.status == BoardEntryStatus::kUnreadable);
      ASSERT_LE(linesBefore + e.boardLines, lines.size());
      EXPECT_EQ(alone.shown, e.boardLines == 0 ? std::string(kBoardNoDataText)
                                               : Joined(lines, linesBefore, static_cast<std::size_t>(e.boardLines)));
      const auto first = lines.begin() + static_cast<std::ptrdiff_t>(linesBefore);
      for (const StampChange& stamp : e.stamps) {
        EXPECT_NE(std::find(first, first + e.boardLines, stamp.after), first + e.boardLines) << stamp.after;
      }
      ASSERT_EQ(e.getas.count, e.getas.listed.size()) << "boards of this test list every place";
      for (const GetaPlace& place : e.getas.listed) {
        ASSERT_GT(place.boardLine, static_cast<int>(linesBefore));
        ASSERT_LE(place.boardLine, static_cast<int>(linesBefore) + e.boardLines);
        ++getasOfBoardLine[place.boardLine];
        const bool stamped = std::any_of(e.stamps.begin(), e.stamps.end(),
                                         [&](const StampChange& s) { return s.line == place.line; });
        if (stamped) continue;  // the expanded stamp moved it
        const std::vector<int> shown = GetaBytes(lines[static_cast<std::size_t>(place.boardLine) - 1]);
        EXPECT_NE(std::find(shown.begin(), shown.end(), place.boardColumn), shown.end())
            << "board line " << place.boardLine << ", byte " << place.boardColumn;
      }
      linesBefore += static_cast<std::size_t>(e.boardLines);
    }
    EXPECT_EQ(linesBefore, check.text == kBoardNoDataText ? 0 : lines.size());
    // No 〓 the chip draws goes unnamed.
    for (std::size_t i = 0; i < lines.size(); ++i) {
      SCOPED_TRACE("board line " + std::to_string(i + 1));
      EXPECT_EQ(GetaBytes(lines[i]).size(), getasOfBoardLine[static_cast<int>(i) + 1]);
    }
  }
};

TEST_F(BoardAgreement, EveryEntryReadsAlikeInTheChipAndTheExplainer) {
  AddBoardFiles(files);
  const BoardCheck check = CheckBoard(kList, files, encoder);
  EXPECT_TRUE(SameSystemTime(check.newest, kNewYear)) << "the locked file's time counts";
  ASSERT_EQ(check.entries.size(), std::size(kEntries));
  for (std::size_t i = 0; i < check.entries.size(); ++i) {
    const BoardEntry& e = check.entries[i];
    const EntryCase& c = kEntries[i];
    SCOPED_TRACE(e.name.substr(0, 20));
    EXPECT_EQ(e.memoLine, c.memoLine);
    EXPECT_EQ(e.status, c.status);
    EXPECT_EQ(e.boardLines, c.boardLines);
    if (e.status == BoardEntryStatus::kRead) EXPECT_EQ(e.fileEncoding, c.encoding);
    EXPECT_EQ(e.firstLongLine, c.firstLongLine);
    std::vector<Place> places;
    for (const GetaPlace& place : e.getas.listed) places.emplace_back(place.line, place.column);
    EXPECT_EQ(places, c.getas);
  }
  ExpectChipAgrees(kList, check);
}

// Mark-less UTF-8 is converted a segment at a time: the places stay right
// in the later segments and in the line that spans two.
TEST_F(BoardAgreement, LargeUtf8BoardAcrossSegments) {
  std::string big = "\xE3\x81\x82\n";
  std::vector<Place> expected;
  for (int line = 2; line <= 301; ++line) {
    big += std::string(990, 'x') + (line % 8 == 0 ? kEuro : std::string("abc")) + "\n";
    if (line % 8 == 0) expected.emplace_back(line, 991);
  }
  files.AddFile("big8.txt", big, kMonday);
  const BoardCheck check = CheckBoard("big8.txt", files, encoder);
  ASSERT_EQ(check.entries.size(), 1u);
  EXPECT_EQ(check.entries[0].fileEncoding, BoardEncoding::kUtf8);
  EXPECT_EQ(check.entries[0].size, big.size());
  std::vector<Place> places;
  for (const GetaPlace& place : check.entries[0].getas.listed) places.emplace_back(place.line, place.column);
  EXPECT_EQ(places, expected);
  ExpectChipAgrees("big8.txt", check);
}

TEST_F(BoardAgreement, ListsWithoutAnyFileLine) {
  AddBoardFiles(files);
  for (const std::string list : {"\r\n\t\r\n", "; only\n;comments", "gone.txt\ndir", "empty.txt"}) {
    SCOPED_TRACE(list);
    const BoardCheck check = CheckBoard(list, files, encoder);
    EXPECT_EQ(check.text, kBoardNoDataText);
    ExpectChipAgrees(list, check);
    for (const BoardEntry& e : check.entries) EXPECT_EQ(e.boardLines, 0);
  }
}

// Every entry of the board in both languages: well-formed code page 932
// (an escape run into the letter after it would not be), and the Japanese
// words are not the English ones.
TEST_F(BoardAgreement, EntriesAreDescribedInBothLanguages) {
  AddBoardFiles(files);
  files.AddFile("bad.txt", "ok\n\x83\n\xFF\x82\xA0\x82", kMonday);  // no Shift-JIS, and a NUL-free tail
  std::vector<BoardEntry> entries = CheckBoard(kList + "bad.txt\n", files, encoder).entries;
  ASSERT_EQ(entries.back().encoding.problemCount, 3u);
  for (const BoardEntry& e : entries) {
    SCOPED_TRACE(e.memoLine);
    const std::string english = DescribeBoardEntry(e, Language::kEnglish);
    const std::string japanese = DescribeBoardEntry(e, Language::kJapanese);
    EXPECT_EQ(CheckEncoding(japanese).problemCount, 0u) << japanese;
    EXPECT_NE(japanese, english);
    EXPECT_NE(japanese.find(std::to_string(e.memoLine)), std::string::npos);
    EXPECT_EQ(japanese.find(" the "), std::string::npos) << japanese;
  }
}

}  // namespace
}  // namespace kn::explain
