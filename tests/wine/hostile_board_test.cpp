// Board files built to hurt: huge files, random bytes, lead bytes at every
// line's end, megabyte lines, thousands of missing names, names past the
// path limit, a file locked by another handle, a file rewritten and truncated
// while it is read, folders and wildcards. Each must end in a defined picture:
// the lines the text-mode reading rules give, drawn as a memo of exactly those
// lines would be drawn, or the loader's own message.
//
// KN_SOAK_BOARD_MB sets the size of the huge files (scripts/soak.sh: 100).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "wine/harness/board_files.h"
#include "wine/harness/chip_fixture.h"
#include "wine/harness/key_state.h"
#include "wine/harness/reference_painter.h"
#include "wine/harness/scratch_folder.h"
#include "wine/harness/soak_settings.h"

namespace kn::wine {
namespace {

// "データがありません。"
const char kNoData[] = "\x83\x66\x81\x5B\x83\x5E\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42";

// The lines a board file's bytes must show, by the text-mode reading rules:
// CR bytes vanish, 0x1A ends the file, a line is read in pieces of at most
// 1024 bytes, a piece starting with ';' is not shown, a piece is cut at its
// first LF or 0 byte, and an empty piece shows as one blank.
std::vector<std::string> ShownLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string piece;
  auto finishPiece = [&] {
    if (piece.empty()) return;
    if (piece[0] != ';') {
      const std::string line = piece.substr(0, piece.find_first_of(std::string("\n\0", 2)));
      lines.push_back(line.empty() ? " " : line);
    }
    piece.clear();
  };
  for (const char byte : bytes) {
    if (byte == '\x1A') break;
    if (byte == '\r') continue;
    piece += byte;
    if (byte == '\n' || piece.size() == 1024) finishPiece();
  }
  finishPiece();
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string memo;
  for (const std::string& line : lines) memo += line + "\r\n";
  return memo;
}

std::string Repeat(const std::string& piece, std::size_t count) {
  std::string text;
  text.reserve(piece.size() * count);
  for (std::size_t i = 0; i < count; ++i) text += piece;
  return text;
}

// Writes a file piece by piece, so a file of a hundred megabytes never has to
// be held whole; `next` fills the chunk and returns false after the last one.
template <typename Next>
bool WriteInChunks(const std::string& path, Next next) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string chunk;
  bool ok = true;
  bool more = true;
  while (ok && more) {
    chunk.clear();
    more = next(chunk);
    DWORD written = 0;
    ok = chunk.empty() ||
         (WriteFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &written, nullptr) && written == chunk.size());
  }
  CloseHandle(file);
  return ok;
}

// The file's last-write time as local time, to set up stamp comparisons.
bool SetFolderWriteTime(const std::string& path, const SYSTEMTIME& local) {
  FILETIME localFile{};
  FILETIME utc{};
  if (!SystemTimeToFileTime(&local, &localFile) || !LocalFileTimeToFileTime(&localFile, &utc)) return false;
  HANDLE folder = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return false;
  const BOOL ok = SetFileTime(folder, nullptr, nullptr, &utc);
  CloseHandle(folder);
  return ok != FALSE;
}

class HostileBoardTest : public PluginTest {
 protected:
  // Taller than the other tests' chips, so a page holds a few wrapped lines.
  static constexpr int kWidth = 320;
  static constexpr int kHeight = 400;

  void SetUp() override {
    PluginTest::SetUp();
    if (HasFatalFailure()) return;
    window_ = std::make_unique<TestWindow>(kWidth, kHeight);
    ASSERT_NE(window_->hwnd(), nullptr);
    boardCanvas_ = std::make_unique<Canvas>(window_->ClientRect());
    memoCanvas_ = std::make_unique<Canvas>(window_->ClientRect());
    ASSERT_TRUE(boardCanvas_->ok() && memoCanvas_->ok());
    ASSERT_TRUE(scratch_.ok());
  }

  HWND hwnd() const { return window_->hwnd(); }
  RECT client() const { return window_->ClientRect(); }

  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = scratch_.Join(name);
    EXPECT_TRUE(WriteBoardFile(path, bytes)) << "cannot write " << name;
    return path;
  }

  // A chip that shows the board of `memo`: board mode comes from the saved
  // block, so the second Update reads the files.
  std::unique_ptr<ScopedChip> ShowBoard(const std::string& memo, const Modes& modes) {
    settings_.Memo(memo).WithModes(modes);
    auto chip = std::make_unique<ScopedChip>(settings_);
    EXPECT_EQ(chip->initResult(), 0);
    EXPECT_EQ(chip->Update(settings_), 1);
    return chip;
  }
  std::unique_ptr<ScopedChip> ShowBoard(const std::string& memo) {
    return ShowBoard(memo, BoardModes(IDM_INTERVAL_1MIN, false, FarFutureCheck()));
  }

  int Paint(const ScopedChip& chip, Canvas& canvas) {
    canvas.Fill(RGB(1, 2, 3));
    return Api().DrawChip(chip.get(), hwnd(), canvas.dc());
  }

  // A read that outlasts the host's wait shows the reading line until a
  // tick delivers it (3); one done at once leaves ticks answering 0 (blink
  // off, not zoomed), so this waits at most 5 s for nothing.
  void AwaitSlowRead(const ScopedChip& chip) {
    for (int i = 0; i < 100 && Api().DoTimer(chip.get()) == 0; ++i) Sleep(50);
  }

  // The chip shows exactly these plain lines (no markup in them).
  void ExpectShowsPlain(const ScopedChip& chip, const std::vector<std::string>& lines) {
    ASSERT_EQ(Paint(chip, *boardCanvas_), 0);
    Canvas expected(client());
    PaintReference(expected, client(), {lines, settings_.textColor(), settings_.backColor(), settings_.font()});
    EXPECT_EQ(boardCanvas_->FirstDifference(expected), "");
  }

  int Click(const ScopedChip& chip, POINT point, bool alt = false) {
    ScopedKeys keys(false, alt);
    return ClickChipAt(chip.get(), hwnd(), point);
  }

  // The board chip pages like a memo chip holding exactly `lines`: both are
  // put in scroll mode and stepped side by side, a page at a time (or a line
  // when a page moves nothing), comparing every picture, for at most
  // `maxSteps` steps or until neither moves. Returns the steps taken.
  int ExpectPagesLikeMemo(const ScopedChip& board, const std::vector<std::string>& lines, int maxSteps) {
    ChipSettings memoSettings = settings_;
    memoSettings.Memo(JoinLines(lines)).WithModes(Modes{});
    ScopedChip memo(memoSettings);
    EXPECT_EQ(memo.initResult(), 0);
    const RECT c = client();
    const POINT pageDown{5, c.bottom - 8};
    const POINT lineDown{5, c.top + (c.bottom - c.top) / 2 + 2};
    EXPECT_EQ(Click(board, pageDown, true), 1) << "Alt-click: scroll mode on";
    EXPECT_EQ(Click(memo, pageDown, true), 1);
    int steps = 0;
    for (; steps < maxSteps; ++steps) {
      EXPECT_EQ(Paint(board, *boardCanvas_), 0);
      EXPECT_EQ(Paint(memo, *memoCanvas_), 0);
      if (steps == 0) {
        EXPECT_GT(memoCanvas_->CountOther(settings_.backColor(), TextRect(c)), 0) << "the memo shows no text";
      }
      const std::string difference = boardCanvas_->FirstDifference(*memoCanvas_);
      EXPECT_EQ(difference, "") << "step " << steps;
      if (!difference.empty()) break;
      int moved = Click(board, pageDown);
      EXPECT_EQ(Click(memo, pageDown), moved) << "page down at step " << steps;
      if (moved == 0) {
        moved = Click(board, lineDown);
        EXPECT_EQ(Click(memo, lineDown), moved) << "line down at step " << steps;
      }
      if (moved == 0) break;
    }
    return steps;
  }

  ScratchFolder scratch_{"hostile_board"};
  ChipSettings settings_;
  std::unique_ptr<TestWindow> window_;
  std::unique_ptr<Canvas> boardCanvas_;
  std::unique_ptr<Canvas> memoCanvas_;
};

// ---- Huge files ------------------------------------------------------------

std::size_t HugeFileBytes() { return static_cast<std::size_t>(BoardMegabytes()) << 20; }

// Almost all comment lines: nothing of them shows, but the whole file must
// be read to reach its last line.
TEST_F(HostileBoardTest, HugeFileOfCommentsIsReadToItsLastLine) {
  const std::string path = scratch_.Join("huge-comments.txt");
  const std::string comment = ";" + std::string(1022, 'c') + "\n";
  const std::size_t comments = HugeFileBytes() / comment.size();
  std::size_t written = 0;
  ASSERT_TRUE(WriteInChunks(path, [&](std::string& chunk) {
    if (written == 0) chunk += "first line\n";
    while (written < comments && chunk.size() < (1u << 20)) {
      chunk += comment;
      ++written;
    }
    if (written < comments) return true;
    chunk += "last line\n";
    return false;
  }));

  const Stopwatch load;
  auto chip = ShowBoard(BoardMemo({path}), BoardModes(IDM_INTERVAL_1MIN, false, FarFutureCheck()));
  ReportSeconds("huge_comments_load_" + std::to_string(BoardMegabytes()) + "MB", load.Seconds());
  ExpectShowsPlain(*chip, {"first line", "last line"});

  // A zoomed chip re-reads at once; the text is the same.
  const Stopwatch reread;
  EXPECT_EQ(Api().Zoom(chip->get(), 0, 1), 0);
  ReportSeconds("huge_comments_reread", reread.Seconds());
  ExpectShowsPlain(*chip, {"first line", "last line"});
}

std::string HugeTextLine(std::size_t index) {
  char head[24];
  std::snprintf(head, sizeof head, "row %07u ", static_cast<unsigned>(index));
  return head + std::string(index * 37 % 150, static_cast<char>('a' + index % 26));
}

// A huge board that is all text: the first lines show, the size request
// stops at the work area, and a re-read that finds the same text says so.
TEST_F(HostileBoardTest, HugeFileOfTextShowsItsFirstLines) {
  const std::string path = scratch_.Join("huge-text.txt");
  const std::size_t total = HugeFileBytes();
  std::size_t bytes = 0;
  std::size_t index = 0;
  ASSERT_TRUE(WriteInChunks(path, [&](std::string& chunk) {
    while (bytes < total && chunk.size() < (1u << 20)) {
      const std::string line = HugeTextLine(index++) + "\r\n";
      chunk += line;
      bytes += line.size();
    }
    return bytes < total;
  }));
  ReportFigure("huge_text_lines", static_cast<long long>(index));
  std::vector<std::string> firstLines;
  for (std::size_t i = 0; i < 200 && i < index; ++i) firstLines.push_back(HugeTextLine(i));

  const Stopwatch load;
  auto chip = ShowBoard(BoardMemo({path}), BoardModes(IDM_INTERVAL_1MIN, false, FarFutureCheck()));
  ReportSeconds("huge_text_load_" + std::to_string(BoardMegabytes()) + "MB", load.Seconds());

  const Stopwatch paint;
  ExpectShowsPlain(*chip, firstLines);
  ReportSeconds("huge_text_paint", paint.Seconds());

  const Stopwatch size;
  int proposed[2] = {1, 1};
  EXPECT_EQ(Api().CalcDefaultRect(chip->get(), hwnd(), proposed), 0);
  ReportSeconds("huge_text_size_request", size.Seconds());
  const SIZE expected = ReferenceSize(hwnd(), firstLines, settings_.font());
  EXPECT_EQ(proposed[0], expected.cx);
  EXPECT_EQ(proposed[1], expected.cy) << "the work area's height, not the whole board";

  const Stopwatch reread;
  EXPECT_EQ(Api().Zoom(chip->get(), 0, 1), 0) << "the same text";
  ReportSeconds("huge_text_reread", reread.Seconds());
}

// ---- Bytes no text file should hold ----------------------------------------

// Random bytes (0x00 and CR among them, lines far over 1024 bytes), then a
// 0x1A and more bytes that must never show.
std::string RandomBoardBytes(unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> percent(0, 99);
  std::string bytes = "random board\n";
  while (bytes.size() < 16 * 1024) {
    const int roll = percent(random);
    char next = static_cast<char>(byte(random));
    if (roll < 3) next = '\n';
    else if (roll < 4) next = '\r';
    else if (roll < 5) next = '\0';
    if (next == '\x1A') continue;
    bytes += next;
    if (bytes.size() == 8000) bytes += Repeat("wx ", 1000);  // a line of 3000 bytes and more, wrapping
  }
  bytes += "\nlast shown line\n\x1A" "after the end of the file\n";
  for (int i = 0; i < 1024; ++i) bytes += static_cast<char>(byte(random));
  return bytes;
}

bool HasUpdateStamp(const std::vector<std::string>& lines) {
  for (std::string line : lines) {
    for (char& c : line) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    if (line.find("%UPDATE") != std::string::npos || line.find("%UPTIME") != std::string::npos) return true;
  }
  return false;
}

TEST_F(HostileBoardTest, RandomBinaryBytesShowWhatTheReadingRulesGive) {
  const std::string bytes = RandomBoardBytes(20260507);
  ASSERT_NE(bytes.find('\0'), std::string::npos);
  const std::vector<std::string> lines = ShownLines(bytes);
  ASSERT_FALSE(HasUpdateStamp(lines)) << "pick another seed: the bytes hold a stamp field";
  ASSERT_EQ(lines.back(), "last shown line");
  const std::string path = Write("random.bin", bytes);
  auto chip = ShowBoard(BoardMemo({path}));
  const int steps = ExpectPagesLikeMemo(*chip, lines, 1000);
  ReportFigure("random_board_lines", static_cast<long long>(lines.size()));
  ReportFigure("random_board_pages", steps);
}

// Every line ends in a lead byte whose trail byte never comes: before a CR
// LF, before an LF, at the end of the file, and at the 1024-byte cut.
TEST_F(HostileBoardTest, LeadByteAsTheLastByteOfEveryLine) {
  const std::string bytes = std::string("abc\x81\n") +
                            "\x82\xA0\x82\xA2\x82\r\n"  // あい and a lone lead byte
                            "\x9F\n"
                            "\xE0\r\n"
                            ";\x81\n" +
                            std::string(1023, 'a') + "\x82\xA0" "tail\n" + "x\xFC";
  const std::vector<std::string> lines = ShownLines(bytes);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[4], std::string(1023, 'a') + "\x82") << "the cut keeps the lead byte in the first piece";
  EXPECT_EQ(lines[5], "\xA0tail");
  auto chip = ShowBoard(BoardMemo({Write("lead.txt", bytes)}));
  ExpectShowsPlain(*chip, lines);
  ExpectPagesLikeMemo(*chip, lines, 50);
}

// A line of a megabyte is read in 1024-byte pieces: a piece that starts with
// ';' is dropped, and a kanji line is cut between the two bytes of a kanji
// at every piece.
TEST_F(HostileBoardTest, MegabyteLinesAreReadInPieces) {
  const std::string comments = "before\n" + Repeat(";" + std::string(1023, 'x'), 1024) + "\nafter\n";
  const std::string kanji = "x" + Repeat("\x8A\xBF", 512 * 1024) + "\n";  // 漢
  const std::vector<std::string> commentLines = ShownLines(comments);
  ASSERT_EQ(commentLines, (std::vector<std::string>{"before", " ", "after"}));
  const std::vector<std::string> kanjiLines = ShownLines(kanji);
  ASSERT_EQ(kanjiLines.size(), 1025u);

  auto chip = ShowBoard(BoardMemo({Write("comments.txt", comments)}));
  ExpectShowsPlain(*chip, commentLines);

  const Stopwatch load;
  auto kanjiChip = ShowBoard(BoardMemo({Write("kanji.txt", kanji)}));
  ReportSeconds("megabyte_kanji_line_load", load.Seconds());
  ExpectPagesLikeMemo(*kanjiChip, kanjiLines, 12);
}

// ---- Names ------------------------------------------------------------------

TEST_F(HostileBoardTest, TenThousandMissingNamesThenOneFile) {
  const std::string real = Write("real.txt", "the only file\n");
  std::string missing;
  for (int i = 0; i < 10000; ++i) {
    char name[64];
    switch (i % 3) {
      case 0: std::snprintf(name, sizeof name, "missing-%05d.txt", i); missing += scratch_.Join(name); break;
      case 1: std::snprintf(name, sizeof name, "Z:\\kn-missing\\board-%05d.txt", i); missing += name; break;
      default: std::snprintf(name, sizeof name, "kn-missing-%05d.txt", i); missing += name; break;
    }
    missing += "\r\n";
  }

  const Stopwatch load;
  auto chip = ShowBoard(missing + real + "\r\n");
  ReportSeconds("ten_thousand_missing_load", load.Seconds());
  AwaitSlowRead(*chip);  // ten thousand lookups may outlast the host's wait
  ExpectShowsPlain(*chip, {"the only file"});

  auto none = ShowBoard(missing);
  AwaitSlowRead(*none);
  ExpectShowsPlain(*none, {kNoData});
}

// A file written and removed through the wide API, which takes names that
// the ANSI API refuses (ASCII names only).
class WideNamedFile {
 public:
  WideNamedFile(const std::string& name, const std::string& bytes) : name_(name.begin(), name.end()) {
    HANDLE file = CreateFileW(name_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ok_ = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
  }
  ~WideNamedFile() { DeleteFileW(name_.c_str()); }
  WideNamedFile(const WideNamedFile&) = delete;
  WideNamedFile& operator=(const WideNamedFile&) = delete;

  bool ok() const { return ok_; }

 private:
  std::wstring name_;
  bool ok_ = false;
};

// Names longer than the path limit (259 bytes and the NUL) cannot name a
// file, however they are rejected; a name of exactly 259 bytes can.
TEST_F(HostileBoardTest, NamesLongerThanThePathLimit) {
  const std::string real = Write("real.txt", "short name\n");
  const std::string folder = scratch_.path() + "\\";
  ASSERT_LT(folder.size() + 8, 259u);
  const std::string longest = folder + std::string(259 - folder.size() - 4, 'n') + ".txt";
  ASSERT_EQ(longest.size(), 259u);
  ASSERT_TRUE(WriteBoardFile(longest, "exactly 259\n")) << "cannot write a file with a 259-byte name";
  // One byte more names a real file too, written through the wide API, which
  // has no such limit.
  const std::string tooLong = folder + std::string(259 - folder.size() - 4, 'n') + "x.txt";
  ASSERT_EQ(tooLong.size(), 260u);
  const WideNamedFile tooLongFile(tooLong, "too long\n");
  ASSERT_TRUE(tooLongFile.ok()) << "cannot write a file with a 260-byte name";

  const std::vector<std::string> names = {
      "Z:\\kn-missing\\" + std::string(300, 'a'),
      folder + std::string(5000, 'b') + ".txt",
      folder + std::string(258 - folder.size(), 'c') + "\x82\xA0" "d.txt",  // a kanji across byte 259
      std::string(100000, 'e'),
      tooLong,
      longest,
      real,
  };
  auto chip = ShowBoard(BoardMemo(names));
  ExpectShowsPlain(*chip, {"exactly 259", "short name"});
}

// ---- Files others hold -------------------------------------------------------

// A second handle that shares nothing, as a program that locks its file would
// hold it. (A handle of this process: starting another process takes minutes
// under the emulator, and the sharing check does not care whose handle it is.)
FileHandle OpenExclusively(const std::string& path) {
  return FileHandle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool OpensForReading(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// The locked file shows nothing, but its time still counts: the first re-read
// compares it with the last check. Once the lock goes, its lines show.
TEST_F(HostileBoardTest, FileLockedByAnotherHandle) {
  const std::string locked = Write("locked.txt", "locked text\n");
  const std::string open = Write("open.txt", "open text\n");
  ASSERT_TRUE(SetLocalWriteTime(locked, LocalTime(2026, 6, 1, 12, 0, 0)));
  ASSERT_TRUE(SetLocalWriteTime(open, LocalTime(2020, 1, 1, 12, 0, 0)));
  FileHandle lock = OpenExclusively(locked);
  ASSERT_TRUE(lock);
  ASSERT_FALSE(OpensForReading(locked)) << "the lock does not keep readers out";

  const Modes checkedIn2025 = BoardModes(IDM_INTERVAL_1MIN, true, CheckTimeOf(2025, 1, 1, 0, 0, 0));
  auto onlyOpen = ShowBoard(BoardMemo({open}), checkedIn2025);
  EXPECT_EQ(Api().DoTimer(onlyOpen->get()), 0) << "the open file is older than the last check";

  auto onlyLocked = ShowBoard(BoardMemo({locked}), checkedIn2025);
  ExpectShowsPlain(*onlyLocked, {kNoData});

  auto chip = ShowBoard(BoardMemo({locked, open}), checkedIn2025);
  ExpectShowsPlain(*chip, {"open text"});
  EXPECT_EQ(Api().DoTimer(chip->get()), 7) << "the locked file is newer than the last check";
  EXPECT_EQ(Api().DoTimer(chip->get()), 0);

  lock.reset();
  EXPECT_EQ(Api().Zoom(chip->get(), 0, 1), 7) << "its lines appear";
  ExpectShowsPlain(*chip, {"locked text", "open text"});
}

// A writer thread rewrites and truncates the file as fast as it can while the
// chip re-reads it. Each version is comment lines with one marker line at its
// end, and overwrites the other in place (or after truncating to nothing), so
// a reader can meet the short version, the long one, the short one over the
// long one's tail, or no marker yet. A marker differs from a comment only in
// its first byte, so a line read half old and half new is still one of the
// two; and the sizes are whole pages, so a truncation never zeroes the tail
// of a page that a reader may be copying.
class RewritingWriter {
 public:
  RewritingWriter(const std::string& path, std::vector<std::string> versions)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)),
        versions_(std::move(versions)) {
    if (ok()) thread_ = std::thread([this] { Run(); });
  }
  ~RewritingWriter() { Stop(); }
  RewritingWriter(const RewritingWriter&) = delete;
  RewritingWriter& operator=(const RewritingWriter&) = delete;

  bool ok() const { return static_cast<bool>(handle_); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  int rewrites() const { return rewrites_; }

 private:
  void Run() {
    for (int i = 0; !stop_; ++i) {
      const std::string& bytes = versions_[i % versions_.size()];
      const bool truncateFirst = (i / versions_.size()) % 2 == 1;
      SetFilePointer(handle_.get(), 0, nullptr, FILE_BEGIN);
      if (truncateFirst) SetEndOfFile(handle_.get());
      DWORD written = 0;
      WriteFile(handle_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
      SetEndOfFile(handle_.get());
      ++rewrites_;
    }
  }

  FileHandle handle_;
  std::vector<std::string> versions_;
  std::atomic<bool> stop_{false};
  std::atomic<int> rewrites_{0};
  std::thread thread_;
};

TEST_F(HostileBoardTest, FileRewrittenAndTruncatedWhileItIsRead) {
  const std::string blanks(13, ' ');
  const std::string comment = ";" + blanks + "\r\n";
  const std::string markA = "A" + blanks + "\r\n";
  const std::string markB = "B" + blanks + "\r\n";
  ASSERT_EQ(comment.size(), 16u);
  const std::string path = Write("racing.txt", "");
  const int rereads = std::max(20, SoakCalls() / 8);

  // The pictures a re-read may leave: the markers in file order, or none.
  const std::vector<std::vector<std::string>> outcomes = {{"A" + blanks}, {"B" + blanks}, {"B" + blanks, "A" + blanks}, {kNoData}};
  std::vector<std::unique_ptr<Canvas>> pictures;
  for (const auto& lines : outcomes) {
    pictures.push_back(std::make_unique<Canvas>(client()));
    PaintReference(*pictures.back(), client(), {lines, settings_.textColor(), settings_.backColor(), settings_.font()});
  }
  std::vector<int> seen(outcomes.size(), 0);

  settings_.Zoomed(1);  // a zoomed chip re-reads on every tick
  auto chip = ShowBoard(BoardMemo({path}));
  int changes = 0;
  {
    RewritingWriter writer(path, {Repeat(comment, 1023) + markA, Repeat(comment, 511) + markB});
    ASSERT_TRUE(writer.ok());
    for (int i = 0; i < rereads; ++i) {
      const int answer = Api().DoTimer(chip->get());
      ASSERT_TRUE(answer == 0 || answer == 3) << "re-read " << i << " answered " << answer;
      changes += answer == 3;
      ASSERT_EQ(Paint(*chip, *boardCanvas_), 0);
      std::size_t match = 0;
      while (match < pictures.size() && !boardCanvas_->FirstDifference(*pictures[match]).empty()) ++match;
      ASSERT_LT(match, pictures.size()) << "re-read " << i << " shows none of the possible boards; against A, B, "
                                        << "B A and none: " << boardCanvas_->FirstDifference(*pictures[0]) << "; "
                                        << boardCanvas_->FirstDifference(*pictures[1]) << "; "
                                        << boardCanvas_->FirstDifference(*pictures[2]) << "; "
                                        << boardCanvas_->FirstDifference(*pictures[3]);
      ++seen[match];
    }
    writer.Stop();
    ReportFigure("racing_rewrites", writer.rewrites());
  }
  ReportFigure("racing_rereads", rereads);
  ReportFigure("racing_changes_seen", changes);
  ReportFigure("racing_seen_A_B_BA_none",
               std::to_string(seen[0]) + "/" + std::to_string(seen[1]) + "/" + std::to_string(seen[2]) + "/" +
                   std::to_string(seen[3]));

  ASSERT_TRUE(WriteBoardFile(path, "final line\r\n"));
  EXPECT_EQ(Api().DoTimer(chip->get()), 3);
  ExpectShowsPlain(*chip, {"final line"});
}

// ---- Names that match no plain file -------------------------------------------

// A listed folder and a wildcard that matches a file give no lines, but their
// times count at the first re-read; a wildcard that matches nothing counts
// for nothing.
struct ListedCase {
  const char* name;
  std::vector<std::string> listed;  // "@folder", "@wildcard", "@nothing", "@real"
  std::vector<std::string> shown;
  int firstTick;
};

class ListedNameTest : public HostileBoardTest, public testing::WithParamInterface<ListedCase> {};

TEST_P(ListedNameTest, ShowsOnlyPlainFilesAndCountsEveryMatchForTheTime) {
  const std::string real = Write("real.txt", "real line\n");
  ASSERT_TRUE(SetLocalWriteTime(real, LocalTime(2020, 1, 1, 0, 0, 0)));
  ASSERT_TRUE(scratch_.MakeFolders("sub"));
  const std::string inner = Write("sub\\inner.txt", "inner line\n");
  ASSERT_TRUE(SetLocalWriteTime(inner, LocalTime(2026, 6, 1, 0, 0, 0)));
  const std::string folder = scratch_.Join("sub");
  ASSERT_TRUE(SetFolderWriteTime(folder, LocalTime(2026, 6, 2, 0, 0, 0)));

  std::vector<std::string> names;
  for (const std::string& token : GetParam().listed) {
    if (token == "@folder") names.push_back(folder);
    else if (token == "@wildcard") names.push_back(folder + "\\*.txt");
    else if (token == "@nothing") names.push_back(folder + "\\*.none");
    else names.push_back(real);
  }
  auto chip = ShowBoard(BoardMemo(names), BoardModes(IDM_INTERVAL_1MIN, true, CheckTimeOf(2025, 1, 1, 0, 0, 0)));
  ExpectShowsPlain(*chip, GetParam().shown);
  EXPECT_EQ(Api().DoTimer(chip->get()), GetParam().firstTick) << "first re-read";
  ExpectShowsPlain(*chip, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    HostileBoard, ListedNameTest,
    testing::Values(ListedCase{"PlainFileOnly", {"@real"}, {"real line"}, 0},
                    ListedCase{"Folder", {"@folder", "@real"}, {"real line"}, 7},
                    ListedCase{"WildcardMatchingAFile", {"@wildcard", "@real"}, {"real line"}, 7},
                    ListedCase{"WildcardMatchingNothing", {"@nothing", "@real"}, {"real line"}, 0},
                    ListedCase{"NoPlainFile", {"@folder", "@wildcard"}, {kNoData}, 7}),
    [](const testing::TestParamInfo<ListedCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kn::wine
