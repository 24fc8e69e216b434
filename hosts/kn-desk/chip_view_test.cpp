// A chip window driven through its messages against a stand-in plug-in
// whose answers the test chooses, expected ones and unexpected ones alike:
// sizes, repaints, flashes, menu routing, drags, and calls that must never
// overlap; and the memo editor's preview of a board with the real plug-in.
#include "chip_view.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "chip_menu.h"
#include "desk_texts.h"
#include "memo_dialog.h"
#include "record_bridge.h"
#include "wine/harness/board_files.h"
#include "wine/harness/dialog_driver.h"

namespace kn::desk {
namespace {

constexpr COLORREF kChipColor = RGB(10, 200, 30);
HLOCAL const kChipHandle = reinterpret_cast<HLOCAL>(0x4240);

// What the stand-in answers and what it was asked.
struct FakePlugin {
  int initAnswer = 0;
  bool giveHandle = true;
  int width = 180;
  int height = 90;
  int clickAnswer = 0;
  int menuAnswer = 0;
  int timerAnswer = 0;
  int zoomAnswer = 0;
  int timerSpan = 2;
  std::vector<UINT> menuIds = {10007, 10008};
  bool bogusMenu = false;
  bool tickDuringClick = false;
  // A click switches board mode, and the block the chip saves says so.
  bool clickSwitchesBoard = false;
  std::int32_t boardMode = 0;
  // The chip grows with its memo, as a real one does.
  bool widthFollowsMemo = false;
  std::string lastMemo;  // code page 932, as the last Update gave it
  // Calls that throw, as a fault on our side of the plug-in would.
  bool drawThrows = false;
  bool clickThrows = false;
  bool timerThrows = false;

  int sizeCalls = 0;
  int drawCalls = 0;
  int clickCalls = 0;
  int menuCalls = 0;
  int timerCalls = 0;
  int updateCalls = 0;
  int zoomCalls = 0;
  int freeCalls = 0;
  int saveCalls = 0;
  UINT lastMenuId = 0;
  int lastZoomFlag = -1;
  POINT lastClick{-1, -1};
};
FakePlugin g_fake;

int __cdecl FakeInitialize(ChipHandle* chip, int, const ChipSettings*) {
  *chip = g_fake.giveHandle ? kChipHandle : nullptr;
  return g_fake.initAnswer;
}
int __cdecl FakeFree(HLOCAL) { return ++g_fake.freeCalls, 0; }
int __cdecl FakeSize(ChipHandle, WindowHandle, int* size) {
  ++g_fake.sizeCalls;
  const bool same = size[0] == g_fake.width && size[1] == g_fake.height;
  size[0] = g_fake.width;
  size[1] = g_fake.height;
  return same ? 1 : 0;
}
int __cdecl FakeDraw(ChipHandle, WindowHandle window, DcHandle dc) {
  ++g_fake.drawCalls;
  if (g_fake.drawThrows) throw std::runtime_error("draw refused");
  RECT client{};
  GetClientRect(static_cast<HWND>(window), &client);
  HBRUSH brush = CreateSolidBrush(kChipColor);
  FillRect(static_cast<HDC>(dc), &client, brush);
  DeleteObject(brush);
  return 0;
}
int __cdecl FakeClick(ChipHandle, WindowHandle window, ClickPoint* point) {
  ++g_fake.clickCalls;
  g_fake.lastClick = POINT{point->x, point->y};
  if (g_fake.clickThrows) throw 42;
  if (g_fake.tickDuringClick) SendMessageW(static_cast<HWND>(window), WM_TIMER, 1, 0);
  if (g_fake.clickSwitchesBoard) g_fake.boardMode = g_fake.boardMode ? 0 : 10007;
  return g_fake.clickAnswer;
}
int __cdecl FakeZoom(HLOCAL, int, int flag) {
  ++g_fake.zoomCalls;
  g_fake.lastZoomFlag = flag;
  return g_fake.zoomAnswer;
}
int __cdecl FakeUpdate(ChipHandle, int, const ChipSettings* settings) {
  ++g_fake.updateCalls;
  g_fake.lastMemo = settings && settings->memo ? settings->memo : "";
  if (g_fake.widthFollowsMemo) g_fake.width = 100 + 5 * static_cast<int>(g_fake.lastMemo.size());
  return 1;
}
MenuHandle __cdecl FakeMenu(ChipHandle) {
  if (g_fake.bogusMenu) return reinterpret_cast<HMENU>(0x5678);
  HMENU menu = CreateMenu();
  for (UINT id : g_fake.menuIds) AppendMenuW(menu, MF_STRING, id, L"item");
  return menu;
}
int __cdecl FakeCommand(ChipHandle, WindowHandle, unsigned id) {
  ++g_fake.menuCalls;
  g_fake.lastMenuId = id;
  return g_fake.menuAnswer;
}
int __cdecl FakeSave(ChipHandle, int, GlobalHandle* block) {
  ++g_fake.saveCalls;
  HGLOBAL grown = GlobalReAlloc(*block, 68, GMEM_MOVEABLE);
  if (!grown) return 0;
  *block = grown;
  auto* bytes = static_cast<std::uint8_t*>(GlobalLock(grown));
  std::memset(bytes, 0x5A, 68);
  if (g_fake.clickSwitchesBoard) std::memcpy(bytes + 16, &g_fake.boardMode, 4);
  GlobalUnlock(grown);
  return 1;
}
int __cdecl FakeSpan(HLOCAL) { return g_fake.timerSpan; }
int __cdecl FakeTimer(HLOCAL) {
  ++g_fake.timerCalls;
  if (g_fake.timerThrows) throw std::runtime_error("tick refused");
  return g_fake.timerAnswer;
}

driver::EntryPoints FakeApi() {
  driver::EntryPoints api;
  api.InitializeChip = &FakeInitialize;
  api.UnInitializeChip = &FakeFree;
  api.CalcDefaultRect = &FakeSize;
  api.DrawChip = &FakeDraw;
  api.MouseClik = &FakeClick;
  api.Zoom = &FakeZoom;
  api.Update = &FakeUpdate;
  api.GetDrawExMenu = &FakeMenu;
  api.DoDrawExMenu = &FakeCommand;
  api.GetSaveData = &FakeSave;
  api.GetTimerSpan = &FakeSpan;
  api.DoTimer = &FakeTimer;
  return api;
}

struct FakeOwner : ChipOwner {
  void ChipChanged() override { ++changes; }
  void ChipAsks(int chipId, UINT command) override { asks.emplace_back(chipId, command); }
  void ChipIdle() override { ++idles; }
  void ChipFailed(int chipId, const std::string& message, const std::string& what) override {
    failures.push_back(std::to_string(chipId) + " " + message + ": " + what);
  }
  int changes = 0;
  int idles = 0;
  std::vector<std::pair<int, UINT>> asks;
  std::vector<std::string> failures;
};

SIZE SizeOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

POINT OriginOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return POINT{rect.left, rect.top};
}

// The colour the window shows at a client point.
COLORREF ShownAt(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF color = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return color;
}

class DeskChipView : public testing::Test {
 protected:
  void SetUp() override {
    g_fake = FakePlugin{};
    record_.x = 50;
    record_.y = 60;
    record_.memo = "memo";
  }

  // Opens the chip and lets it paint once, so that later paints are the
  // answers' doing.
  void Open() {
    view_ = std::make_unique<ChipView>(api_, owner_, record_, 7);
    std::string problem;
    ASSERT_TRUE(view_->Open(problem)) << problem;
    UpdateWindow(window());
  }
  HWND window() const { return view_->window(); }
  void Click(int x, int y) {
    SendMessageW(window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(window(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  void Command(UINT id) { SendMessageW(window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

  driver::EntryPoints api_ = FakeApi();
  FakeOwner owner_;
  ChipRecord record_;
  std::unique_ptr<ChipView> view_;
};

TEST_F(DeskChipView, OpensAsAToolWindowOfTheProposedSizeWhereTheRecordSays) {
  Open();
  EXPECT_EQ(OriginOf(window()).x, 50);
  EXPECT_EQ(OriginOf(window()).y, 60);
  EXPECT_EQ(SizeOf(window()).cx, 180);
  EXPECT_EQ(SizeOf(window()).cy, 90);
  EXPECT_TRUE(IsWindowVisible(window()));
  EXPECT_EQ(GetWindowLongW(window(), GWL_STYLE) & (WS_POPUP | WS_BORDER | WS_CAPTION), WS_POPUP | WS_BORDER);
  EXPECT_NE(GetWindowLongW(window(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
  EXPECT_EQ(g_fake.updateCalls, 1) << "a second Update shows a board";
  EXPECT_GE(g_fake.drawCalls, 1);
  EXPECT_EQ(ShownAt(window(), 5, 5), kChipColor);
  view_.reset();
  EXPECT_EQ(g_fake.freeCalls, 1);
}

// A frame darker than the chip, so that the light and the grey half of the
// scroll-mode bevel both stand out from it.
TEST_F(DeskChipView, TheFrameIsADarkShadeOfTheChipsBackground) {
  record_.backRgb = 0xFFFFC8;
  Open();
  RedrawWindow(window(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetWindowDC(window());
  const SIZE size = SizeOf(window());
  const COLORREF corners[] = {GetPixel(dc, 0, 0), GetPixel(dc, size.cx - 1, size.cy - 1),
                              GetPixel(dc, size.cx / 2, 0)};
  ReleaseDC(window(), dc);
  for (COLORREF shown : corners) EXPECT_EQ(shown, RGB(0x3F, 0x3F, 0x32)) << std::hex << shown;
}

TEST_F(DeskChipView, AProposalThatCannotBeAWindowIsIgnored) {
  const std::pair<int, int> proposals[] = {{0, 0}, {-5, 40}, {40, 20000}, {INT_MIN, INT_MAX}};
  for (const auto& [width, height] : proposals) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    g_fake = FakePlugin{};
    g_fake.width = width;
    g_fake.height = height;
    Open();
    EXPECT_EQ(SizeOf(window()).cx, 100) << "the window keeps its first size";
    EXPECT_EQ(SizeOf(window()).cy, 100);
    EXPECT_LE(g_fake.sizeCalls, 4);
  }
}

struct AnswerCase {
  const char* name;
  int answer;
  bool repaint;  // the chip is painted again
  bool refit;    // ... measured again
  bool flash;    // ... and flashed
};

class DeskChipViewAnswers : public DeskChipView, public testing::WithParamInterface<AnswerCase> {};

TEST_P(DeskChipViewAnswers, AClickIsAnsweredAsTheChipAsks) {
  const AnswerCase& c = GetParam();
  Open();
  g_fake.clickAnswer = c.answer;
  g_fake.width = 150;  // a refit shows as a new size
  const int draws = g_fake.drawCalls;
  Click(7, 8);
  EXPECT_EQ(g_fake.clickCalls, 1);
  EXPECT_EQ(g_fake.lastClick.x, 7);
  EXPECT_EQ(g_fake.lastClick.y, 8);
  UpdateWindow(window());
  EXPECT_EQ(g_fake.drawCalls > draws, c.repaint);
  EXPECT_EQ(SizeOf(window()).cx, c.refit ? 150 : 180);
  const COLORREF shown = ShownAt(window(), 5, 5);
  EXPECT_EQ(shown, c.flash ? RGB(255 - 10, 255 - 200, 255 - 30) : kChipColor) << std::hex << shown;
  EXPECT_TRUE(IsWindow(window()));
}

INSTANTIATE_TEST_SUITE_P(Answers, DeskChipViewAnswers,
                         testing::Values(AnswerCase{"Nothing", 0, false, false, false},
                                         AnswerCase{"Redraw", 1, true, false, false},
                                         AnswerCase{"TextChanged", 3, true, true, false},
                                         AnswerCase{"Alert", 7, true, true, true},
                                         AnswerCase{"UnknownFour", 4, true, true, false},
                                         AnswerCase{"Negative", -1, true, true, false},
                                         AnswerCase{"Smallest", INT_MIN, true, true, false},
                                         AnswerCase{"Largest", INT_MAX, true, true, false}),
                         [](const testing::TestParamInfo<AnswerCase>& info) { return std::string(info.param.name); });

// The chip answers 1 to a Shift-click that switched board mode, as to a
// scroll click; only the switch changes what it shows and so its size.
TEST_F(DeskChipView, AClickThatSwitchesBoardModeMeasuresTheChipAgain) {
  Open();
  g_fake.clickAnswer = 1;
  g_fake.width = 150;
  Click(7, 8);
  EXPECT_EQ(SizeOf(window()).cx, 180) << "a click that switched nothing keeps the size";
  g_fake.clickSwitchesBoard = true;
  Click(7, 8);
  EXPECT_EQ(SizeOf(window()).cx, 150) << "board mode on";
  g_fake.width = 140;
  Click(7, 8);
  EXPECT_EQ(SizeOf(window()).cx, 140) << "board mode off";
  EXPECT_EQ(g_fake.clickCalls, 3);
}

TEST_F(DeskChipView, MenuCommandsGoToTheChipOnlyWhenItsMenuOffersThem) {
  Open();
  g_fake.menuAnswer = 99;  // unexpected: taken as a change
  g_fake.width = 160;
  Command(10007);
  EXPECT_EQ(g_fake.menuCalls, 1);
  EXPECT_EQ(g_fake.lastMenuId, 10007u);
  EXPECT_EQ(SizeOf(window()).cx, 160);
  EXPECT_GE(owner_.changes, 1);
  Command(10003);  // not in the chip's menu
  EXPECT_EQ(g_fake.menuCalls, 1);
  g_fake.bogusMenu = true;  // a menu handle that is no menu offers nothing
  Command(10007);
  EXPECT_EQ(g_fake.menuCalls, 1);
  EXPECT_TRUE(owner_.asks.empty());
}

TEST_F(DeskChipView, HostCommandsForMoreThanTheChipGoToItsOwner) {
  Open();
  for (UINT id : {kCommandNewChip, kCommandDeleteChip, kCommandQuit}) Command(id);
  const std::vector<std::pair<int, UINT>> expected = {
      {7, kCommandNewChip}, {7, kCommandDeleteChip}, {7, kCommandQuit}};
  EXPECT_EQ(owner_.asks, expected);
  EXPECT_TRUE(IsWindow(window())) << "the owner deletes the chip later, not the chip itself";
}

TEST_F(DeskChipView, ZoomTogglesTheFlagThatTheChipAndTheRecordKeep) {
  Open();
  g_fake.zoomAnswer = 3;
  g_fake.width = 170;
  Command(kCommandZoom);
  EXPECT_EQ(g_fake.lastZoomFlag, 1);
  EXPECT_EQ(SizeOf(window()).cx, 170);
  EXPECT_TRUE(view_->Snapshot().zoomed);
  Command(kCommandZoom);
  EXPECT_EQ(g_fake.lastZoomFlag, 0);
  EXPECT_FALSE(view_->Snapshot().zoomed);
  EXPECT_EQ(g_fake.zoomCalls, 2);
}

TEST_F(DeskChipView, PressAndMoveDragsTheWindowAndIsNoClick) {
  Open();
  SendMessageW(window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(window(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 30));
  SendMessageW(window(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(OriginOf(window()).x, 80);
  EXPECT_EQ(OriginOf(window()).y, 80);
  EXPECT_EQ(g_fake.clickCalls, 0);
  EXPECT_GE(owner_.changes, 1);
  const ChipRecord saved = view_->Snapshot();
  EXPECT_EQ(saved.x, 80);
  EXPECT_EQ(saved.y, 80);
}

TEST_F(DeskChipView, TheChipIsNeverCalledAgainWhileOneOfItsCallsRuns) {
  Open();
  g_fake.tickDuringClick = true;  // as a message box inside MouseClik would let a tick through
  Click(5, 5);
  EXPECT_EQ(g_fake.clickCalls, 1);
  EXPECT_EQ(g_fake.timerCalls, 0);
  EXPECT_FALSE(view_->busy());
  SendMessageW(window(), WM_TIMER, 1, 0);
  EXPECT_EQ(g_fake.timerCalls, 1);
  EXPECT_GE(owner_.idles, 1);
}

TEST_F(DeskChipView, OddTimerSpansAndAnswersLeaveTheChipStanding) {
  for (int span : {0, -7, INT_MAX}) {
    SCOPED_TRACE(span);
    g_fake = FakePlugin{};
    g_fake.timerSpan = span;
    g_fake.timerAnswer = 42;
    Open();
    g_fake.width = 120;
    SendMessageW(window(), WM_TIMER, 1, 0);
    EXPECT_EQ(g_fake.timerCalls, 1);
    EXPECT_EQ(SizeOf(window()).cx, 120);
  }
}

TEST_F(DeskChipView, AChipThePlugInRefusesKeepsItsRecord) {
  const std::pair<int, bool> refusals[] = {{1, false}, {0, false}, {1, true}};  // answer, handle given
  for (const auto& [answer, handle] : refusals) {
    SCOPED_TRACE(answer);
    g_fake = FakePlugin{};
    g_fake.initAnswer = answer;
    g_fake.giveHandle = handle;
    record_.savedBlock = {1, 2, 3};
    ChipView view(api_, owner_, record_, 1);
    std::string problem;
    EXPECT_FALSE(view.Open(problem));
    EXPECT_FALSE(problem.empty());
    EXPECT_EQ(view.window(), nullptr);
    EXPECT_FALSE(view.shown());
    EXPECT_TRUE(view.Snapshot() == record_);
    EXPECT_EQ(g_fake.saveCalls, 0);
  }
  EXPECT_EQ(g_fake.freeCalls, 0);
}

TEST_F(DeskChipView, ASnapshotHasTheWindowsPlaceAndTheChipsNewestBlock) {
  Open();
  SetWindowPos(window(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const ChipRecord saved = view_->Snapshot();
  EXPECT_EQ(saved.x, 300);
  EXPECT_EQ(saved.y, 200);
  EXPECT_EQ(saved.savedBlock, std::vector<std::uint8_t>(68, 0x5A));
  EXPECT_EQ(saved.memo, record_.memo);
  EXPECT_EQ(g_fake.saveCalls, 1);
}

// Types into the chip's memo editor, waits for the chip to show the typed
// memo, notes what the chip and the pane show, and leaves with `button`.
struct EditorVisit {
  std::string previewed;  // the memo the chip was given while the editor was open
  SIZE size{};            // the chip's size then
  std::wstring pane;      // what the pane said of the caret's line
};

// `shown` tells when the chip shows it; the wait gives up after 20 s.
template <typename Shown>
EditorVisit TypeIntoEditor(HWND chip, const std::wstring& text, Shown shown, int button) {
  EditorVisit visit;
  wine::DialogDriver driver([&](HWND dialog) {
    HWND edit = GetDlgItem(dialog, kMemoEditId);
    // As a paste over the whole memo: a change the edit box reports.
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(edit, EM_SETSEL, 0, 0);
    const DWORD start = GetTickCount();
    while (!shown() && GetTickCount() - start < 20000) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      Sleep(10);
    }
    visit.previewed = g_fake.lastMemo;
    visit.size = SizeOf(chip);
    visit.pane = wine::DialogDriver::Text(dialog, kExplainPaneId);
    wine::DialogDriver::Press(dialog, button);
  });
  SendMessageW(chip, WM_COMMAND, MAKEWPARAM(kCommandEditMemo, 0), 0);
  EXPECT_EQ(driver.acted(), 1);
  EXPECT_EQ(driver.cancelled(), 0);
  return visit;
}

EditorVisit TypeIntoEditor(HWND chip, const std::wstring& text, const std::string& expected, int button) {
  return TypeIntoEditor(chip, text, [&] { return g_fake.lastMemo == expected; }, button);
}

// "#c赤|a longer memo", as typed and as the chip gets it.
const std::wstring kTyped = L"#c\x8D64|a longer memo";
const std::string kTypedForChip = "#c\x90\xD4|a longer memo";

TEST_F(DeskChipView, TheEditorPreviewsTheMemoAndCancelPutsTheChipBack) {
  g_fake.widthFollowsMemo = true;
  Open();
  const SIZE before = SizeOf(window());
  ASSERT_EQ(before.cx, 100 + 5 * 4) << "the size the chip proposes for \"memo\"";
  const DeskLanguage language = CurrentDeskLanguage();
  UseDeskLanguage(DeskLanguage::kJapanese);
  const EditorVisit visit = TypeIntoEditor(window(), kTyped, kTypedForChip, IDCANCEL);
  UseDeskLanguage(language);

  EXPECT_EQ(visit.previewed, kTypedForChip) << "the chip showed the editor's memo before OK";
  EXPECT_EQ(visit.size.cx, 100 + 5 * static_cast<int>(kTypedForChip.size())) << "measured again";
  // 色: FF0000, the colour row of the caret's line, in Japanese.
  EXPECT_NE(visit.pane.find(L"\x8272: FF0000"), std::wstring::npos) << Narrow(visit.pane);

  EXPECT_EQ(g_fake.lastMemo, "memo") << "Cancel hands the chip its memo again";
  EXPECT_EQ(SizeOf(window()).cx, before.cx);
  EXPECT_EQ(SizeOf(window()).cy, before.cy);
  EXPECT_EQ(view_->Snapshot().memo, "memo");
  EXPECT_EQ(owner_.changes, 0) << "nothing to save";
}

TEST_F(DeskChipView, OkKeepsThePreviewedMemoAndSize) {
  g_fake.widthFollowsMemo = true;
  Open();
  const EditorVisit visit = TypeIntoEditor(window(), kTyped, kTypedForChip, IDOK);
  EXPECT_EQ(visit.previewed, kTypedForChip);
  EXPECT_EQ(g_fake.lastMemo, kTypedForChip);
  EXPECT_EQ(SizeOf(window()).cx, visit.size.cx);
  EXPECT_EQ(view_->Snapshot().memo, "#c\xE8\xB5\xA4|a longer memo") << "the record keeps UTF-8";
  EXPECT_GE(owner_.changes, 1);
  // The pane speaks the desk's language: English here.
  EXPECT_NE(visit.pane.find(L"colour: FF0000"), std::wstring::npos) << Narrow(visit.pane);
}

// The real plug-in in board mode: the editor's list shows on the chip as the
// board of its files, measured as the chip measures that board; Cancel puts
// back the board of the memo as it was, board mode still on.
class DeskChipViewBoard : public testing::Test {
 protected:
  // A chip of the real plug-in showing `memo`, in board mode when asked.
  std::unique_ptr<ChipView> OpenChip(const std::string& memo, bool board) {
    ChipRecord record;
    record.memo = memo;
    auto view = std::make_unique<ChipView>(wine::Api(), owner_, record, 1);
    std::string problem;
    EXPECT_TRUE(view->Open(problem)) << problem;
    if (board) SendMessageW(view->window(), WM_COMMAND, MAKEWPARAM(IDM_BOARD_MODE, 0), 0);
    return view;
  }

  wine::BoardFolder folder_;
  FakeOwner owner_;
};

bool SameSize(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }

TEST_F(DeskChipViewBoard, TheEditorPreviewsTheListAsTheBoardOfItsFiles) {
  ASSERT_TRUE(wine::Plugin().ready()) << wine::Plugin().error();
  const std::string first = folder_.Write("first.txt", "one\r\n");
  const std::string second =
      folder_.Write("second.txt", "board line one\r\nthe second board line is longer\r\nthree\r\n");
  ASSERT_FALSE(first.empty() || second.empty());
  const SIZE secondAsBoard = SizeOf(OpenChip(second, true)->window());
  const SIZE secondAsMemo = SizeOf(OpenChip(second, false)->window());
  ASSERT_FALSE(SameSize(secondAsBoard, secondAsMemo)) << "the case cannot tell the board from the list";

  const std::unique_ptr<ChipView> chip = OpenChip(first, true);
  const SIZE before = SizeOf(chip->window());
  ASSERT_FALSE(SameSize(before, secondAsBoard));
  const int changes = owner_.changes;
  const EditorVisit visit = TypeIntoEditor(
      chip->window(), std::wstring(second.begin(), second.end()),
      [&] { return SameSize(SizeOf(chip->window()), secondAsBoard); }, IDCANCEL);
  EXPECT_TRUE(SameSize(visit.size, secondAsBoard))
      << "previewed at " << visit.size.cx << "x" << visit.size.cy << ", the board is " << secondAsBoard.cx << "x"
      << secondAsBoard.cy;

  EXPECT_TRUE(SameSize(SizeOf(chip->window()), before)) << "Cancel shows the first file's board again";
  const ChipRecord kept = chip->Snapshot();
  EXPECT_EQ(kept.memo, first);
  ASSERT_GE(kept.savedBlock.size(), 20u);
  std::int32_t boardMode = 0;
  std::memcpy(&boardMode, kept.savedBlock.data() + 16, 4);
  EXPECT_EQ(boardMode, IDM_BOARD_MODE) << "board mode stays on";
  EXPECT_EQ(owner_.changes, changes) << "nothing to save";
}

// A handler that throws ends at the window procedure: the owner hears which
// chip, which message and why, and the window goes on dispatching.
TEST_F(DeskChipView, AnExceptionInAHandlerEndsAtTheWindowProcedure) {
  struct ThrowCase {
    const char* name;
    bool FakePlugin::*thrower;
    void (*send)(HWND window);
    const char* told;
  };
  const ThrowCase cases[] = {
      {"paint", &FakePlugin::drawThrows,
       [](HWND window) {
         InvalidateRect(window, nullptr, FALSE);
         UpdateWindow(window);
       },
       "7 WM_PAINT: draw refused"},
      {"tick", &FakePlugin::timerThrows, [](HWND window) { SendMessageW(window, WM_TIMER, 1, 0); },
       "7 WM_TIMER: tick refused"},
      {"click", &FakePlugin::clickThrows,
       [](HWND window) {
         SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
         SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
       },
       "7 WM_LBUTTONUP: an exception of unknown type"},
  };
  for (const ThrowCase& c : cases) {
    SCOPED_TRACE(c.name);
    g_fake = FakePlugin{};
    owner_.failures.clear();
    Open();
    g_fake.*c.thrower = true;
    c.send(window());
    EXPECT_EQ(owner_.failures, std::vector<std::string>{c.told});
    RECT dirty{};
    EXPECT_FALSE(GetUpdateRect(window(), &dirty, FALSE)) << "a failed paint is validated all the same";
    EXPECT_FALSE(view_->busy()) << "the chip is left held";

    g_fake.*c.thrower = false;
    const int ticks = g_fake.timerCalls;
    SendMessageW(window(), WM_TIMER, 1, 0);
    EXPECT_EQ(g_fake.timerCalls, ticks + 1) << "the window stopped dispatching";
    EXPECT_EQ(owner_.failures.size(), 1u);
  }
}

}  // namespace
}  // namespace kn::desk
