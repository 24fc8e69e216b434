// The leak soak: every entry point called many times, in the mixtures a host
// produces, must leave the process's GDI objects, movable memory handles and
// private memory where they were after a warm-up. Each call's answer is
// checked on the way, and the chips must still show the right picture at the
// end. The counters are checked first, so a soak that finds nothing has
// counters that could have found something.
//
// KN_SOAK_CALLS sets the number of rounds (an ordinary test run keeps it
// short; scripts/soak.sh runs 10,000).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "wine/harness/board_files.h"
#include "wine/harness/chip_fixture.h"
#include "wine/harness/clipboard_text.h"
#include "wine/harness/gdi_objects.h"
#include "wine/harness/heap_census.h"
#include "wine/harness/key_state.h"
#include "wine/harness/process_memory.h"
#include "wine/harness/reference_painter.h"
#include "wine/harness/soak_settings.h"

namespace kn::wine {
namespace {

// ---- The counters see leaks ---------------------------------------------

TEST(LeakCounters, HeapCensusSeesMovableBlocksAndBytesComeAndGo) {
  // The first movable blocks of a process set up Wine's own books.
  GlobalFree(GlobalAlloc(GMEM_MOVEABLE, 16));
  LocalFree(LocalAlloc(LMEM_MOVEABLE, 16));
  const HeapCensus before = TakeHeapCensus();
  ASSERT_TRUE(before.ok) << "a heap could not be walked";
  HLOCAL locals[3];
  for (int i = 0; i < 3; ++i) locals[i] = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, 100 + i);
  HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, 5000);
  HLOCAL fixed = LocalAlloc(LMEM_FIXED, 64);
  const HeapCensus during = TakeHeapCensus();
  for (HLOCAL block : locals) LocalFree(block);
  GlobalFree(global);
  LocalFree(fixed);
  const HeapCensus after = TakeHeapCensus();

  EXPECT_EQ(during.movableBlocks, before.movableBlocks + 4) << "three local and one global movable block";
  EXPECT_GE(during.busyBytes, before.busyBytes + 100 + 101 + 102 + 5000 + 64);
  EXPECT_EQ(after.movableBlocks, before.movableBlocks);
  EXPECT_EQ(after.busyBytes, before.busyBytes);
}

TEST(LeakCounters, PrivateMemorySeesCommittedPagesComeAndGo) {
  const std::size_t before = CommittedPrivateBytes();
  ASSERT_GT(before, 0u);
  constexpr std::size_t kBytes = 4 << 20;
  void* block = VirtualAlloc(nullptr, kBytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  ASSERT_NE(block, nullptr);
  const std::size_t during = CommittedPrivateBytes();
  VirtualFree(block, 0, MEM_RELEASE);
  EXPECT_EQ(during, before + kBytes);
  EXPECT_EQ(CommittedPrivateBytes(), before);
}

// ---- What the soak measures ---------------------------------------------

struct LeakFigures {
  int gdiObjects = -1;
  HeapCensus heap;
  std::size_t committedPrivate = 0;
  std::size_t privateUsage = 0;
};

// The clipboard is emptied first: a copied link command stays in this
// process's clipboard cache until the clipboard changes.
LeakFigures MeasureLeakFigures() {
  EmptyTheClipboard();
  LeakFigures figures;
  figures.gdiObjects = CountGdiObjects();
  figures.heap = TakeHeapCensus();
  figures.committedPrivate = CommittedPrivateBytes();
  figures.privateUsage = ProcessPrivateUsage();
  return figures;
}

void ReportLeakFigures(const std::string& when, const LeakFigures& figures) {
  ReportFigure(when + "_gdi_objects", figures.gdiObjects);
  ReportFigure(when + "_movable_handles", figures.heap.movableBlocks);
  ReportFigure(when + "_movable_bytes", static_cast<long long>(figures.heap.movableBytes));
  ReportFigure(when + "_heap_busy_bytes", static_cast<long long>(figures.heap.busyBytes));
  ReportFigure(when + "_committed_private_bytes", static_cast<long long>(figures.committedPrivate));
  ReportFigure(when + "_private_usage_bytes", static_cast<long long>(figures.privateUsage));
}

// Allowances for memory that legitimately moves between two measurements
// taken at the same point of the round:
// - heap bytes in use: the C runtime's and Wine's own small caches (stdio
//   buffers, a font or DC cache entry reused in another size) may shift by a
//   few blocks; 64 KiB is also far less than one leaked byte per call would
//   add up to in a 10,000-round soak of some 30 calls a round;
// - committed private memory: heaps grow and shrink in steps of 64 KiB and a
//   freed region is not always returned at once, so four steps are allowed.
constexpr std::size_t kHeapBytesAllowance = 64 * 1024;
constexpr std::size_t kCommittedAllowance = 256 * 1024;

// Counts wrong answers without flooding the log: the first few are reported
// with their round, the rest only counted.
class AnswerTally {
 public:
  void Expect(int round, const char* what, long long actual, long long expected) {
    if (actual == expected) return;
    if (++wrong_ <= kReported) {
      ADD_FAILURE() << "round " << round << ": " << what << " gave " << actual << ", expected " << expected;
    }
  }
  void ExpectOneOf(int round, const char* what, long long actual, long long a, long long b) {
    Expect(round, what, actual, actual == b ? b : a);
  }
  int wrong() const { return wrong_; }

 private:
  static constexpr int kReported = 10;
  int wrong_ = 0;
};

// ---- The chips of the soak ----------------------------------------------

// A memo with a formatted line of every kind, a titled link that Shift-clicks
// copy, the time (so every tick asks for a redraw) and lines to scroll.
std::string RichMemo(char variant) {
  std::string memo = std::string("plain line ") + variant +
                     "\r\n"
                     "!=copy|Z:\\kn-missing\\tool.exe x\r\n"
                     "$b|%DATE %TIME\r\n"
                     "%i+1|right italic\r\n"
                     "#cff0000u|red %!20300101% days\r\n"
                     "$c\x90\xD4s-1|small struck red\r\n"  // 赤
                     "http://example.com/page\r\n"
                     "a long line that wraps a long line that wraps a long line that wraps\r\n";
  for (int i = 0; i < 30; ++i) memo += "line " + std::to_string(i) + "\r\n";
  return memo;
}
const char kCopiedCommand[] = "Z:\\kn-missing\\tool.exe x";

constexpr int kScrollLines = 40;

std::vector<std::string> ScrollLines(const char* word) {
  std::vector<std::string> lines;
  for (int i = 0; i < kScrollLines; ++i) lines.push_back(std::string(word) + " " + std::to_string(i));
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines, std::size_t from = 0) {
  std::string memo;
  for (std::size_t i = from; i < lines.size(); ++i) memo += lines[i] + "\r\n";
  return memo;
}

// "更新 %UPDATE% %UPTIME%": a stamp of the file's own time, which is fixed.
const char kNewsFile[] = "\x8D\x58\x90\x56 %UPDATE% %UPTIME%\n;not shown\n\nsecond news\n";
const std::vector<std::string> kNewsShown = {"\x8D\x58\x90\x56 2026/12/07(Mon) 09:05:03", "", "second news"};

std::string LogLine(int round) {
  char text[32];
  std::snprintf(text, sizeof text, "log %06d", round);
  return text;
}

// The periods GetTimerSpan gives, in half-second ticks; 1200 for any other
// interval.
int PeriodOf(std::int32_t interval) {
  const struct {
    std::int32_t interval;
    int period;
  } periods[] = {{IDM_INTERVAL_1SEC, 2},
                 {IDM_INTERVAL_1MIN, 120},
                 {IDM_INTERVAL_3MIN, 360},
                 {IDM_INTERVAL_10MIN, 1200},
                 {IDM_INTERVAL_NONE, 120}};
  for (const auto& known : periods) {
    if (known.interval == interval) return known.period;
  }
  return 1200;
}

// Where the first drawn line of a scroll-mode chip goes after a click, by the
// six regions of the window: what the chip must answer and show.
struct ScrollModel {
  int first = 0;
  int lineCount = kScrollLines;
  int rowsFit = 0;  // whole rows the text rectangle holds

  int LinesDrawn() const { return std::max(0, std::min(rowsFit, lineCount - first)); }
  int LastLine() const { return lineCount - 1; }

  // Returns 1 when the first line moved, as the click must.
  int Click(int region) {
    const int page = LinesDrawn();
    const int before = first;
    auto clamp = [&] {
      if (first + page > LastLine()) first = LastLine() - page + 1;
    };
    switch (region) {
      case 0: first = std::max(0, first - page); break;
      case 1: first += page; clamp(); break;
      case 2: first = std::max(0, first - 3); break;
      case 3: if (first > 0) --first; break;
      case 4: ++first; clamp(); break;
      default: first += 3; clamp(); break;
    }
    return first != before ? 1 : 0;
  }
};

class SoakTest : public PaintTest {
 protected:
  void SetUp() override {
    PaintTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(folder_.ok());
    rowHeight_ = RowHeight();
    ASSERT_GT(rowHeight_, 0);
    const RECT text = TextRect(client());
    scroll_.rowsFit = 0;
    while (text.top + (scroll_.rowsFit + 1) * rowHeight_ < text.bottom) ++scroll_.rowsFit;
    ASSERT_GT(scroll_.rowsFit, 2);
    const int height = client().bottom - client().top;
    ASSERT_GT(height / 4, 18) << "the window is too small for the scroll regions";
  }

  void TearDown() override {
    for (HGLOBAL& block : hostBlocks_)
      if (block) GlobalFree(block);
    PaintTest::TearDown();
  }

  int RowHeight() {
    const LOGFONTA logFont = TestFont();
    HFONT font = CreateFontIndirectA(&logFont);
    HGDIOBJ previous = SelectObject(canvas().dc(), font);
    RECT rect = TextRect(client());
    const int height = DrawTextA(canvas().dc(), "Ag", 2, &rect, DT_CALCRECT | kDrawFlags);
    SelectObject(canvas().dc(), previous);
    DeleteObject(font);
    return height;
  }

  POINT OnRow(int row) const {
    const RECT text = TextRect(client());
    return POINT{text.left + 2, text.top + row * rowHeight_ + 2};
  }

  // A point in each scroll region, in the order of ScrollModel::Click.
  POINT InRegion(int region) const {
    const RECT c = client();
    const int height = c.bottom - c.top;
    const int ys[6] = {c.top + 8, c.bottom - 8, c.top + height / 4 - 2, c.top + height / 2 - 2,
                       c.top + height / 2 + 2, c.bottom - height / 4 + 2};
    return POINT{5, ys[region]};
  }

  int Click(HLOCAL chip, POINT point, bool shift = false, bool alt = false) {
    ScopedKeys keys(shift, alt);
    return ClickChipAt(chip, hwnd(), point);
  }

  // The host keeps one global block per chip and hands it to every
  // GetSaveData call, which resizes it.
  bool SaveData(HLOCAL chip, int slot, SaveBlock& out) {
    HGLOBAL& block = hostBlocks_[slot];
    if (!block) block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4);
    if (Api().GetSaveData(chip, 0, &block) != 1 || GlobalSize(block) < sizeof out) return false;
    const void* bytes = GlobalLock(block);
    if (!bytes) return false;
    std::memcpy(&out, bytes, sizeof out);
    GlobalUnlock(block);
    return true;
  }

  int SizeRequest(HLOCAL chip) {
    int size[2] = {100, 100};
    const int first = Api().CalcDefaultRect(chip, hwnd(), size);
    const int again = Api().CalcDefaultRect(chip, hwnd(), size);
    return first == 0 && again == 1 && size[0] > 0 && size[1] > 0 ? 1 : 0;
  }

  BoardFolder folder_;
  int rowHeight_ = 0;
  ScrollModel scroll_;
  HGLOBAL hostBlocks_[2] = {nullptr, nullptr};
};

TEST_F(SoakTest, EveryEntryPointManyTimesLeavesGdiObjectsHandlesAndMemoryAsTheyWere) {
  // The board: a fixed file with stamps, a log rewritten between ticks, a
  // missing file and a comment line.
  const std::string news = folder_.Write("news.txt", kNewsFile);
  const std::string log = folder_.Write("log.txt", "first log\n");
  ASSERT_FALSE(news.empty());
  ASSERT_FALSE(log.empty());
  ASSERT_TRUE(SetLocalWriteTime(news, LocalTime(2026, 12, 7, 9, 5, 3)));
  const std::string boardMemo =
      BoardMemo({news, folder_.File("missing.txt"), ";" + news, log});

  ChipSettings memoSettings[2];
  memoSettings[0].Memo(RichMemo('A'));
  memoSettings[1].Memo(RichMemo('B'));
  ChipSettings scrollSettings[2];
  const std::vector<std::string> scrollLines[2] = {ScrollLines("line"), ScrollLines("LINE")};
  for (int v = 0; v < 2; ++v) scrollSettings[v].Memo(JoinLines(scrollLines[v])).WithModes(ScrollModeOn());
  ChipSettings boardSettings;
  // The last check lies far ahead, so only a changed text counts as news.
  boardSettings.Memo(boardMemo).WithModes(BoardModes(IDM_INTERVAL_1MIN, true, FarFutureCheck()));
  ChipSettings emptySettings;
  emptySettings.NoMemo();

  // Shift-clicks copy to the clipboard that every program in the prefix shares.
  struct ClipboardEmptier {
    ~ClipboardEmptier() { EmptyTheClipboard(); }
  } emptyClipboardAtTheEnd;
  ScopedChip memoChip(memoSettings[0]);
  ScopedChip scrollChip(scrollSettings[0]);
  ScopedChip boardChip(boardSettings);
  ASSERT_EQ(memoChip.initResult(), 0);
  ASSERT_EQ(scrollChip.initResult(), 0);
  ASSERT_EQ(boardChip.initResult(), 0);
  ASSERT_EQ(boardChip.Update(boardSettings), 1);  // now the board replaces the list

  const std::int32_t linkIds[] = {IDM_LINK_RED, IDM_LINK_GREEN, IDM_LINK_BLUE};
  const std::int32_t intervalIds[] = {IDM_INTERVAL_1MIN, IDM_INTERVAL_3MIN, IDM_INTERVAL_10MIN, IDM_INTERVAL_1SEC,
                                      IDM_INTERVAL_NONE};
  AnswerTally tally;
  int lastLogRound = 0;

  // Reading the clipboard's text costs Wine a kilobyte of heap each time
  // (GetClipboardData keeps what it fetched), so the measured rounds see the
  // copy by the clipboard's sequence number and only the others read it.
  bool readClipboard = true;
  auto round = [&](int i) {
    const HLOCAL memo = memoChip.get();
    const HLOCAL scroll = scrollChip.get();
    const HLOCAL board = boardChip.get();

    // The memo chip: a new memo, paint, size, clicks, timer, zoom, menu, save.
    tally.Expect(i, "Update(memo)", memoChip.Update(memoSettings[i % 2]), 1);
    tally.Expect(i, "DrawChip(memo)", Paint(memoChip), 0);
    tally.Expect(i, "CalcDefaultRect(memo) twice", SizeRequest(memo), 1);
    tally.Expect(i, "click on a plain line", Click(memo, OnRow(0)), 0);
    const DWORD sequence = GetClipboardSequenceNumber();
    tally.Expect(i, "Shift-click on a link", Click(memo, OnRow(1), true), 0);
    tally.Expect(i, "the clipboard changed", GetClipboardSequenceNumber() != sequence, 1);
    tally.Expect(i, "text on the clipboard", IsClipboardFormatAvailable(CF_TEXT) != FALSE, 1);
    if (readClipboard) {
      const std::optional<std::string> copied = ClipboardText();
      tally.Expect(i, "the copied command is on the clipboard", copied && *copied == kCopiedCommand, 1);
    }
    tally.Expect(i, "Alt-click", Click(memo, OnRow(0), false, true), 1);
    tally.ExpectOneOf(i, "scroll click", Click(memo, InRegion(i % 6)), 0, 1);
    tally.Expect(i, "Alt-Shift-click", Click(memo, OnRow(0), true, true), 1);
    if (i % 4 == 3) {
      tally.Expect(i, "Shift-click off a link: board on", Click(memo, OnRow(0), true), 1);
      tally.Expect(i, "Shift-click off a link: board off", Click(memo, OnRow(0), true), 1);
    }
    tally.Expect(i, "DoTimer(memo with the time)", Api().DoTimer(memo), 3);
    tally.Expect(i, "Zoom(memo, 1)", Api().Zoom(memo, 0, 1), 0);
    tally.Expect(i, "Zoom(memo, 0)", Api().Zoom(memo, 0, 0), 0);
    if (HMENU menu = static_cast<HMENU>(Api().GetDrawExMenu(memo))) {
      tally.Expect(i, "menu items", GetMenuItemCount(menu), 9);
      tally.Expect(i, "blue links checked", GetMenuState(menu, IDM_LINK_BLUE, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
      tally.Expect(i, "DestroyMenu", DestroyMenu(menu) != FALSE, 1);
    } else {
      tally.Expect(i, "GetDrawExMenu(memo) gave a menu", 0, 1);
    }
    const std::int32_t link = linkIds[i % 3];
    const std::int32_t interval = intervalIds[i % 5];
    tally.Expect(i, "link colour command", Api().DoDrawExMenu(memo, hwnd(), link), link != IDM_LINK_BLUE ? 1 : 0);
    tally.Expect(i, "interval command", Api().DoDrawExMenu(memo, hwnd(), interval), 0);
    tally.Expect(i, "GetTimerSpan", Api().GetTimerSpan(memo), PeriodOf(interval));
    tally.Expect(i, "blink command", Api().DoDrawExMenu(memo, hwnd(), IDM_BLINK), 0);
    tally.Expect(i, "scroll command", Api().DoDrawExMenu(memo, hwnd(), IDM_SCROLL_MODE), 3);
    SaveBlock saved{};
    tally.Expect(i, "GetSaveData(memo)", SaveData(memo, 0, saved), 1);
    tally.Expect(i, "saved length", saved.length, 60);
    tally.Expect(i, "saved link colour", saved.linkColor, link);
    tally.Expect(i, "saved interval", saved.interval, interval);
    tally.Expect(i, "saved blink", saved.blink, IDM_BLINK);
    tally.Expect(i, "saved scroll mode", saved.scrollMode, IDM_SCROLL_MODE);
    tally.Expect(i, "DrawChip(memo) in scroll mode", Paint(memoChip), 0);

    // The scroll chip: a new memo, paint, one scroll click, size.
    tally.Expect(i, "Update(scroll)", scrollChip.Update(scrollSettings[i % 2]), 1);
    tally.Expect(i, "DrawChip(scroll)", Paint(scrollChip), 0);
    const int region = (i * 5 + i / 6) % 6;
    const int expectedMove = scroll_.Click(region);
    tally.Expect(i, "scroll click by region", Click(scroll, InRegion(region)), expectedMove);
    tally.Expect(i, "CalcDefaultRect(scroll) twice", SizeRequest(scroll), 1);

    // The board chip: the log changes every other tick and once more before
    // every fourth zoom; blink is on, so a change answers 7.
    const bool changed = i % 2 == 0;
    if (changed) {
      WriteBoardFile(log, LogLine(i) + "\n");
      lastLogRound = i;
    }
    tally.Expect(i, "DoTimer(board)", Api().DoTimer(board), changed ? 7 : 0);
    if (i % 4 == 1) {
      WriteBoardFile(log, LogLine(-i) + "\n");
      lastLogRound = -i;
      tally.Expect(i, "Zoom(board, 1) after a change", Api().Zoom(board, 0, 1), 7);
    } else {
      tally.Expect(i, "Zoom(board, 1)", Api().Zoom(board, 0, 1), 0);
    }
    tally.Expect(i, "Zoom(board, 0)", Api().Zoom(board, 0, 0), 0);
    tally.Expect(i, "DrawChip(board)", Paint(boardChip), 0);
    tally.Expect(i, "CalcDefaultRect(board) twice", SizeRequest(board), 1);
    tally.Expect(i, "click on a board line", Click(board, OnRow(0)), 0);
    if (HMENU menu = static_cast<HMENU>(Api().GetDrawExMenu(board))) {
      tally.Expect(i, "board checked", GetMenuState(menu, IDM_BOARD_MODE, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
      tally.Expect(i, "blink checked", GetMenuState(menu, IDM_BLINK, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
      tally.Expect(i, "DestroyMenu", DestroyMenu(menu) != FALSE, 1);
    } else {
      tally.Expect(i, "GetDrawExMenu(board) gave a menu", 0, 1);
    }
    tally.Expect(i, "GetSaveData(board)", SaveData(board, 1, saved), 1);
    tally.Expect(i, "saved board mode", saved.boardMode, IDM_BOARD_MODE);
    tally.Expect(i, "saved board blink", saved.blink, IDM_BLINK);

    // A chip made and freed: board mode from its saved block, shown at the
    // second Update; every fifth round also one that never gets a memo.
    HLOCAL made = nullptr;
    tally.Expect(i, "InitializeChip", Api().InitializeChip(&made, 0, boardSettings.record()), 0);
    if (made) {
      tally.Expect(i, "Update(new board chip)", Api().Update(made, 0, boardSettings.record()), 1);
      canvas().Fill(RGB(1, 2, 3));
      tally.Expect(i, "DrawChip(new board chip)", Api().DrawChip(made, hwnd(), canvas().dc()), 0);
      tally.Expect(i, "UnInitializeChip", Api().UnInitializeChip(made), 0);
    }
    if (i % 5 == 0) {
      HLOCAL bare = nullptr;
      tally.Expect(i, "InitializeChip(no memo)", Api().InitializeChip(&bare, 0, emptySettings.record()), 0);
      if (bare) {
        canvas().Fill(RGB(1, 2, 3));
        tally.Expect(i, "DrawChip(no memo)", Api().DrawChip(bare, hwnd(), canvas().dc()), 0);
        tally.Expect(i, "UnInitializeChip(no memo)", Api().UnInitializeChip(bare), 0);
      }
    }
  };

  // Warm-up: GDI, the font cache and the heaps reach their working sizes.
  // Rounds come in whole cycles of 12, so the measurements are taken at the
  // same point of every cycle (the same memo, the same log length).
  constexpr int kCycle = 12;
  constexpr int kWarmUp = 2 * kCycle;
  const int rounds = (SoakCalls() + kCycle - 1) / kCycle * kCycle;
  int next = 0;
  for (; next < kWarmUp; ++next) round(next);
  ASSERT_EQ(tally.wrong(), 0) << "wrong answers during the warm-up";

  readClipboard = false;
  const LeakFigures before = MeasureLeakFigures();
  ASSERT_GE(before.gdiObjects, 0) << "no GDI handle table";
  ASSERT_TRUE(before.heap.ok) << "a heap could not be walked";
  const Stopwatch watch;
  LeakFigures middle;
  const int half = rounds / 2 / kCycle * kCycle;
  for (int i = 0; i < rounds; ++i) {
    round(next++);
    if (i + 1 == half) middle = MeasureLeakFigures();
  }
  const double seconds = watch.Seconds();
  const LeakFigures after = MeasureLeakFigures();
  readClipboard = true;
  round(next++);

  ReportFigure("soak_rounds", rounds);
  ReportSeconds("soak_time", seconds);
  ReportLeakFigures("before", before);
  if (half > 0) ReportLeakFigures("middle", middle);
  ReportLeakFigures("after", after);

  EXPECT_EQ(tally.wrong(), 0) << "wrong answers in " << rounds << " rounds";
  EXPECT_EQ(after.gdiObjects, before.gdiObjects) << "GDI objects";
  EXPECT_EQ(after.heap.movableBlocks, before.heap.movableBlocks) << "movable memory handles";
  EXPECT_LE(after.heap.busyBytes, before.heap.busyBytes + kHeapBytesAllowance) << "heap bytes in use";
  EXPECT_LE(after.committedPrivate, before.committedPrivate + kCommittedAllowance) << "committed private memory";

  // The chips still show what they must: the board with the last log line,
  // and the scroll chip from the line its clicks moved it to.
  std::vector<std::string> boardLines = kNewsShown;
  boardLines.push_back(LogLine(lastLogRound));
  ASSERT_EQ(Paint(boardChip), 0);
  Canvas expected(client());
  PaintReference(expected, client(),
                 {boardLines, boardSettings.textColor(), boardSettings.backColor(), boardSettings.font()});
  EXPECT_EQ(canvas().FirstDifference(expected), "") << "the board after the soak";

  const int lastVariant = (next - 1) % 2;
  ChipSettings fresh;
  fresh.Memo(JoinLines(scrollLines[lastVariant], static_cast<std::size_t>(scroll_.first))).WithModes(ScrollModeOn());
  ScopedChip reference(fresh);
  Canvas scrolled(client());
  scrolled.Fill(RGB(1, 2, 3));
  ASSERT_EQ(Api().DrawChip(reference.get(), hwnd(), scrolled.dc()), 0);
  ASSERT_EQ(Paint(scrollChip), 0);
  EXPECT_EQ(canvas().FirstDifference(scrolled), "") << "the scroll chip from line " << scroll_.first;
}

}  // namespace
}  // namespace kn::wine
