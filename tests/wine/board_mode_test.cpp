// Board mode through the real DLL: the memo lists text files whose lines the
// chip shows; the timer and Zoom re-read them and report changes; the saved
// block remembers when they were last checked; "%UPDATE" and "%UPTIME" show
// each file's own last-write time.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "wine/harness/board_files.h"
#include "wine/harness/chip_fixture.h"
#include "wine/harness/reference_painter.h"
#include "wine/harness/styled_reference.h"

namespace kn::wine {
namespace {

// "かれいど"
const char kKaleido[] = "\x82\xA9\x82\xEA\x82\xA2\x82\xC7";
// "二つ目"
const char kSecond[] = "\x93\xF1\x82\xC2\x96\xDA";
// "データがありません。"
const char kNoData[] = "\x83\x66\x81\x5B\x83\x5E\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42";

class BoardTest : public PaintTest {
 protected:
  void SetUp() override {
    PaintTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(folder_.ok()) << "cannot create a scratch folder";
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = folder_.Write(name, bytes);
    EXPECT_FALSE(path.empty()) << "cannot write " << name;
    return path;
  }

  // A chip that shows the board: the saved block turns board mode on, and
  // the second Update replaces the memo InitializeChip showed by the files.
  std::unique_ptr<ScopedChip> ShowBoard(ChipSettings& settings) {
    auto chip = std::make_unique<ScopedChip>(settings);
    EXPECT_EQ(chip->initResult(), 0);
    EXPECT_EQ(chip->Update(settings), 1);
    return chip;
  }

  // Paints the chip and compares it with the lines drawn directly.
  void ExpectShows(const ScopedChip& chip, const ChipSettings& settings, const std::vector<std::string>& lines) {
    ASSERT_EQ(Paint(chip), 0);
    Canvas expected(client());
    PaintReference(expected, client(), {lines, settings.textColor(), settings.backColor(), settings.font()});
    ASSERT_GT(expected.CountOther(settings.backColor()), 0) << "the reference drew no text";
    EXPECT_EQ(canvas().FirstDifference(expected), "");
  }

  BoardFolder folder_;
};

// ---------------------------------------------------------------------------
// Switching board mode on through the menu shows the listed files.

struct ListCase {
  const char* name;
  std::vector<std::pair<std::string, std::string>> files;  // name, contents
  std::vector<std::string> memoLines;  // "@name" stands for the file's path
  std::vector<std::string> shown;
};

class BoardListTest : public BoardTest, public testing::WithParamInterface<ListCase> {};

TEST_P(BoardListTest, MenuToggleShowsTheFilesAndThenTheMemoAgain) {
  const ListCase& param = GetParam();
  for (const auto& file : param.files) Write(file.first, file.second);
  ChipSettings settings;
  std::string memo;
  // Outside board mode the memo itself is shown, and a full path in it is a
  // link: underlined, in the link colour (blue).
  LOGFONTA linkFont = settings.font();
  linkFont.lfUnderline = 1;
  std::vector<StyledLine> memoShown;
  for (const std::string& line : param.memoLines) {
    std::string text = line;
    const std::size_t at = text.find('@');
    if (at != std::string::npos) text = text.substr(0, at) + folder_.File(text.substr(at + 1));
    memo += text + "\r\n";
    const bool isPath = text[0] != ';';
    memoShown.push_back({text, isPath ? linkFont : settings.font(),
                         isPath ? RGB(0, 0, 255) : settings.textColor(), DT_LEFT});
  }
  settings.Memo(memo);
  ScopedChip chip(settings);
  ASSERT_EQ(chip.initResult(), 0);

  EXPECT_EQ(Api().DoDrawExMenu(chip.get(), hwnd(), IDM_BOARD_MODE), 3);
  ExpectShows(chip, settings, param.shown);

  EXPECT_EQ(Api().DoDrawExMenu(chip.get(), hwnd(), IDM_BOARD_MODE), 3);
  ASSERT_EQ(Paint(chip), 0);
  Canvas memoPicture(client());
  PaintStyledReference(memoPicture, client(), settings.backColor(), memoShown);
  EXPECT_EQ(canvas().FirstDifference(memoPicture), "") << "the memo again";
}

INSTANTIATE_TEST_SUITE_P(
    Boards, BoardListTest,
    testing::Values(
        // Comment lines (in the memo and in a file) are dropped, an empty file
        // line keeps its row, a missing file is skipped, a leading tab of a
        // memo line is ignored, and the second file follows the first.
        ListCase{"TwoFiles",
                 {{"one.txt", std::string(kKaleido) + "\n;comment\n\nline b\n"},
                  {"two.txt", std::string(kSecond) + "\r\nlast"}},
                 {"@one.txt", ";@two.txt", "@missing.txt", "\t@two.txt"},
                 {kKaleido, "", "line b", kSecond, "last"}},
        // Every CR is dropped and a Ctrl-Z ends the file.
        ListCase{"TextModeReading",
                 {{"cr.txt", "a\r\nb\rc\nd\x1A" "after\n"}},
                 {"@cr.txt"},
                 {"a", "bc", "d"}},
        ListCase{"NoListedFileExists", {}, {"@missing.txt"}, {kNoData}}),
    [](const testing::TestParamInfo<ListCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// The timer re-reads the board when blink is on or the chip is zoomed,
// unless the interval is "none".

struct TimerCase {
  const char* name;
  std::int32_t interval;
  bool blink;
  std::int32_t zoomed;
  int onChange;  // DoTimer's result once the file has changed
};

class BoardTimerTest : public BoardTest, public testing::WithParamInterface<TimerCase> {};

TEST_P(BoardTimerTest, ReportsARewrittenFileOnceAndShowsItsNewText) {
  const TimerCase& param = GetParam();
  const std::string path = Write("board.txt", "first text\n");
  ChipSettings settings;
  // The last check lies after the file's time, so an unchanged board is
  // never reported as newer.
  settings.Memo(BoardMemo({path}))
      .Zoomed(param.zoomed)
      .WithModes(BoardModes(param.interval, param.blink, FarFutureCheck()));
  auto chip = ShowBoard(settings);
  ExpectShows(*chip, settings, {"first text"});

  EXPECT_EQ(Api().DoTimer(chip->get()), 0) << "nothing changed yet";
  ASSERT_TRUE(WriteBoardFile(path, "second text\n"));
  EXPECT_EQ(Api().DoTimer(chip->get()), param.onChange) << "after the rewrite";
  EXPECT_EQ(Api().DoTimer(chip->get()), 0) << "the change was reported already";
  ExpectShows(*chip, settings, {param.onChange != 0 ? "second text" : "first text"});
}

INSTANTIATE_TEST_SUITE_P(
    Modes, BoardTimerTest,
    testing::Values(TimerCase{"ZoomedBlinkOff", IDM_INTERVAL_1MIN, false, 1, 3},
                    TimerCase{"BlinkOn", IDM_INTERVAL_1MIN, true, 0, 7},
                    TimerCase{"ZoomedBlinkOn", IDM_INTERVAL_3MIN, true, 1, 7},
                    TimerCase{"NeitherBlinkNorZoomNeverRereads", IDM_INTERVAL_1MIN, false, 0, 0},
                    TimerCase{"IntervalNoneNeverRereads", IDM_INTERVAL_NONE, true, 1, 0}),
    [](const testing::TestParamInfo<TimerCase>& info) { return std::string(info.param.name); });

// The first re-read after the chip was created also compares the newest file
// time with the saved last check: a file written after it (while the host was
// not running) raises the alert once, although its text is what is shown.

struct StampCase {
  const char* name;
  bool blink;
  CheckTime lastCheck;
  int firstTick;
};

class BoardStampTest : public BoardTest, public testing::WithParamInterface<StampCase> {};

TEST_P(BoardStampTest, FirstRereadComparesTheFileTimeWithTheLastCheck) {
  const StampCase& param = GetParam();
  const std::string path = Write("stamped.txt", "same text\n");
  ASSERT_TRUE(SetLocalWriteTime(path, LocalTime(2026, 12, 7, 9, 5, 3)));
  ChipSettings settings;
  settings.Memo(BoardMemo({path})).Zoomed(1).WithModes(BoardModes(IDM_INTERVAL_1MIN, param.blink, param.lastCheck));
  auto chip = ShowBoard(settings);

  EXPECT_EQ(Api().DoTimer(chip->get()), param.firstTick) << "first re-read";
  EXPECT_EQ(Api().DoTimer(chip->get()), 0) << "second re-read";
}

INSTANTIATE_TEST_SUITE_P(
    LastChecks, BoardStampTest,
    testing::Values(StampCase{"CheckedDaysBefore", true, CheckTimeOf(2026, 12, 1, 23, 0, 0), 7},
                    StampCase{"CheckedASecondBefore", true, CheckTimeOf(2026, 12, 7, 9, 5, 2), 7},
                    StampCase{"CheckedAtTheSameSecond", true, CheckTimeOf(2026, 12, 7, 9, 5, 3), 0},
                    StampCase{"CheckedAMonthLater", true, CheckTimeOf(2027, 1, 7, 0, 0, 0), 0},
                    StampCase{"NeverChecked", true, CheckTimeOf(1900, 1, 0, 0, 0, 0), 7},
                    StampCase{"BlinkOffIgnoresTheStamp", false, CheckTimeOf(2000, 1, 1, 0, 0, 0), 0}),
    [](const testing::TestParamInfo<StampCase>& info) { return std::string(info.param.name); });

TEST_F(BoardTest, FirstTickAfterRestoringBoardModeReplacesTheMemo) {
  const std::string path = Write("restored.txt", "board line\n");
  ChipSettings settings;
  settings.Memo(BoardMemo({path})).WithModes(BoardModes(IDM_INTERVAL_1MIN, true, FarFutureCheck()));
  ScopedChip chip(settings);  // shows the memo: board mode was off while it was created
  ASSERT_EQ(chip.initResult(), 0);
  EXPECT_EQ(Api().DoTimer(chip.get()), 7);
  ExpectShows(chip, settings, {"board line"});
}

// ---------------------------------------------------------------------------
// The saved block remembers when the board was last re-read.

std::int64_t SecondsOf(const SYSTEMTIME& time) {
  FILETIME file{};
  if (!SystemTimeToFileTime(&time, &file)) return -1;
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(file.dwHighDateTime) << 32 | file.dwLowDateTime) /
                                   10000000u);
}

TEST_F(BoardTest, SaveDataHoldsTheTimeOfTheLastReread) {
  const std::string path = Write("checked.txt", "text\n");
  ChipSettings settings;
  settings.Memo(BoardMemo({path})).Zoomed(1).WithModes(BoardModes(IDM_INTERVAL_1MIN, false, FarFutureCheck()));
  auto chip = ShowBoard(settings);

  SYSTEMTIME before{};
  GetLocalTime(&before);
  before.wMilliseconds = 0;
  ASSERT_EQ(Api().DoTimer(chip->get()), 0);
  SYSTEMTIME after{};
  GetLocalTime(&after);

  SaveBlock block{};
  ASSERT_TRUE(ReadSaveBlock(chip->get(), block));
  ASSERT_EQ(block.length, 60);
  EXPECT_EQ(block.boardMode, IDM_BOARD_MODE);
  const std::int32_t* tm = FieldsOf(block.lastCheck);  // sec, min, hour, mday, mon, year, wday, yday, isdst
  SYSTEMTIME check = LocalTime(static_cast<WORD>(tm[5] + 1900), static_cast<WORD>(tm[4] + 1),
                               static_cast<WORD>(tm[3]), static_cast<WORD>(tm[2]), static_cast<WORD>(tm[1]),
                               static_cast<WORD>(tm[0]));
  const std::int64_t checked = SecondsOf(check);
  ASSERT_GE(checked, 0) << "not a valid time: " << tm[5] << "/" << tm[4] << "/" << tm[3];
  EXPECT_GE(checked, SecondsOf(before) - 2);
  EXPECT_LE(checked, SecondsOf(after) + 2);

  // The weekday and the day of the year belong to the same date.
  FILETIME file{};
  ASSERT_TRUE(SystemTimeToFileTime(&check, &file));
  SYSTEMTIME roundTrip{};
  ASSERT_TRUE(FileTimeToSystemTime(&file, &roundTrip));
  EXPECT_EQ(tm[6], roundTrip.wDayOfWeek);
  const SYSTEMTIME newYear = LocalTime(check.wYear, 1, 1, check.wHour, check.wMinute, check.wSecond);
  EXPECT_EQ(tm[7], (checked - SecondsOf(newYear)) / 86400);
  EXPECT_TRUE(tm[8] == 0 || tm[8] == 1) << "daylight flag " << tm[8];
}

TEST_F(BoardTest, SaveDataKeepsTheLastCheckWhenNothingWasReread) {
  const std::string path = Write("unchecked.txt", "text\n");
  ChipSettings settings;
  const CheckTime saved = CheckTimeOf(2024, 2, 29, 13, 14, 15);
  settings.Memo(BoardMemo({path})).WithModes(BoardModes(IDM_INTERVAL_1MIN, false, saved));
  auto chip = ShowBoard(settings);
  ASSERT_TRUE(WriteBoardFile(path, "changed\n"));
  ASSERT_EQ(Api().DoTimer(chip->get()), 0);  // blink off and not zoomed: no re-read

  SaveBlock block{};
  ASSERT_TRUE(ReadSaveBlock(chip->get(), block));
  for (int i = 0; i < 9; ++i) EXPECT_EQ(FieldsOf(block.lastCheck)[i], FieldsOf(saved)[i]) << "field " << i;
}

// ---------------------------------------------------------------------------
// Zoom re-reads the board at once.

TEST_F(BoardTest, ZoomRereadsAtOnce) {
  const std::string path = Write("zoom.txt", "before zoom\n");
  ChipSettings settings;
  settings.Memo(BoardMemo({path})).WithModes(BoardModes(IDM_INTERVAL_1MIN, false, FarFutureCheck()));
  auto chip = ShowBoard(settings);

  EXPECT_EQ(Api().Zoom(chip->get(), 0, 1), 0) << "unchanged board";
  ASSERT_TRUE(WriteBoardFile(path, "after zoom\n"));
  EXPECT_EQ(Api().Zoom(chip->get(), 0, 1), 3) << "changed board";
  ExpectShows(*chip, settings, {"after zoom"});

  // Unzooming reads nothing, and an unzoomed chip without blink is not re-read.
  ASSERT_TRUE(WriteBoardFile(path, "while unzoomed\n"));
  EXPECT_EQ(Api().Zoom(chip->get(), 0, 0), 0);
  EXPECT_EQ(Api().DoTimer(chip->get()), 0);
  ExpectShows(*chip, settings, {"after zoom"});
}

TEST_F(BoardTest, ZoomRereadsOnceWhenTheIntervalIsNone) {
  const std::string path = Write("none.txt", "one\n");
  ChipSettings settings;
  settings.Memo(BoardMemo({path})).WithModes(BoardModes(IDM_INTERVAL_NONE, true, FarFutureCheck()));
  auto chip = ShowBoard(settings);

  ASSERT_TRUE(WriteBoardFile(path, "two\n"));
  EXPECT_EQ(Api().Zoom(chip->get(), 0, 1), 7) << "blink is on";
  ASSERT_TRUE(WriteBoardFile(path, "three\n"));
  EXPECT_EQ(Api().DoTimer(chip->get()), 0) << "the zoom's one re-read is spent";
  ExpectShows(*chip, settings, {"two"});
}

TEST_F(BoardTest, FileHeldOpenForWritingByAnotherHandleIsStillRead) {
  const std::string path = folder_.File("held.txt");
  HeldFile holder(path);
  ASSERT_TRUE(holder.ok());
  ASSERT_TRUE(holder.Rewrite("held text\n"));
  ChipSettings settings;
  settings.Memo(BoardMemo({path}));
  ScopedChip chip(settings);
  ASSERT_EQ(Api().DoDrawExMenu(chip.get(), hwnd(), IDM_BOARD_MODE), 3);
  ExpectShows(chip, settings, {"held text"});

  ASSERT_TRUE(holder.Rewrite("rewritten while held\n"));
  EXPECT_EQ(Api().Zoom(chip.get(), 0, 1), 3);
  ExpectShows(chip, settings, {"rewritten while held"});
}

// ---------------------------------------------------------------------------
// Update stamps: each board line shows its own file's last-write time.

TEST_F(BoardTest, UpdateStampsShowEachFilesOwnLastWriteTime) {
  // "更新 %UPDATE% %UPTIME%"
  const std::string first = Write("first.txt", "\x8D\x58\x90\x56 %UPDATE% %UPTIME%\n");
  // "%update YYYY年MM月DD日% %UPTIME HH時%"
  const std::string second =
      Write("second.txt", "%update YYYY\x94\x4EMM\x8C\x8E" "DD\x93\xFA% %UPTIME HH\x8E\x9E%\n");
  ASSERT_TRUE(SetLocalWriteTime(first, LocalTime(2026, 12, 7, 9, 5, 3)));    // a Monday
  ASSERT_TRUE(SetLocalWriteTime(second, LocalTime(2025, 3, 9, 17, 45, 30)));  // a Sunday
  ChipSettings settings;
  settings.Memo(BoardMemo({first, second}));
  ScopedChip chip(settings);
  ASSERT_EQ(Api().DoDrawExMenu(chip.get(), hwnd(), IDM_BOARD_MODE), 3);
  ExpectShows(chip, settings,
              {// "更新 2026/12/07(Mon) 09:05:03"
               "\x8D\x58\x90\x56 2026/12/07(Mon) 09:05:03",
               // " 2025年03月09日  17時"
               " 2025\x94\x4E" "03\x8C\x8E" "09\x93\xFA  17\x8E\x9E"});
}

// ---------------------------------------------------------------------------
// Board files as editors save them today: UTF-8 without a mark (Notepad's
// default) and UTF-16 with one are converted by Windows' own tables; what
// code page 932 cannot hold shows as 〓, never as a best-fit look-alike.

TEST_F(BoardTest, Utf8AndUtf16FilesShowAsShiftJis) {
  // "お知らせ: 〜締切" with the wave dash U+301C that JIS-based editors write.
  const std::string utf8 = "\xE3\x81\x8A\xE7\x9F\xA5\xE3\x82\x89\xE3\x81\x9B: \xE3\x80\x9C\xE7\xB7\xA0\xE5\x88\x87\r\n";
  // Mark, "二つ目", CR LF, "¥5 €" (neither has a code of its own), LF.
  const std::string utf16 = std::string("\xFF\xFE\x8C\x4E\x64\x30\xEE\x76\r\0\n\0\xA5\0" "5\0 \0\xAC\x20\n\0", 22);
  const std::string a = Write("utf8.txt", utf8);
  const std::string b = Write("utf16.txt", utf16);
  ChipSettings settings;
  settings.Memo(BoardMemo({a, b})).WithModes(BoardModes(IDM_INTERVAL_1MIN, true, FarFutureCheck()));
  auto chip = ShowBoard(settings);
  ExpectShows(*chip, settings,
              {"\x82\xa8\x92\x6d\x82\xe7\x82\xb9: \x81\x60\x92\xf7\x90\xd8", kSecond, "\x81\xAC" "5 \x81\xAC"});
  EXPECT_EQ(Api().DoTimer(chip->get()), 0) << "the same files read again";
}

}  // namespace
}  // namespace kn::wine
