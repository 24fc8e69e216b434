// Creating, updating, zooming and freeing chips, observed from outside:
// through painting, the timer's answers and the saved block.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "wine/harness/chip_fixture.h"
#include "wine/harness/message_box_capture.h"
#include "wine/harness/reference_painter.h"

namespace kn::wine {
namespace {

// A temporary file that a board-mode memo can list.
class TempBoardFile {
 public:
  explicit TempBoardFile(const std::string& contents) {
    char folder[MAX_PATH];
    char name[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "knb", 0, name);
    path_ = name;
    HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    CloseHandle(file);
  }
  ~TempBoardFile() { DeleteFileA(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Edge pixels of a raised bevel: highlight at the top and left, shadow at
// the bottom and right (sampled away from the corners).
void ExpectBevel(const Canvas& canvas, bool present) {
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const int w = canvas.width();
  const int h = canvas.height();
  const struct {
    const char* edge;
    int x, y;
    COLORREF color;
  } samples[] = {{"top", w / 2, 0, light},
                 {"left", 0, h / 2, light},
                 {"bottom", w / 2, h - 1, shadow},
                 {"right", w - 1, h / 2, shadow}};
  for (const auto& s : samples) {
    SCOPED_TRACE(s.edge);
    if (present) EXPECT_EQ(canvas.At(s.x, s.y), s.color);
    else EXPECT_NE(canvas.At(s.x, s.y), s.color);
  }
}

class ChipLifecycleTest : public PaintTest {};

TEST_F(ChipLifecycleTest, InitializeGivesAChipHandle) {
  ChipSettings settings;
  settings.Memo("abc");
  ScopedChip chip(settings);
  EXPECT_EQ(chip.initResult(), 0);
  EXPECT_NE(chip.get(), nullptr);
}

TEST_F(ChipLifecycleTest, UpdateWithoutMemoChangesColoursAndFontButKeepsTheText) {
  ChipSettings settings;
  settings.Memo("abc").TextColor(RGB(0, 0, 0)).BackColor(RGB(255, 255, 204));
  ScopedChip chip(settings);
  ASSERT_EQ(chip.initResult(), 0);

  ChipSettings changed;
  changed.NoMemo().TextColor(RGB(0, 0, 200)).BackColor(RGB(200, 255, 200)).Font(TestFont(-20, true));
  EXPECT_EQ(chip.Update(changed), 1);
  EXPECT_EQ(Paint(chip), 0);

  Canvas expected(client());
  PaintReference(expected, client(), {{"abc"}, changed.textColor(), changed.backColor(), changed.font()});
  ASSERT_GT(expected.CountOther(changed.backColor()), 0) << "the reference drew no text";
  EXPECT_EQ(canvas().FirstDifference(expected), "");
}

TEST_F(ChipLifecycleTest, UpdateWithoutMemoIgnoresTheSavedBlock) {
  ChipSettings settings;
  settings.Memo("abc").WithModes(ScrollModeOn());
  ScopedChip chip(settings);
  ASSERT_EQ(Paint(chip), 0);
  ExpectBevel(canvas(), true);

  // A block of length 0 would reset scroll mode, were it read.
  settings.NoMemo().Save(driver::EmptySaveBlock());
  EXPECT_EQ(chip.Update(settings), 1);
  ASSERT_EQ(Paint(chip), 0);
  ExpectBevel(canvas(), true);

  settings.Memo("abc");
  EXPECT_EQ(chip.Update(settings), 1);
  ASSERT_EQ(Paint(chip), 0);
  ExpectBevel(canvas(), false);
}

// Board mode on, blink off: the timer re-reads the board only for a zoomed
// chip, and a changed board answers 3. That makes the zoom flag observable.
class ZoomTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    if (HasFatalFailure()) return;
    settings_.Memo(board_.path()).WithModes(BoardModeOn());
  }

  TempBoardFile board_{"board contents\r\n"};
  ChipSettings settings_;
};

TEST_F(ZoomTest, UpdateWithoutMemoAppliesTheZoomFlag) {
  ScopedChip chip(settings_);
  ASSERT_EQ(chip.initResult(), 0);
  EXPECT_EQ(Api().DoTimer(chip.get()), 0) << "not zoomed: no re-read";

  settings_.NoMemo().Zoomed(1);
  EXPECT_EQ(chip.Update(settings_), 1);
  EXPECT_EQ(Api().DoTimer(chip.get()), 3) << "zoomed: the board replaces the memo";

  settings_.Zoomed(0);
  EXPECT_EQ(chip.Update(settings_), 1);
  EXPECT_EQ(Api().DoTimer(chip.get()), 0) << "zoom cleared again";
}

TEST_F(ZoomTest, FlagZeroAnswersZeroAndUnzooms) {
  settings_.Zoomed(1);
  ScopedChip chip(settings_);
  EXPECT_EQ(Api().Zoom(chip.get(), 0, 0), 0);
  EXPECT_EQ(Api().DoTimer(chip.get()), 0) << "still zoomed after Zoom(0)";
}

TEST_F(ZoomTest, FlagZeroOutsideBoardModeAnswersZero) {
  settings_.Memo("abc").WithModes(Modes{});
  ScopedChip chip(settings_);
  EXPECT_EQ(Api().Zoom(chip.get(), 0, 0), 0);
  EXPECT_EQ(Api().Zoom(chip.get(), 0, 1), 0) << "nonzero flag, board mode off";
}

TEST_F(ZoomTest, NonzeroFlagInBoardModeRereadsAtOnceWhateverTheInterval) {
  settings_.WithModes(ModesOf(IDM_INTERVAL_NONE, IDM_LINK_BLUE, 0, IDM_BOARD_MODE, 0));
  ScopedChip chip(settings_);
  EXPECT_EQ(Api().Zoom(chip.get(), 0, 1), 3);
  EXPECT_EQ(Api().DoTimer(chip.get()), 0) << "interval none: only the zoom's own re-read";
}

TEST_F(ChipLifecycleTest, UnInitializeAnswersZeroWithAndWithoutMemo) {
  for (bool withMemo : {false, true}) {
    SCOPED_TRACE(withMemo ? "with memo" : "never had a memo");
    ChipSettings settings;
    if (withMemo) settings.Memo("abc\r\ndef");
    else settings.NoMemo();
    HLOCAL chip = nullptr;
    ASSERT_EQ(Api().InitializeChip(&chip, 0, settings.record()), 0);
    ASSERT_NE(chip, nullptr);
    EXPECT_EQ(Api().UnInitializeChip(chip), 0);
  }
}

// The block the host gets back: the length and the 60 data bytes, as 16
// integers (the four bytes after them carry nothing).
struct SavedBlock {
  int result;
  std::int32_t words[16];
};

SavedBlock FetchSaveBlock(HLOCAL chip) {
  SavedBlock saved;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 68);
  std::memset(GlobalLock(block), 0xCC, 68);
  GlobalUnlock(block);
  saved.result = Api().GetSaveData(chip, 0, &block);
  std::memcpy(saved.words, GlobalLock(block), sizeof saved.words);
  GlobalUnlock(block);
  GlobalFree(block);
  return saved;
}

TEST_F(ChipLifecycleTest, TheSavedBlockComesBackAsGiven) {
  SaveBlock given = driver::MakeSaveBlock(ModesOf(IDM_INTERVAL_3MIN, IDM_LINK_GREEN, IDM_BLINK, 0, IDM_SCROLL_MODE));
  const std::int32_t lastCheck[9] = {5, 4, 3, 28, 1, 101, 3, 58, 0};
  std::memcpy(&given.lastCheck, lastCheck, sizeof lastCheck);
  given.reserved = 77;
  ChipSettings settings;
  settings.Memo("abc").Save(given);
  ScopedChip chip(settings);

  const SavedBlock saved = FetchSaveBlock(chip.get());
  EXPECT_EQ(saved.result, 1);
  std::int32_t expected[16];
  std::memcpy(expected, &given, sizeof expected);
  expected[15] = 0;  // reserved is written as 0
  for (int i = 0; i < 16; ++i) EXPECT_EQ(saved.words[i], expected[i]) << "offset " << i * 4;
}

// LocalAlloc(LMEM_MOVEABLE, 0) gives a discarded block that cannot be locked:
// every entry point must answer its neutral value and touch nothing.
class UnlockableChipTest : public PaintTest {
 protected:
  void SetUp() override {
    PaintTest::SetUp();
    if (HasFatalFailure()) return;
    chip_ = LocalAlloc(LMEM_MOVEABLE, 0);
    ASSERT_NE(chip_, nullptr);
    ASSERT_EQ(LocalLock(chip_), nullptr) << "the block unexpectedly locks";
  }
  void TearDown() override {
    if (chip_) LocalFree(chip_);
  }
  HLOCAL chip_ = nullptr;
};

TEST_F(UnlockableChipTest, DrawChipAnswersOneAndDrawsNothing) {
  const COLORREF untouched = RGB(1, 2, 3);
  canvas().Fill(untouched);
  EXPECT_EQ(Api().DrawChip(chip_, hwnd(), canvas().dc()), 1);
  EXPECT_EQ(canvas().CountOther(untouched), 0);
}

TEST_F(UnlockableChipTest, CalcDefaultRectAnswersOneWithSizeUntouched) {
  int size[2] = {123, 45};
  EXPECT_EQ(Api().CalcDefaultRect(chip_, hwnd(), size), 1);
  EXPECT_EQ(size[0], 123);
  EXPECT_EQ(size[1], 45);
}

TEST_F(UnlockableChipTest, PerChipCallsAnswerNeutrally) {
  POINT point{10, 10};
  EXPECT_EQ(ClickChipAt(chip_, hwnd(), point), 0);
  ChipSettings settings;
  settings.Memo("abc");
  EXPECT_EQ(Api().Update(chip_, 0, settings.record()), 1);
  EXPECT_EQ(Api().Zoom(chip_, 0, 1), 0);
  EXPECT_EQ(Api().Zoom(chip_, 0, 0), 0);
  EXPECT_EQ(Api().GetTimerSpan(chip_), 120) << "an unreadable chip ticks at the one-minute period";
  EXPECT_EQ(Api().DoTimer(chip_), 0);
}

TEST_F(UnlockableChipTest, MenuCommandsChangeNothingAndShowNoBox) {
  MessageBoxCapture boxes;
  ASSERT_TRUE(boxes.installed());
  for (const unsigned id : {IDM_INTERVAL_1MIN, IDM_INTERVAL_NONE, IDM_LINK_RED, IDM_BLINK, IDM_BOARD_MODE, IDM_SCROLL_MODE}) {
    EXPECT_EQ(Api().DoDrawExMenu(chip_, hwnd(), id), 0) << "id " << id;
  }
  EXPECT_TRUE(boxes.boxes().empty()) << "a known command showed a box";
}

// A host that passes no chip at all gets the same neutral answers as for a
// chip that cannot be locked, from every per-chip entry point.
TEST_F(PaintTest, NullChipHandleAnswersNeutrallyEverywhere) {
  MessageBoxCapture boxes;
  ASSERT_TRUE(boxes.installed());
  const COLORREF untouched = RGB(1, 2, 3);
  canvas().Fill(untouched);
  EXPECT_EQ(Api().DrawChip(nullptr, hwnd(), canvas().dc()), 1);
  EXPECT_EQ(canvas().CountOther(untouched), 0);
  int size[2] = {123, 45};
  EXPECT_EQ(Api().CalcDefaultRect(nullptr, hwnd(), size), 1);
  EXPECT_EQ(size[0], 123);
  EXPECT_EQ(size[1], 45);
  POINT point{10, 10};
  EXPECT_EQ(ClickChipAt(nullptr, hwnd(), point), 0);
  ChipSettings settings;
  settings.Memo("abc");
  EXPECT_EQ(Api().Update(nullptr, 0, settings.record()), 1);
  EXPECT_EQ(Api().Zoom(nullptr, 0, 1), 0);
  EXPECT_EQ(Api().GetTimerSpan(nullptr), 120);
  EXPECT_EQ(Api().DoTimer(nullptr), 0);
  EXPECT_EQ(Api().DoDrawExMenu(nullptr, hwnd(), IDM_BOARD_MODE), 0);
  EXPECT_TRUE(boxes.boxes().empty());
  const SavedBlock saved = FetchSaveBlock(nullptr);
  EXPECT_EQ(saved.result, 1);
  EXPECT_EQ(saved.words[0], 60);
  EXPECT_EQ(saved.words[1], static_cast<std::int32_t>(IDM_INTERVAL_1MIN));
  EXPECT_EQ(Api().UnInitializeChip(nullptr), 0);
}

TEST_F(UnlockableChipTest, GetSaveDataWritesTheDefaultBlock) {
  const SavedBlock saved = FetchSaveBlock(chip_);
  EXPECT_EQ(saved.result, 1);
  const std::int32_t expected[16] = {60, IDM_INTERVAL_1MIN, IDM_LINK_BLUE, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(saved.words[i], expected[i]) << "offset " << i * 4;
}

TEST_F(UnlockableChipTest, UnInitializeStillFreesTheHandle) {
  EXPECT_EQ(Api().UnInitializeChip(chip_), 0);
  EXPECT_EQ(LocalFlags(chip_), LMEM_INVALID_HANDLE) << "the handle was not freed";
  chip_ = nullptr;
}

}  // namespace
}  // namespace kn::wine
