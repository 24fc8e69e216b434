// Clicks on the chip: scroll mode, paging, launching and copying links, and
// the Shift-click that switches board mode.
#include "plugin/click_logic.h"

#include <memory>

#include "chip_fixture.h"
#include "fake_desktop.h"

namespace kn::testing {
namespace {

class ClickLogic : public ChipFixture {
 protected:
  // Client 0..300 x 0..200; text inset by 4 on every side; rows 12 high.
  int Click(int x, int y, bool shift = false, bool alt = false) {
    const ClickGeometry where{{0, 0, 300, 200}, {4, 4, 296, 196}, x, y};
    return ClickChip(env, chip, {shift, alt}, where, desktop);
  }
  // The middle of row `row` of the text, just inside its first character.
  static int RowY(int row) { return 4 + row * 12 + 6; }

  FakeDesktop desktop;
};

TEST_F(ClickLogic, AltTogglesScrollModeAndAltShiftLeavesItAtTheTop) {
  Create("a\nb\nc");
  Modify([](ChipState& s) { s.firstLine = 2; });
  EXPECT_EQ(Click(10, RowY(0), false, true), kResultRedraw);
  EXPECT_EQ(State().scrollMode, IDM_SCROLL_MODE);
  EXPECT_EQ(State().firstLine, 2);
  EXPECT_EQ(Click(10, RowY(0), false, true), kResultRedraw);
  EXPECT_EQ(State().scrollMode, 0);
  EXPECT_EQ(State().firstLine, 2);
  for (const std::int32_t mode : {0, IDM_SCROLL_MODE}) {
    Modify([mode](ChipState& s) {
      s.scrollMode = mode;
      s.firstLine = 2;
    });
    EXPECT_EQ(Click(10, RowY(0), true, true), kResultRedraw);
    EXPECT_EQ(State().scrollMode, 0);
    EXPECT_EQ(State().firstLine, 0);
  }
  EXPECT_EQ(desktop.surfacesOpened, 0);
}

TEST_F(ClickLogic, PlainClickInScrollModeScrollsInsteadOfFollowingALink) {
  Create("!notepad.exe\nb\nc\nd\ne\nf");
  Modify([](ChipState& s) {
    s.scrollMode = IDM_SCROLL_MODE;
    s.lastLine = 5;
    s.linesDrawn = 2;
  });
  EXPECT_EQ(Click(10, 199), kResultRedraw);  // bottom band: page down
  EXPECT_EQ(State().firstLine, 2);
  EXPECT_EQ(Click(10, 199), kResultRedraw);  // clamped to the last page
  EXPECT_EQ(State().firstLine, 4);
  EXPECT_EQ(Click(10, 199), kResultNothing);
  EXPECT_EQ(Click(10, 5), kResultRedraw);  // top band: page up
  EXPECT_EQ(State().firstLine, 2);
  EXPECT_TRUE(desktop.launches.empty());
}

TEST_F(ClickLogic, ClickOnALinkLaunchesItsCommand) {
  Create("plain line\n!notepad.exe a.txt");
  EXPECT_EQ(Click(10, RowY(1)), kResultNothing);
  ASSERT_EQ(desktop.launches.size(), 1u);
  EXPECT_EQ(desktop.launches[0].program, "notepad.exe");
  EXPECT_EQ(desktop.launches[0].parameters, "a.txt ");
  EXPECT_EQ(desktop.launches[0].directory, "");
  EXPECT_TRUE(desktop.failures.empty());
}

TEST_F(ClickLogic, ShiftClickCopiesOutsideScrollModeAndLaunchesInside) {
  Create("!=Editor|C:\\tools\\ed.exe x");
  EXPECT_EQ(Click(10, RowY(0), true), kResultNothing);
  ASSERT_EQ(desktop.copies.size(), 1u);
  EXPECT_EQ(desktop.copies[0], "C:\\tools\\ed.exe x");
  EXPECT_TRUE(desktop.launches.empty());

  Modify([](ChipState& s) { s.scrollMode = IDM_SCROLL_MODE; });
  EXPECT_EQ(Click(10, RowY(0), true), kResultNothing);
  ASSERT_EQ(desktop.launches.size(), 1u);
  EXPECT_EQ(desktop.launches[0].program, "C:\\tools\\ed.exe");
  EXPECT_EQ(desktop.launches[0].directory, "C:\\tools\\");
  EXPECT_EQ(desktop.copies.size(), 1u);
  EXPECT_EQ(State().boardMode, 0);
}

TEST_F(ClickLogic, FailedLaunchShowsTheMessageWithTheTriple) {
  Create("!missing.exe p");
  desktop.shellResult = 2;
  EXPECT_EQ(Click(10, RowY(0)), kResultNothing);
  ASSERT_EQ(desktop.failures.size(), 1u);
  EXPECT_NE(desktop.failures[0].find("Exec:missing.exe\nParams:p \nWorkDir:"), std::string::npos);
}

TEST_F(ClickLogic, EmptyTitledLinkLaunchesNothingAndSaysNothing) {
  Create("!=Title|");
  EXPECT_EQ(Click(10, RowY(0)), kResultNothing);
  EXPECT_TRUE(desktop.launches.empty());
  EXPECT_TRUE(desktop.failures.empty());
}

TEST_F(ClickLogic, LinkWithAnEmptyProgramLaunchesNothingAndSaysNothing) {
  for (const char* memo : {"!,x", "!\"\" a", "!=Title|,x"}) {
    SCOPED_TRACE(memo);
    if (chip) DestroyChip(env, chip);
    Create(memo);
    EXPECT_EQ(Click(10, RowY(0)), kResultNothing);
    EXPECT_TRUE(desktop.launches.empty());
    EXPECT_TRUE(desktop.failures.empty());
  }
}

TEST_F(ClickLogic, ClickBesideOrBetweenLinesDoesNothing) {
  Create("!ab\n!notepad.exe");
  EXPECT_EQ(Click(250, RowY(0)), kResultNothing);  // right of the short first line
  EXPECT_EQ(Click(10, 16), kResultNothing);        // on the boundary of rows 0 and 1
  EXPECT_EQ(Click(10, 190), kResultNothing);       // below every line
  EXPECT_TRUE(desktop.launches.empty());
  EXPECT_EQ(State().boardMode, 0);
}

TEST_F(ClickLogic, ShiftClickOffALinkReturnsToTheTopAndTogglesBoardMode) {
  files.AddFile("a.txt", "from the board\n");
  Create("a.txt\nsecond");
  Modify([](ChipState& s) { s.firstLine = 1; });
  EXPECT_EQ(Click(250, RowY(0), true), kResultRedraw);
  EXPECT_EQ(State().firstLine, 0);
  EXPECT_EQ(State().boardMode, IDM_BOARD_MODE);
  EXPECT_EQ(Shown(), "from the board");
  EXPECT_EQ(Click(250, RowY(0), true), kResultRedraw);
  EXPECT_EQ(State().boardMode, 0);
  EXPECT_EQ(Shown(), "a.txt\nsecond");
}

TEST_F(ClickLogic, ShiftClickWithoutTextStillTogglesBoardMode) {
  Create(nullptr);
  EXPECT_EQ(Click(10, 10, true), kResultRedraw);
  EXPECT_EQ(State().boardMode, IDM_BOARD_MODE);
  EXPECT_EQ(desktop.surfacesOpened, 0);
}

TEST_F(ClickLogic, ChipThatCannotBeLockedIgnoresTheClick) {
  Create("!notepad.exe");
  memory.unlockable.insert(chip);
  EXPECT_EQ(Click(10, RowY(0), false, true), kResultNothing);
  EXPECT_EQ(Click(10, RowY(0)), kResultNothing);
  EXPECT_TRUE(desktop.launches.empty());
  memory.unlockable.clear();
  EXPECT_EQ(memory.HeldLocks(), 0);
}

}  // namespace
}  // namespace kn::testing
