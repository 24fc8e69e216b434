// LoadBoardText and NextMemoLine over an in-memory file system with exact
// times, and over real files in a temporary folder through StdFileSystem.
#include "board/board_loader.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "native/fake_file_system.h"
#include "platform/std_file_system.h"

namespace kn {
namespace {

namespace fs = std::filesystem;

const SystemTime kMonday = MakeSystemTime(2026, 12, 7, 1, 9, 5, 3);
const std::string kNoData(kBoardNoDataText);
const std::string kReadError(kBoardReadErrorText);

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

// ---------------------------------------------------------------------------
// One listed file: its bytes and the text shown.

struct ContentCase {
  const char* name;
  std::string contents;
  std::string expected;
};
void PrintTo(const ContentCase& c, std::ostream* out) { *out << c.name; }

class BoardContentsTest : public ::testing::TestWithParam<ContentCase> {};

TEST_P(BoardContentsTest, ShowsTheFileAsBoardLines) {
  // Chunk sizes put every buffer boundary of the reader somewhere else.
  for (const std::size_t chunk : {std::size_t{1}, std::size_t{7}, std::size_t{4096}, std::size_t{1} << 20}) {
    SCOPED_TRACE("read chunk " + std::to_string(chunk));
    FakeFileSystem files(chunk);
    files.AddFile("a.txt", GetParam().contents, kMonday);
    SystemTime newest{};
    EXPECT_EQ(LoadBoardText("a.txt", files, newest), GetParam().expected);
  }
}

const std::string k1024 = Repeat('x', 1024);

INSTANTIATE_TEST_SUITE_P(
    TextModeRules, BoardContentsTest,
    ::testing::Values(
        ContentCase{"EmptyLineBecomesBlankAndNoTrailingBreak", "a\n\nb\n", "a\r\n \r\nb"},
        ContentCase{"CrLfLinesLikeLfLines", "a\r\n\r\nb\r\n", "a\r\n \r\nb"},
        ContentCase{"LoneCrLinesJoin", "a\rb\rc\r", "abc"},
        ContentCase{"LastLineWithoutLf", "a\nb", "a\r\nb"},
        ContentCase{"CtrlZEndsTheFile", "a\nb\x1A" "c\nd\n", "a\r\nb"},
        ContentCase{"CtrlZFirstGivesNothing", "\x1A" "a\n", kNoData},
        ContentCase{"EmptyFile", "", kNoData},
        ContentCase{"OnlyComments", ";one\n;two", kNoData},
        ContentCase{"CommentLinesDropped", ";c\nb\n;d\n", "b"},
        ContentCase{"BlankBeforeSemicolonIsShown", " ;c\n", " ;c"},
        ContentCase{"NulCutsTheLine", std::string("ab\0cd\ne\n", 8), "ab\r\ne"},
        ContentCase{"NulFirstGivesBlank", std::string("\0x\n", 3), " "},
        ContentCase{"Line1024ThenLfGivesExtraBlank", k1024 + "\n", k1024 + "\r\n "},
        ContentCase{"Line1500InTwoPieces", Repeat('x', 1500) + "\n", k1024 + "\r\n" + Repeat('x', 476)},
        ContentCase{"SecondPieceCommentDropped", k1024 + ";" + Repeat('y', 475) + "\nz", k1024 + "\r\nz"},
        ContentCase{"CrNotCountedInAPiece", Repeat('x', 1000) + "\r\r\r" + Repeat('x', 23) + "\r\n",
                    Repeat('x', 1023)},
        ContentCase{"HighBytesPassUnchanged", "\x82\xa0\xfc\xff\x80\n\x81", "\x82\xa0\xfc\xff\x80\r\n\x81"},
        ContentCase{"StampsExpandedWithoutPrefix", "up %UPDATE%\n%uptime%\n",
                    "up 2026/12/07(Mon)\r\n09:05:03"},
        // The stamps make the line longer than the piece it came from.
        ContentCase{"StampsGrowAFullPiece", Repeat('x', 1007) + "%UPDATE%%UPTIME%\n",
                    Repeat('x', 1007) + "2026/12/07(Mon)09:05:03"}),
    [](const ::testing::TestParamInfo<ContentCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// The memo as a list of names.

TEST(NextMemoLine, YieldsNamesAsWritten) {
  const std::string memo = "\r\n\ta.txt\r\n\r\n;c\n\t\t;d\n ;e\nb\tc \n\n";
  std::size_t cursor = 0;
  std::string name;
  std::vector<std::string> names;
  while (NextMemoLine(cursor, memo, name)) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"a.txt", ";c", ";d", " ;e", "b\tc "}));
  EXPECT_EQ(cursor, memo.size());
  EXPECT_FALSE(NextMemoLine(cursor, memo, name));
  EXPECT_TRUE(name.empty());
}

TEST(NextMemoLine, StopsAtNul) {
  const std::string memo("a\0b", 3);
  std::size_t cursor = 0;
  std::string name;
  ASSERT_TRUE(NextMemoLine(cursor, memo, name));
  EXPECT_EQ(name, "a");
  EXPECT_FALSE(NextMemoLine(cursor, memo, name));
}

TEST(LoadBoardText, CommentNamesAreNeverLookedUp) {
  FakeFileSystem files;
  files.AddFile(";c", "hidden\n", kMonday);
  files.AddFile(" ;e", "shown\n", kMonday);
  files.AddFile("b", "b\n", kMonday);
  SystemTime newest{};
  EXPECT_EQ(LoadBoardText("\t;c\n ;e\r\n\r\n\tb", files, newest), "shown\r\nb");
  EXPECT_EQ(files.lookedUp, (std::vector<std::string>{" ;e", "b"}));
}

TEST(LoadBoardText, TwoFilesFollowEachOtherWithoutSeparator) {
  FakeFileSystem files;
  files.AddFile("one", "a\n", kMonday);
  files.AddFile("two", "b\nc\n", kMonday);
  SystemTime newest{};
  EXPECT_EQ(LoadBoardText("one\r\ntwo", files, newest), "a\r\nb\r\nc");
  EXPECT_EQ(LoadBoardText("two\r\none", files, newest), "b\r\nc\r\na");
}

TEST(LoadBoardText, EachFileStampsWithItsOwnTime) {
  FakeFileSystem files;
  files.AddFile("one", "%UPDATE%", MakeSystemTime(2001, 2, 3, 6, 4, 5, 6));
  files.AddFile("two", "%UPTIME%", kMonday);
  SystemTime newest{};
  EXPECT_EQ(LoadBoardText("one\ntwo", files, newest), "2001/02/03(Sat)\r\n09:05:03");
}

TEST(LoadBoardText, EmptyMemoIsAReadErrorAndLeavesNewestAlone) {
  const SystemTime sentinel = MakeSystemTime(1, 2, 3, 4, 5, 6, 7, 8);
  for (const std::string& memo : {std::string(), std::string("\0a.txt", 6)}) {
    SCOPED_TRACE("memo length " + std::to_string(memo.size()));
    FakeFileSystem files;
    files.AddFile("a.txt", "a\n", kMonday);
    SystemTime newest = sentinel;
    EXPECT_EQ(LoadBoardText(memo, files, newest), kReadError);
    EXPECT_TRUE(SameSystemTime(newest, sentinel));
    EXPECT_TRUE(files.lookedUp.empty());
  }
}

TEST(LoadBoardText, NoLinesGiveTheNoDataMessage) {
  const struct {
    const char* name;
    const char* memo;
  } cases[] = {{"all files missing", "x\ny"}, {"only blank memo lines", "\r\n\t\n"}, {"only comments", ";a\n\t;b"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeFileSystem files;
    files.AddFile("a", "a\n", kMonday);
    SystemTime newest{};
    EXPECT_EQ(LoadBoardText(c.memo, files, newest), kNoData);
    EXPECT_TRUE(SameSystemTime(newest, SystemTime{}));
  }
}

TEST(LoadBoardText, UnreadableEntriesCountForTimeButGiveNoLines) {
  const SystemTime later = MakeSystemTime(2027, 1, 1, 5, 0, 0, 0);
  const SystemTime latest = MakeSystemTime(2027, 1, 1, 5, 0, 0, 1);
  FakeFileSystem files;
  files.AddFile("file", "a\n", kMonday);
  files.AddDirectory("dir", later);
  files.AddLockedFile("locked", latest);
  SystemTime newest{};
  EXPECT_EQ(LoadBoardText("file\ndir", files, newest), "a");
  EXPECT_TRUE(SameSystemTime(newest, later));
  EXPECT_EQ(LoadBoardText("locked\nfile", files, newest), "a");
  EXPECT_TRUE(SameSystemTime(newest, latest));
}

// ---------------------------------------------------------------------------
// The newest time: later date, then later time to the second; ties keep the
// earlier-listed file; milliseconds are copied but never compared.

struct NewestCase {
  const char* name;
  SystemTime first;
  SystemTime second;
  bool secondWins;
};
void PrintTo(const NewestCase& c, std::ostream* out) { *out << c.name; }

class NewestTimeTest : public ::testing::TestWithParam<NewestCase> {};

TEST_P(NewestTimeTest, PicksTheNewestFile) {
  const NewestCase& c = GetParam();
  FakeFileSystem files;
  files.AddFile("first", "1", c.first);
  files.AddFile("second", "2", c.second);
  SystemTime newest{};
  EXPECT_EQ(LoadBoardText("first\nsecond", files, newest), "1\r\n2");
  EXPECT_TRUE(SameSystemTime(newest, c.secondWins ? c.second : c.first));
}

INSTANTIATE_TEST_SUITE_P(
    Ties, NewestTimeTest,
    ::testing::Values(
        NewestCase{"SameDateLaterTime", MakeSystemTime(2026, 12, 7, 1, 9, 5, 3),
                   MakeSystemTime(2026, 12, 7, 1, 9, 5, 4), true},
        NewestCase{"SameDateEarlierTime", MakeSystemTime(2026, 12, 7, 1, 9, 5, 3),
                   MakeSystemTime(2026, 12, 7, 1, 8, 59, 59), false},
        NewestCase{"LaterDateEarlierTime", MakeSystemTime(2026, 12, 7, 1, 23, 0, 0),
                   MakeSystemTime(2026, 12, 8, 2, 0, 0, 0), true},
        NewestCase{"LaterMonthEarlierDay", MakeSystemTime(2026, 11, 30, 1, 0, 0, 0),
                   MakeSystemTime(2026, 12, 1, 2, 0, 0, 0), true},
        NewestCase{"EqualKeepsTheFirst", MakeSystemTime(2026, 12, 7, 1, 9, 5, 3, 1),
                   MakeSystemTime(2026, 12, 7, 1, 9, 5, 3, 999), false},
        NewestCase{"MillisecondsIgnored", MakeSystemTime(2026, 12, 7, 1, 9, 5, 3, 999),
                   MakeSystemTime(2026, 12, 7, 1, 9, 5, 4, 0), true}),
    [](const ::testing::TestParamInfo<NewestCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Names beyond the platform's path limit name no file and never reach the
// file system.

TEST(LoadBoardText, NamesLongerThanThePathLimitAreNotFound) {
  const std::string longest = Repeat('n', kMaxBoardFileName);
  const std::string tooLong = Repeat('n', kMaxBoardFileName + 1);
  const std::string huge = Repeat('h', 100000);
  FakeFileSystem files;
  files.AddFile(longest, "fits\n", kMonday);
  files.AddFile(tooLong, "too long\n", MakeSystemTime(2030, 1, 1, 2, 0, 0, 0));
  SystemTime newest{};
  EXPECT_EQ(LoadBoardText(tooLong + "\r\n" + huge + "\r\n" + longest, files, newest), "fits");
  EXPECT_TRUE(SameSystemTime(newest, kMonday));
  EXPECT_EQ(files.lookedUp, std::vector<std::string>{longest});
  EXPECT_EQ(LoadBoardText(tooLong, files, newest), kNoData);
}

// A quadratic builder (re-copying the whole text per line) takes minutes on
// this board; a linear one takes a fraction of a second, even instrumented.
TEST(LoadBoardText, CostGrowsLinearlyWithTheBoard) {
  const std::size_t lineCount = 200000;
  std::string contents;
  for (std::size_t i = 0; i < lineCount; ++i) contents += "line of the board\n";
  FakeFileSystem files(1 << 16);
  files.AddFile("big", contents, kMonday);
  SystemTime newest{};
  const auto start = std::chrono::steady_clock::now();
  const std::string text = LoadBoardText("big", files, newest);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(text.size(), lineCount * 19 - 2);
  EXPECT_LT(elapsed, std::chrono::seconds(20));
}

// ---------------------------------------------------------------------------
// Real files through StdFileSystem.

class StdBoardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    dir_ = fs::temp_directory_path() / ("kn_board_" + std::to_string(random()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  std::string Write(const std::string& name, const std::string& contents) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << contents;
    return path.string();
  }

  // Sets the last-write time to a local calendar time. The two clocks differ
  // by whole seconds, so the measured offset is rounded to the second.
  static void SetLocalWriteTime(const std::string& path, int year, int month, int day, int hour,
                                int minute, int second) {
    using namespace std::chrono;
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    const auto target = system_clock::from_time_t(std::mktime(&local)).time_since_epoch();
    const auto offset = round<seconds>(duration_cast<milliseconds>(fs::file_time_type::clock::now().time_since_epoch()) -
                                       duration_cast<milliseconds>(system_clock::now().time_since_epoch()));
    fs::last_write_time(fs::path(path),
                        fs::file_time_type(duration_cast<fs::file_time_type::duration>(target + offset)));
  }

  static int Packed(const SystemTime& t) { return t.wYear * 10000 + t.wMonth * 100 + t.wDay; }

  fs::path dir_;
  StdFileSystem files_;
};

TEST_F(StdBoardTest, ReadsFilesWithTheirLocalWriteTime) {
  const std::string a = Write("a.txt", "first\r\n;comment\r\n\r\n%UPDATE% %UPTIME%\r\n");
  const std::string b = Write("b.txt", "second");
  SetLocalWriteTime(a, 2026, 12, 7, 9, 5, 3);
  SetLocalWriteTime(b, 2001, 2, 3, 4, 5, 6);
  SystemTime newest{};
  EXPECT_EQ(LoadBoardText(a + "\r\n" + b, files_, newest),
            "first\r\n \r\n2026/12/07(Mon) 09:05:03\r\nsecond");
  EXPECT_TRUE(SameSystemTime(newest, MakeSystemTime(2026, 12, 7, 1, 9, 5, 3))) << Packed(newest);
}

TEST_F(StdBoardTest, FreshFileCarriesTodaysDate) {
  const std::time_t now = std::time(nullptr);
  const std::string a = Write("fresh.txt", "x");
  SystemTime written{};
  ASSERT_TRUE(files_.GetFileLocalTime(a, written));
  const std::tm local = *std::localtime(&now);
  const int today = (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
  EXPECT_LE(std::abs(Packed(written) - today), 1) << "a day boundary may pass, no more";
  EXPECT_EQ(written.wDayOfWeek, (local.tm_wday + (Packed(written) == today ? 0 : 1)) % 7);
}

TEST_F(StdBoardTest, DirectoryCountsForTimeButGivesNoLines) {
  const std::string a = Write("a.txt", "a\n");
  SetLocalWriteTime(a, 2001, 2, 3, 4, 5, 6);
  const std::string sub = (dir_ / "sub").string();
  fs::create_directory(sub);
  SystemTime dirTime{};
  ASSERT_TRUE(files_.GetFileLocalTime(sub, dirTime));
  EXPECT_GT(Packed(dirTime), 20010203);
  EXPECT_EQ(files_.OpenForReading(sub), nullptr);
  SystemTime newest{};
  EXPECT_EQ(LoadBoardText(a + "\n" + sub, files_, newest), "a");
  EXPECT_TRUE(SameSystemTime(newest, dirTime));
}

TEST_F(StdBoardTest, WildcardFindsTheFirstMatchButOpensNothing) {
  SetLocalWriteTime(Write("b.txt", "b\n"), 2003, 3, 3, 3, 3, 3);
  SetLocalWriteTime(Write("a.TXT", "a\n"), 2002, 2, 2, 2, 2, 2);
  SetLocalWriteTime(Write("0.log", "c\n"), 2004, 4, 4, 4, 4, 4);
  const struct {
    const char* pattern;
    int date;
  } cases[] = {{"*.txt", 20020202}, {"?.txt", 20020202}, {"b*", 20030303}, {"*.log", 20040404}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    const std::string name = (dir_ / c.pattern).string();
    SystemTime newest{};
    EXPECT_EQ(LoadBoardText(name, files_, newest), kNoData);
    EXPECT_EQ(Packed(newest), c.date);
    EXPECT_EQ(files_.OpenForReading(name), nullptr);
  }
  SystemTime unused{};
  EXPECT_FALSE(files_.GetFileLocalTime((dir_ / "*.none").string(), unused));
  EXPECT_FALSE(files_.GetFileLocalTime((dir_ / "*" / "a.TXT").string(), unused));
}

TEST_F(StdBoardTest, MissingNamesAreNotFound) {
  SystemTime unused{};
  EXPECT_FALSE(files_.GetFileLocalTime((dir_ / "missing.txt").string(), unused));
  EXPECT_FALSE(files_.GetFileLocalTime("", unused));
  EXPECT_EQ(files_.OpenForReading((dir_ / "missing.txt").string()), nullptr);
  EXPECT_EQ(files_.OpenForReading(""), nullptr);
}

// A board list written on Windows names its files with '\\'.
TEST_F(StdBoardTest, BackslashesSeparateFoldersAsOnWindows) {
  fs::create_directories(dir_ / "sub");
  Write("sub/news.txt", "hello\n");
  std::string name = dir_.string() + "\\sub\\news.txt";
#ifndef _WIN32
  SystemTime time{};
  EXPECT_TRUE(files_.GetFileLocalTime(name, time));
  EXPECT_NE(files_.OpenForReading(name), nullptr);
  SystemTime newest{};
  EXPECT_EQ(LoadBoardText(name + "\r\n", files_, newest), "hello");
#endif
}

TEST(WithNativeSeparators, BackslashesButNeverASecondByte) {
  const std::string hyo = "\x95\x5C";  // 表: its second byte is a backslash
#ifdef _WIN32
  EXPECT_EQ(WithNativeSeparators("a\\b"), "a\\b");
#else
  EXPECT_EQ(WithNativeSeparators("examples\\board\\notice.txt"), "examples/board/notice.txt");
  EXPECT_EQ(WithNativeSeparators(hyo + "\\" + hyo), hyo + "/" + hyo);
  EXPECT_EQ(WithNativeSeparators("\\\\server\\share"), "//server/share");
  EXPECT_EQ(WithNativeSeparators("\x83"), "\x83");  // a lead byte at the end
#endif
}

TEST(MatchesWildcard, MatchesLikeADirectoryListing) {
  const struct {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {"*", "abc", true},         {"*", ".", true},           {"?", "a", true},
      {"?", "ab", false},         {"a*c", "abbbc", true},     {"a*c", "abcd", false},
      {"*.txt", "A.TXT", true},   {"*.txt", "a.txt.bak", false}, {"*.*", "noext", true},
      {"a?c*", "abcd", true},     {"*b*b", "abab", true},     {"*b*b", "abba", false},
      {"", "", true},             {"", "a", false},           {"**", "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " / " + c.name);
    EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches);
  }
}

}  // namespace
}  // namespace kn
