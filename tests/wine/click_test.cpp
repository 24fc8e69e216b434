// Clicks on a real chip window, with Shift and Alt held through the thread's
// keyboard state: launching a link (a recorder program reports how it was
// started), copying its command, the launch-failure box, scrolling by
// region, and the Alt and Shift gestures that switch modes.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "wine/harness/hex_text.h"
#include "wine/harness/chip_fixture.h"
#include "wine/harness/clipboard_text.h"
#include "wine/harness/expected_texts.h"
#include "wine/harness/key_state.h"
#include "wine/harness/launch_recorder.h"
#include "wine/harness/message_box_capture.h"
#include "wine/harness/scratch_folder.h"

namespace kn::wine {
namespace {

// "実行できませんでした。"
const std::string kCouldNotRun =
    "\x8e\xc0\x8d\x73\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42";
// "表", whose second byte is a backslash
const std::string kKanjiWithBackslash = "\x95\x5c";

std::string JoinLines(const std::vector<std::string>& lines, size_t from = 0) {
  std::string memo;
  for (size_t i = from; i < lines.size(); ++i) memo += lines[i] + "\r\n";
  return memo;
}

bool SameLetters(const std::string& a, const std::string& b) {
  return a.size() == b.size() && lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

class ClickTest : public PaintTest {
 protected:
  int Click(const ScopedChip& chip, POINT point, bool shift = false, bool alt = false) {
    ScopedKeys keys(shift, alt);
    EXPECT_TRUE(keys.applied()) << "SetKeyboardState failed";
    return ClickChipAt(chip.get(), hwnd(), point);
  }

  // The height of one row of the test font, as the chip lays rows out.
  int RowHeight(const LOGFONTA& logFont) {
    HFONT font = CreateFontIndirectA(&logFont);
    HGDIOBJ previous = SelectObject(canvas().dc(), font);
    RECT rect = TextRect(client());
    const int height = DrawTextA(canvas().dc(), "Ag", 2, &rect, DT_CALCRECT | 0x850);
    SelectObject(canvas().dc(), previous);
    DeleteObject(font);
    return height;
  }

  // A point just inside the text of row `row` (rows of one line each).
  POINT OnRow(int row) {
    const RECT text = TextRect(client());
    return POINT{text.left + 2, text.top + row * RowHeight(TestFont()) + 2};
  }

  // What a fresh chip showing `memo` paints, for comparisons.
  std::unique_ptr<Canvas> PaintOf(const std::string& memo, bool scrollMode) {
    ChipSettings settings;
    settings.Memo(memo);
    if (scrollMode) settings.WithModes(ScrollModeOn());
    ScopedChip chip(settings);
    auto picture = std::make_unique<Canvas>(client());
    picture->Fill(RGB(1, 2, 3));
    Api().DrawChip(chip.get(), hwnd(), picture->dc());
    return picture;
  }

  void ExpectPaintOf(const ScopedChip& chip, const std::string& memo, bool scrollMode) {
    EXPECT_EQ(Paint(chip), 0);
    const std::unique_ptr<Canvas> expected = PaintOf(memo, scrollMode);
    EXPECT_EQ(canvas().FirstDifference(*expected), "");
  }

  bool BevelShown() { return canvas().At(canvas().width() / 2, 0) == GetSysColor(COLOR_BTNHIGHLIGHT); }
};

// ---- Launching a link ------------------------------------------------------

// Starting a process takes minutes here (Wine under emulation), so one launch
// carries the checks; the failure box below covers more command forms.
TEST_F(ClickTest, LinkStartsTheProgramWithItsParametersInItsFolder) {
  ScratchFolder scratch("launch");
  ASSERT_TRUE(scratch.ok());
  ASSERT_TRUE(scratch.MakeFolders("programs"));
  const std::string folder = scratch.Join("programs");
  const std::string program = folder + "\\kn_recorder.exe";
  ASSERT_TRUE(CopyFileA(RecorderProgramPath().c_str(), program.c_str(), FALSE))
      << "cannot copy " << RecorderProgramPath();

  // The quotes keep the two words one argument: the chip quotes a parameter
  // that holds a blank when it builds the parameter string.
  ChipSettings settings;
  settings.Memo("first line\r\n!" + program + " arg1 \"two words\"\r\nlast line");
  ScopedChip chip(settings);

  // The program must start in its own folder, not in the caller's.
  ScopedCurrentDirectory elsewhere(scratch.path());
  ASSERT_TRUE(elsewhere.changed());
  LaunchRecorder recorder(scratch.Join("record.txt"));
  std::optional<LaunchRecord> record;
  // Under emulation Wine can take so long to start a process that the shell
  // gives up and the chip shows its failure box; such a start gets one more
  // click. A launch that fails twice, or a wrong record, still fails.
  std::vector<std::string> failures;
  for (int attempt = 0; attempt < 2 && !record; ++attempt) {
    MessageBoxCapture boxes;
    EXPECT_EQ(Click(chip, OnRow(1)), 0);
    for (const CapturedBox& box : boxes.boxes()) failures.push_back(box.text);
    record = recorder.Wait(boxes.boxes().empty() ? 600000 : 1000);
  }
  ASSERT_TRUE(record) << "the recorder never ran; failure boxes: " << failures.size()
                      << (failures.empty() ? "" : ", the first: " + failures[0]);
  EXPECT_EQ(record->args, (std::vector<std::string>{"arg1", "two words"}));
  EXPECT_TRUE(SameLetters(record->directory, folder)) << record->directory << " vs " << folder;

  // The command line is the program (quoted by the shell), one blank, then
  // the parameter string exactly as given, its trailing blank included.
  const std::string& line = record->commandLine;
  const bool quotedByShell = !line.empty() && line[0] == '"';
  const size_t programEnd = quotedByShell ? line.find('"', 1) : line.find(' ');
  ASSERT_NE(programEnd, std::string::npos) << line;
  const size_t programStart = quotedByShell ? 1 : 0;
  EXPECT_TRUE(SameLetters(line.substr(programStart, programEnd - programStart), program)) << line;
  EXPECT_EQ(line.substr(programEnd + programStart), " arg1 \"two words\" ") << line;

  // The recorder's folder stays in use (its current directory) until it has
  // exited; wait a while for that so the scratch folder can go.
  for (int tries = 0; tries < 600; ++tries) {
    DeleteFileA(program.c_str());
    if (RemoveDirectoryA(folder.c_str())) break;
    Sleep(100);
  }
}

// ---- Copying a link's command ------------------------------------------

struct CopyCase {
  const char* name;
  const char* line;
  const char* command;
};

class ClickCopyTest : public ClickTest, public testing::WithParamInterface<CopyCase> {};

// The programs are missing: a launch instead of a copy would show a box.
TEST_P(ClickCopyTest, ShiftClickPutsTheCommandOnTheClipboard) {
  ChipSettings settings;
  settings.Memo(GetParam().line);
  ScopedChip chip(settings);
  ASSERT_TRUE(EmptyTheClipboard());
  MessageBoxCapture boxes;
  EXPECT_EQ(Click(chip, OnRow(0), true), 0);
  EXPECT_TRUE(boxes.boxes().empty()) << "the link was launched, not copied";
  const std::optional<std::string> copied = ClipboardText();
  ASSERT_TRUE(copied) << "no CF_TEXT on the clipboard";
  EXPECT_EQ(*copied, GetParam().command);
}

INSTANTIATE_TEST_SUITE_P(
    Links, ClickCopyTest,
    testing::Values(CopyCase{"Titled", "!=copy me|Z:\\kn-missing\\nothing.exe \"a b\",c",
                             "Z:\\kn-missing\\nothing.exe \"a b\",c"},
                    CopyCase{"Untitled", "!Z:\\kn-missing\\x.exe a.txt ", "Z:\\kn-missing\\x.exe a.txt"},
                    CopyCase{"AutomaticWithBlanks", "  Z:\\kn-missing\\doc.txt  ", "Z:\\kn-missing\\doc.txt"}),
    [](const testing::TestParamInfo<CopyCase>& info) { return std::string(info.param.name); });

TEST_F(ClickTest, ShiftClickInScrollModeLaunchesAndNeverCopies) {
  ChipSettings settings;
  settings.Memo("!Z:\\kn-missing\\nothing.exe").WithModes(ScrollModeOn());
  ScopedChip chip(settings);
  ASSERT_TRUE(EmptyTheClipboard());
  MessageBoxCapture boxes;
  EXPECT_EQ(Click(chip, OnRow(0), true), 0);
  EXPECT_EQ(boxes.boxes().size(), 1u) << "the launch was not tried";
  EXPECT_FALSE(ClipboardText()) << "the command was copied";
}

// ---- A launch that fails ------------------------------------------------

struct FailureCase {
  const char* name;
  std::string line;
  std::string program;
  std::string parameters;
  std::string directory;
};

class ClickFailureTest : public ClickTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(ClickFailureTest, ShowsTheWholeFailureMessage) {
  const FailureCase& c = GetParam();
  ChipSettings settings;
  settings.Memo(c.line);
  ScopedChip chip(settings);
  MessageBoxCapture boxes;
  ASSERT_TRUE(boxes.installed());
  EXPECT_EQ(Click(chip, OnRow(0)), 0);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  const CapturedBox& box = boxes.boxes()[0];
  // A message too long for a box is cut at 4095 bytes.
  const std::string expected = (kCouldNotRun + "\n\nExec:" + c.program + "\nParams:" + c.parameters +
                                "\nWorkDir:" + c.directory)
                                   .substr(0, 4095);
  EXPECT_EQ(box.text.size(), expected.size());
  EXPECT_EQ(box.text, expected) << "shown:    " << Hex(box.text) << "\nexpected: " << Hex(expected);
  EXPECT_EQ(box.caption, kTitle) << Hex(box.caption);
  EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_ERROR)) << "not the error icon";
  EXPECT_EQ(box.owner, hwnd());
  EXPECT_TRUE(box.hasOk);
  EXPECT_FALSE(box.hasCancel);
}

const std::string kLongProgram = "Z:\\kn-missing\\" + std::string(600, 'p') + ".exe";
const std::string kLongParameter = std::string(300, 'q');
const std::string kOverlongUrl = "http://example.com/" + std::string(2083, 'u');
const std::string kOverlongParameter = std::string(32768, 'q');  // shown cut

INSTANTIATE_TEST_SUITE_P(
    Links, ClickFailureTest,
    testing::Values(
        FailureCase{"WithParameters", "!Z:\\kn-missing\\nothing.exe p1 \"p 2\"", "Z:\\kn-missing\\nothing.exe",
                    "p1 \"p 2\" ", "Z:\\kn-missing\\"},
        FailureCase{"TitledQuotedPathWithBlanks", "  !=Run it|\"Z:\\kn missing\\some dir\\nothing.exe\"  a,b ",
                    "Z:\\kn missing\\some dir\\nothing.exe", "a b ", "Z:\\kn missing\\some dir\\"},
        FailureCase{"NoFolder", "!=go|kn-missing-program.exe a", "kn-missing-program.exe", "a ", ""},
        // The kanji's second byte is no folder separator.
        FailureCase{"KanjiEndingInBackslash", "!Z:\\kn-missing\\" + kKanjiWithBackslash + ".exe",
                    "Z:\\kn-missing\\" + kKanjiWithBackslash + ".exe", "", "Z:\\kn-missing\\"},
        // Far longer than 512 bytes: shown whole, nothing cut.
        FailureCase{"LongerThanAnyFixedBuffer", "!" + kLongProgram + " " + kLongParameter + " r",
                    kLongProgram, kLongParameter + " r ", "Z:\\kn-missing\\"},
        // Longer than Windows takes: refused before the shell, which could
        // overrun its stack on it and end the host.
        FailureCase{"UrlLongerThanWindowsTakes", kOverlongUrl, kOverlongUrl, "", "http:"},
        FailureCase{"ParametersLongerThanWindowsTakes", "!Z:\\kn-missing\\x.exe " + kOverlongParameter,
                    "Z:\\kn-missing\\x.exe", kOverlongParameter + " ", "Z:\\kn-missing\\"}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

// A link whose command holds nothing launches nothing and says nothing.
TEST_F(ClickTest, EmptyCommandDoesNothing) {
  for (const char* line : {"!=title|", "!=title", "!=title|   "}) {
    SCOPED_TRACE(line);
    ChipSettings settings;
    settings.Memo(line);
    ScopedChip chip(settings);
    MessageBoxCapture boxes;
    EXPECT_EQ(Click(chip, OnRow(0)), 0);
    EXPECT_TRUE(boxes.boxes().empty());
  }
}

// ---- Scrolling by region --------------------------------------------------

std::vector<std::string> NumberedLines(int count) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back("line " + std::to_string(i));
  return lines;
}

// The number of rows the text rectangle holds whole: rows whose bottom lies
// strictly above the rectangle's bottom.
int WholeRows(const RECT& text, int rowHeight) {
  int rows = 0;
  while (text.top + (rows + 1) * rowHeight < text.bottom) ++rows;
  return rows;
}

TEST_F(ClickTest, ScrollClicksMoveTheFirstDrawnLineByRegion) {
  const RECT c = client();
  const int top = c.top;
  const int bottom = c.bottom;
  const int height = bottom - top;
  const int page = WholeRows(TextRect(c), RowHeight(TestFont()));
  ASSERT_GT(page, 2);
  ASSERT_GT(height / 4, 18) << "the window is too small for the quarter regions";
  // lastLine = 2 * page + 3: two pages and a bit.
  const std::vector<std::string> lines = NumberedLines(2 * page + 4);
  const int lastPageStart = page + 4;

  ChipSettings settings;
  settings.Memo(JoinLines(lines)).WithModes(ScrollModeOn());
  ScopedChip chip(settings);
  ASSERT_EQ(Paint(chip), 0);  // sets the last line and the page size

  const int topBand = top + 8;
  const int bottomBand = bottom - 8;
  const int upperQuarter = top + height / 4 - 2;
  const int secondQuarter = top + height / 2 - 2;
  const int thirdQuarter = top + height / 2 + 2;
  const int lowerQuarter = bottom - height / 4 + 2;
  const struct {
    const char* step;
    int y;
    int first;  // the first drawn line afterwards
  } steps[] = {
      {"lower quarter: three down", lowerQuarter, 3},
      {"bottom band: a page down", bottomBand, 3 + page},
      {"bottom band: stops at the last page", bottomBand, lastPageStart},
      {"bottom band at the last page", bottomBand, lastPageStart},
      {"third quarter at the last page", thirdQuarter, lastPageStart},
      {"top band: a page up", topBand, lastPageStart - page},
      {"upper quarter: three up", upperQuarter, 1},
      {"upper quarter: not above the top", upperQuarter, 0},
      {"upper quarter at the top", upperQuarter, 0},
      {"second quarter at the top", secondQuarter, 0},
      {"third quarter: one down", thirdQuarter, 1},
      {"second quarter: one up", secondQuarter, 0},
      {"top row: three down", top, 3},
  };
  int first = 0;
  for (const auto& s : steps) {
    SCOPED_TRACE(std::string(s.step) + " (y=" + std::to_string(s.y) + ")");
    EXPECT_EQ(Click(chip, POINT{5, s.y}), s.first != first ? 1 : 0);
    first = s.first;
    ExpectPaintOf(chip, JoinLines(lines, static_cast<size_t>(first)), true);
  }
}

TEST_F(ClickTest, PlainClickInScrollModeScrollsAndNeverLaunches) {
  std::vector<std::string> lines;
  for (int i = 0; i < 30; ++i) lines.push_back("!Z:\\kn-missing\\program" + std::to_string(i) + ".exe");
  ChipSettings settings;
  settings.Memo(JoinLines(lines)).WithModes(ScrollModeOn());
  ScopedChip chip(settings);
  ASSERT_EQ(Paint(chip), 0);
  MessageBoxCapture boxes;
  // Every row is a link; the middle of the window steps one line down.
  EXPECT_EQ(Click(chip, POINT{5, (client().top + client().bottom) / 2 + 2}), 1);
  EXPECT_TRUE(boxes.boxes().empty()) << "a link was launched";
  ExpectPaintOf(chip, JoinLines(lines, 1), true);
}

// ---- Alt and Shift gestures ------------------------------------------------

TEST_F(ClickTest, AltClickTogglesScrollModeAndKeepsThePosition) {
  const std::vector<std::string> lines = NumberedLines(30);
  const std::string memo = "!Z:\\kn-missing\\nothing.exe\r\n" + JoinLines(lines);
  ChipSettings settings;
  settings.Memo(memo);
  ScopedChip chip(settings);
  ASSERT_EQ(Paint(chip), 0);
  ASSERT_FALSE(BevelShown());

  MessageBoxCapture boxes;
  EXPECT_EQ(Click(chip, OnRow(0), false, true), 1);  // on the link: Alt wins
  EXPECT_TRUE(boxes.boxes().empty()) << "Alt-click launched the link";
  ExpectPaintOf(chip, memo, true);
  EXPECT_TRUE(BevelShown());

  // Scroll three lines down, then leave scroll mode: the position stays.
  EXPECT_EQ(Click(chip, POINT{5, client().top}), 1);
  EXPECT_EQ(Click(chip, POINT{5, client().top}, false, true), 1);
  ExpectPaintOf(chip, JoinLines(lines, 2), false);
  EXPECT_FALSE(BevelShown());
  EXPECT_EQ(Click(chip, POINT{5, client().top}, false, true), 1);
  ExpectPaintOf(chip, JoinLines(lines, 2), true);
}

TEST_F(ClickTest, AltShiftClickLeavesScrollModeAndReturnsToTheTop) {
  const std::vector<std::string> lines = NumberedLines(30);
  const std::string memo = JoinLines(lines);
  ChipSettings settings;
  settings.Memo(memo).WithModes(ScrollModeOn());
  ScopedChip chip(settings);
  ASSERT_EQ(Paint(chip), 0);
  EXPECT_EQ(Click(chip, POINT{5, client().top}), 1);
  ExpectPaintOf(chip, JoinLines(lines, 3), true);

  EXPECT_EQ(Click(chip, POINT{5, 50}, true, true), 1);
  ExpectPaintOf(chip, memo, false);
  // Outside scroll mode it stays out.
  EXPECT_EQ(Click(chip, POINT{5, 50}, true, true), 1);
  ExpectPaintOf(chip, memo, false);
}

// Shift-click where no link is: back to the top, board mode switched.
TEST_F(ClickTest, ShiftClickOffALinkReturnsToTheTopAndTogglesBoardMode) {
  const std::vector<std::string> lines = NumberedLines(30);
  const std::string memo = JoinLines(lines);
  ChipSettings settings;
  settings.Memo(memo).WithModes(ScrollModeOn());
  ScopedChip chip(settings);
  ASSERT_EQ(Paint(chip), 0);
  EXPECT_EQ(Click(chip, POINT{5, client().top}), 1);             // scrolled to line 3
  EXPECT_EQ(Click(chip, POINT{5, client().top}, false, true), 1);  // scroll mode off

  EXPECT_EQ(Click(chip, OnRow(0), true), 1);
  EXPECT_EQ(Paint(chip), 0);
  const std::unique_ptr<Canvas> memoPicture = PaintOf(memo, false);
  EXPECT_NE(canvas().FirstDifference(*memoPicture), "") << "still showing the memo: board mode is off";
  HMENU menu = static_cast<HMENU>(Api().GetDrawExMenu(chip.get()));
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuState(menu, IDM_BOARD_MODE, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  DestroyMenu(menu);

  // Again: board mode off, the memo from its first line.
  EXPECT_EQ(Click(chip, OnRow(0), true), 1);
  ExpectPaintOf(chip, memo, false);
}

}  // namespace
}  // namespace kn::wine
