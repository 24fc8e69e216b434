// The desktop host (kn-desk.exe) as a person meets it, driven from outside
// through window messages: it shows the chips of its settings file as tool
// windows of the size each chip proposes, passes clicks and menu commands to
// the chips, drags them, adds and deletes chips, writes everything back when
// it closes, and reports a damaged settings file instead of overwriting it.
//
// Starting a Wine process and its first text drawing take minutes here, so
// the suite starts the program once (and a second one with a damaged file
// alongside) and its tests run in order against it; the last one closes it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "chip_menu.h"
#include "settings_text.h"
#include "wide_text.h"
#include "wine/harness/chip_fixture.h"
#include "wine/harness/desk_process.h"
#include "wine/harness/hex_text.h"
#include "wine/harness/scratch_folder.h"

namespace kn::wine {
namespace {

constexpr DWORD kStartTimeoutMs = 360000;
constexpr DWORD kReactTimeoutMs = 60000;

// One chip of the settings file the suite starts the program with.
struct ChipPlan {
  POINT origin;
  std::string memo;  // UTF-8, as the settings file holds it
  LONG fontHeight;
  bool bold;
  std::string savedBlock;  // hexadecimal; empty for none
};

// The chip's block for a one-second interval with blue links.
const std::string kEverySecond =
    "3C000000"
    "19270000"
    "15270000" +
    std::string(2 * 56, '0');

const char kBoardFileName[] = "notice.txt";
const char kBoardText[] = "board line one\r\nthe second board line is longer\r\nthree";
const char kMissingProgram[] = "C:\\kn-desk-test\\missing-program.exe";

std::vector<ChipPlan> Chips(const std::string& boardPath) {
  return {
      // 付箋その一, and a clock that ticks every second
      {{30, 30},
       u8"$b|Kaleidonote Desk\r\n#|\u4ed8\u7b8b\u305d\u306e\u4e00\r\n#|%TIMEHH:MM:SS%",
       -12,
       false,
       kEverySecond},
      {{330, 30}, std::string("!") + kMissingProgram + "\r\nclick the line above", -16, true, ""},
      {{30, 260}, boardPath, -12, false, ""},
  };
}

std::string Escaped(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\\' || c == '"') escaped += '\\';
    if (c == '\r') escaped += "\\r";
    else if (c == '\n') escaped += "\\n";
    else escaped += c;
  }
  return escaped;
}

// Written by hand, as a person might: LF line ends, comments, and keys left
// to their defaults (colours, saved blocks).
std::string SettingsFileText(const std::vector<ChipPlan>& chips) {
  std::string text = "kaleidonote-desk 1\n# three chips for the desktop host test\n";
  for (const ChipPlan& chip : chips) {
    text += "\n[chip]\nposition = " + std::to_string(chip.origin.x) + ", " + std::to_string(chip.origin.y) +
            "\nfont-face = \"" + u8"\uff2d\uff33 \u30b4\u30b7\u30c3\u30af" + "\"" +  // ＭＳ ゴシック
            "\nfont-height = " + std::to_string(chip.fontHeight) +
            "\nfont-weight = " + (chip.bold ? "700" : "400") +
            "\nmemo = \"" + Escaped(chip.memo) + "\"\n";
    if (!chip.savedBlock.empty()) text += "saved-block = " + chip.savedBlock + "\n";
  }
  return text + "\n[end]\n";
}

// What the chip proposes for itself, asked here through the DLL with the
// same memo and font; `boardToggled` first switches board mode on.
SIZE ProposedSize(const ChipPlan& plan, bool boardToggled) {
  std::string memo;
  EXPECT_TRUE(host::Utf8ToShiftJis(plan.memo, memo));
  ChipSettings settings;
  settings.Memo(memo).Font(TestFont(plan.fontHeight, plan.bold));
  ScopedChip chip(settings);
  TestWindow window(100, 100);
  if (boardToggled) Api().DoDrawExMenu(chip.get(), window.hwnd(), IDM_BOARD_MODE);
  int size[2] = {100, 100};
  Api().CalcDefaultRect(chip.get(), window.hwnd(), size);
  return SIZE{size[0], size[1]};
}

std::wstring Wide(const std::string& path) { return std::wstring(path.begin(), path.end()); }

// Everything the suite's tests share: the files and the two programs.
struct Suite {
  ScratchFolder folder{"desk"};
  std::string settingsPath = folder.Join("desk-settings.txt");
  std::string damagedPath = folder.Join("damaged-settings.txt");
  std::string damagedText;
  std::vector<ChipPlan> chips = Chips(folder.Join(kBoardFileName));
  std::unique_ptr<DeskProcess> desk;
  std::unique_ptr<DeskProcess> damaged;
  std::vector<HWND> windows;  // in the order of `chips`, once found
  std::string why;            // why they were not found
};

// The third line names a font height no LOGFONT takes.
const char kDamagedSettings[] =
    "kaleidonote-desk 1\r\n"
    "[chip]\r\n"
    "font-height = 5000\r\n"
    "memo = \"kept as it is\"\r\n"
    "[end]\r\n";

class DesktopHostTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    suite_ = new Suite;
    Suite& s = *suite_;
    if (!s.folder.ok()) return;
    WriteWholeFile(s.folder.Join(kBoardFileName), kBoardText);
    WriteWholeFile(s.settingsPath, SettingsFileText(s.chips));
    s.damagedText = kDamagedSettings;
    WriteWholeFile(s.damagedPath, s.damagedText);
    // Both start at once: under emulation each CreateProcess returns only
    // after minutes, once the new process is under way.
    std::thread second([&s] { s.damaged = std::make_unique<DeskProcess>(Wide(s.damagedPath)); });
    s.desk = std::make_unique<DeskProcess>(Wide(s.settingsPath));
    second.join();
  }
  static void TearDownTestSuite() {
    delete suite_;
    suite_ = nullptr;
  }

  void SetUp() override {
    ASSERT_TRUE(Plugin().ready()) << Plugin().error();
    ASSERT_TRUE(suite().folder.ok());
    ASSERT_TRUE(suite().desk->started()) << "kn-desk.exe did not start, error " << suite().desk->startError();
  }

  static Suite& suite() { return *suite_; }
  static DeskProcess& desk() { return *suite_->desk; }

  // The chip windows in the order of the settings file, matched by place;
  // found once, then reused.
  static const std::vector<HWND>& ChipWindows() {
    Suite& s = suite();
    if (!s.windows.empty() || !s.why.empty()) return s.windows;
    const std::vector<HWND> found =
        desk().WaitForWindows(DeskProcess::kChipClass, s.chips.size(), kStartTimeoutMs, s.why);
    if (found.size() != s.chips.size()) {
      if (s.why.empty()) s.why = std::to_string(found.size()) + " chip windows";
      return s.windows;
    }
    for (const ChipPlan& chip : s.chips) {
      for (HWND window : found) {
        const POINT origin = OriginOf(window);
        if (origin.x == chip.origin.x && origin.y == chip.origin.y) s.windows.push_back(window);
      }
    }
    if (s.windows.size() != s.chips.size()) {
      s.why = "the chip windows are not where the settings put them";
      s.windows.clear();
    }
    return s.windows;
  }

  static HWND MainWindow() {
    const std::vector<HWND> mains = desk().Windows(DeskProcess::kMainClass);
    return mains.size() == 1 ? mains[0] : nullptr;
  }

  static void Command(HWND window, UINT id) { PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

  static Suite* suite_;
};

Suite* DesktopHostTest::suite_ = nullptr;

#define KN_ASSERT_CHIPS()                                             \
  const std::vector<HWND>& chips = ChipWindows();                     \
  ASSERT_EQ(chips.size(), suite().chips.size()) << suite().why

TEST_F(DesktopHostTest, ShowsEachChipAsAToolWindowOfTheSizeItProposes) {
  KN_ASSERT_CHIPS();
  for (std::size_t i = 0; i < chips.size(); ++i) {
    SCOPED_TRACE("chip " + std::to_string(i + 1));
    const SIZE expected = ProposedSize(suite().chips[i], false);
    const SIZE shown = OuterSizeOf(chips[i]);
    EXPECT_EQ(shown.cx, expected.cx);
    EXPECT_EQ(shown.cy, expected.cy);
    const LONG style = GetWindowLongW(chips[i], GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_BORDER | WS_CAPTION | WS_THICKFRAME), WS_POPUP | WS_BORDER)
        << std::hex << style;
    EXPECT_NE(GetWindowLongW(chips[i], GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
  }
  EXPECT_NE(MainWindow(), nullptr) << "the main window is missing";
}

TEST_F(DesktopHostTest, AClickOnALinkReachesTheChip) {
  KN_ASSERT_CHIPS();
  // Inside the first line's text: the link to a program that does not exist.
  const LPARAM at = MAKELPARAM(GetSystemMetrics(SM_CXFRAME) + 4, GetSystemMetrics(SM_CYFRAME) + 4);
  PostMessageW(chips[1], WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(chips[1], WM_LBUTTONUP, 0, at);
  HWND box = desk().WaitForMessageBox(kReactTimeoutMs);
  ASSERT_NE(box, nullptr) << "the chip did not report the failed launch";
  EXPECT_NE(MessageBoxText(box).find(std::string("Exec:") + kMissingProgram), std::string::npos)
      << MessageBoxText(box);
  EXPECT_EQ(GetWindow(box, GW_OWNER), chips[1]);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(WaitUntil(kReactTimeoutMs, [&] { return desk().Windows(DeskProcess::kDialogClass).empty(); }));
  EXPECT_EQ(OriginOf(chips[1]).x, suite().chips[1].origin.x) << "a click must not move the chip";
}

TEST_F(DesktopHostTest, PressAndMoveDragsTheChipInsteadOfClicking) {
  KN_ASSERT_CHIPS();
  const POINT before = OriginOf(chips[1]);
  // The cursor keeps its place on the chip while the chip follows it, so
  // the release comes at the same client point as the press.
  PostMessageW(chips[1], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  PostMessageW(chips[1], WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 30));
  PostMessageW(chips[1], WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_TRUE(WaitUntil(kReactTimeoutMs, [&] {
    const POINT now = OriginOf(chips[1]);
    return now.x == before.x + 30 && now.y == before.y + 20;
  })) << "now at " << OriginOf(chips[1]).x << "," << OriginOf(chips[1]).y;
  // Nothing may reach the chip as a click: the link under the press would
  // have reported its failed launch.
  Sleep(1500);
  EXPECT_TRUE(desk().Windows(DeskProcess::kDialogClass).empty());
}

TEST_F(DesktopHostTest, BoardModeFromTheMenuShowsTheBoardAtItsOwnSize) {
  KN_ASSERT_CHIPS();
  const SIZE board = ProposedSize(suite().chips[2], true);
  const SIZE memo = ProposedSize(suite().chips[2], false);
  ASSERT_FALSE(board.cx == memo.cx && board.cy == memo.cy) << "the case cannot tell the two apart";
  Command(chips[2], IDM_BOARD_MODE);
  EXPECT_TRUE(WaitUntil(kReactTimeoutMs, [&] {
    const SIZE now = OuterSizeOf(chips[2]);
    return now.cx == board.cx && now.cy == board.cy;
  })) << "now " << OuterSizeOf(chips[2]).cx << "x" << OuterSizeOf(chips[2]).cy << ", board "
      << board.cx << "x" << board.cy;
}

TEST_F(DesktopHostTest, NewChipAndDeleteChipComeFromTheChipsMenu) {
  KN_ASSERT_CHIPS();
  const std::size_t count = chips.size();
  Command(chips[0], desk::kCommandNewChip);
  std::string why;
  std::vector<HWND> now = desk().WaitForWindows(DeskProcess::kChipClass, count + 1, kReactTimeoutMs, why);
  ASSERT_EQ(now.size(), count + 1) << why;
  HWND added = nullptr;
  for (HWND window : now) {
    if (std::find(chips.begin(), chips.end(), window) == chips.end()) added = window;
  }
  ASSERT_NE(added, nullptr);

  Command(added, desk::kCommandDeleteChip);  // asks first
  HWND box = desk().WaitForMessageBox(kReactTimeoutMs);
  ASSERT_NE(box, nullptr) << "no question before deleting";
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
  EXPECT_TRUE(WaitUntil(kReactTimeoutMs, [&] { return desk().Windows(DeskProcess::kChipClass).size() == count; }));
  EXPECT_FALSE(IsWindow(added));
}

std::vector<std::string> FileNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

std::int32_t BlockWord(const std::vector<std::uint8_t>& block, std::size_t offset) {
  std::int32_t value = 0;
  if (block.size() >= offset + 4) std::memcpy(&value, block.data() + offset, 4);
  return value;
}

// The first chip ticks every second, and every tick answers that its
// display changed; a change must still reach the disk about a second later.
TEST_F(DesktopHostTest, AChangeIsSavedWithinASecondWhileAChipTicksEverySecond) {
  KN_ASSERT_CHIPS();
  Sleep(2500);  // a few ticks first
  Command(chips[0], IDM_LINK_RED);
  const DWORD start = GetTickCount();
  const bool saved = WaitUntil(10000, [&] {
    const std::optional<std::string> text = ReadWholeFile(suite().settingsPath);
    const desk::SettingsReading reading = desk::ReadSettingsText(text.value_or(""));
    return reading.verdict == desk::SettingsVerdict::kRead && !reading.settings.chips.empty() &&
           BlockWord(reading.settings.chips[0].savedBlock, 8) == IDM_LINK_RED;
  });
  EXPECT_TRUE(saved) << "the red links were not saved within 10 s";
  const unsigned long ms = GetTickCount() - start;
  RecordProperty("change_on_disk_ms", std::to_string(ms));
  std::printf("the change was on disk after %lu ms\n", ms);
}

TEST_F(DesktopHostTest, ClosingWritesEveryChipBack) {
  KN_ASSERT_CHIPS();
  Command(chips[0], IDM_BLINK);       // answered 0: only the saved block shows it
  Command(chips[1], IDM_SCROLL_MODE);  // answered 3
  std::vector<POINT> origins;
  for (HWND window : chips) origins.push_back(OriginOf(window));
  const std::optional<std::string> before = ReadWholeFile(suite().settingsPath);

  HWND main = MainWindow();
  ASSERT_NE(main, nullptr);
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(desk().WaitForExit(kReactTimeoutMs)) << "kn-desk.exe did not quit";
  EXPECT_EQ(desk().ExitCode(), 0u);

  const std::optional<std::string> after = ReadWholeFile(suite().settingsPath);
  ASSERT_TRUE(after.has_value());
  EXPECT_NE(after, before) << "the file was not written back";
  const desk::SettingsReading reading = desk::ReadSettingsText(*after);
  ASSERT_EQ(reading.verdict, desk::SettingsVerdict::kRead) << desk::DescribeReading(reading);
  ASSERT_EQ(reading.settings.chips.size(), chips.size());
  for (std::size_t i = 0; i < chips.size(); ++i) {
    SCOPED_TRACE("chip " + std::to_string(i + 1));
    const desk::ChipRecord& saved = reading.settings.chips[i];
    EXPECT_EQ(saved.memo, suite().chips[i].memo);
    EXPECT_EQ(saved.font.height, suite().chips[i].fontHeight);
    EXPECT_EQ(saved.x, origins[i].x);
    EXPECT_EQ(saved.y, origins[i].y);
    ASSERT_GE(saved.savedBlock.size(), 64u);
    EXPECT_EQ(BlockWord(saved.savedBlock, 0), 60) << "not a block the chip wrote";
  }
  const auto& saved = reading.settings.chips;
  EXPECT_EQ(BlockWord(saved[0].savedBlock, 12), IDM_BLINK);
  EXPECT_EQ(BlockWord(saved[1].savedBlock, 20), IDM_SCROLL_MODE);
  EXPECT_EQ(BlockWord(saved[2].savedBlock, 16), IDM_BOARD_MODE) << "board mode chosen from the menu";
  EXPECT_EQ(BlockWord(saved[0].savedBlock, 16), 0);
}

TEST_F(DesktopHostTest, DamagedSettingsAreReportedAndLeftAsTheyWere) {
  DeskProcess& damaged = *suite().damaged;
  ASSERT_TRUE(damaged.started()) << damaged.startError();
  HWND box = damaged.WaitForMessageBox(kStartTimeoutMs);
  ASSERT_NE(box, nullptr) << "no report; the program is " << (damaged.Running() ? "running" : "gone");
  // In Japanese, as this system speaks: "壊れています" (damaged) and "3 行目" (line 3).
  const std::string text = MessageBoxText(box);
  std::string damagedWord;
  std::string lineThree;
  ASSERT_TRUE(host::Utf8ToShiftJis(u8"\u58ca\u308c\u3066\u3044\u307e\u3059", damagedWord));
  ASSERT_TRUE(host::Utf8ToShiftJis(u8"3 \u884c\u76ee", lineThree));
  EXPECT_NE(text.find(damagedWord), std::string::npos) << Hex(text);
  EXPECT_NE(text.find(lineThree), std::string::npos) << Hex(text);
  EXPECT_TRUE(damaged.Windows(DeskProcess::kChipClass).empty()) << "chips shown from a damaged file";
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);  // quit, keep the file
  ASSERT_TRUE(damaged.WaitForExit(kReactTimeoutMs));
  EXPECT_EQ(damaged.ExitCode(), 3u);
  EXPECT_EQ(ReadWholeFile(suite().damagedPath), suite().damagedText);
  for (const std::string& name : FileNames(suite().folder.path())) {
    EXPECT_TRUE(name == "desk-settings.txt" || name == "damaged-settings.txt" || name == kBoardFileName)
        << "a file the test did not expect: " << name;
  }
}

}  // namespace
}  // namespace kn::wine
