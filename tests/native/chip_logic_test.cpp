// The chip's life through the host's calls: settings, saved block, menu
// commands, board mode and the timer's decisions.
#include "chip_fixture.h"
#include "markup/civil_date.h"

namespace kn::testing {
namespace {

using ChipLogic = ChipFixture;

TEST_F(ChipLogic, UpdateWithoutMemoChangesOnlyColoursFontAndZoom) {
  const auto saved = SaveData(IDM_INTERVAL_3MIN, IDM_LINK_RED, IDM_BLINK, 0, IDM_SCROLL_MODE);
  Create("memo", saved.data());
  const ChipState before = State();

  ChipSettingsView settings = Settings(nullptr, kNoSaveData);
  settings.textColor = MakeRgb(1, 2, 3);
  settings.backColor = MakeRgb(4, 5, 6);
  settings.font.lfHeight = -20;
  settings.zoomed = 1;
  UpdateChip(env, chip, settings);

  const ChipState after = State();
  EXPECT_EQ(after.textColor, MakeRgb(1, 2, 3));
  EXPECT_EQ(after.backColor, MakeRgb(4, 5, 6));
  EXPECT_EQ(after.baseFont.lfHeight, -20);
  EXPECT_EQ(after.zoomed, 1);
  EXPECT_EQ(after.displayText, before.displayText);
  EXPECT_EQ(after.memoText, before.memoText);
  EXPECT_EQ(after.interval, IDM_INTERVAL_3MIN);  // the block was not consulted
  EXPECT_EQ(after.linkColor, IDM_LINK_RED);
  EXPECT_EQ(after.scrollMode, IDM_SCROLL_MODE);
  EXPECT_EQ(Shown(), "memo");
}

TEST_F(ChipLogic, CreateWithoutMemoLeavesModesUnsetAndNoText) {
  Create(nullptr);
  const ChipState state = State();
  EXPECT_EQ(state.interval, 0);
  EXPECT_EQ(state.linkColor, 0);
  EXPECT_EQ(state.displayText, nullptr);
  EXPECT_EQ(state.memoText, nullptr);
}

TEST_F(ChipLogic, SaveBlockOfAnyOtherLengthGivesDefaultsAndKeepsLastCheck) {
  const BrokenDownTime check = MakeLocalTime(2025, 3, 4, 5, 6, 7);
  const auto full = SaveData(IDM_INTERVAL_10MIN, IDM_LINK_GREEN, IDM_BLINK, 0, IDM_SCROLL_MODE, check);
  Create("memo", full.data());
  for (const std::int32_t length : {0, 56, 64, -60}) {
    SCOPED_TRACE(length);
    auto block = full;
    std::memcpy(block.data(), &length, 4);
    UpdateChip(env, chip, Settings("memo", block.data()));
    const ChipState state = State();
    EXPECT_EQ(state.interval, IDM_INTERVAL_1MIN);
    EXPECT_EQ(state.linkColor, IDM_LINK_BLUE);
    EXPECT_EQ(state.blink, 0);
    EXPECT_EQ(state.boardMode, 0);
    EXPECT_EQ(state.scrollMode, 0);
    EXPECT_EQ(std::memcmp(&state.lastCheck, &check, sizeof check), 0);
  }
}

TEST_F(ChipLogic, SavedBlockRoundTripsEveryModeAndTheLastCheck) {
  const BrokenDownTime check = MakeLocalTime(2024, 2, 29, 23, 59, 58);
  const auto saved = SaveData(IDM_INTERVAL_1SEC, IDM_LINK_GREEN, IDM_BLINK, IDM_BOARD_MODE,
                              IDM_SCROLL_MODE, check);
  Create("memo", saved.data());
  std::uint8_t block[kSaveBlockSize];
  std::memset(block, 0xEE, sizeof block);
  const ChipState state = State();
  PackSaveBlock(&state, block);
  EXPECT_EQ(std::vector<std::uint8_t>(block, block + kSaveBlockSize), saved);
  const std::int32_t expectWords[] = {60, IDM_INTERVAL_1SEC, IDM_LINK_GREEN, IDM_BLINK,
                                      IDM_BOARD_MODE, IDM_SCROLL_MODE};
  EXPECT_EQ(std::memcmp(block, expectWords, sizeof expectWords), 0);
  for (int i = 60; i < 68; ++i) EXPECT_EQ(block[i], 0) << "byte " << i;
}

TEST_F(ChipLogic, DefaultBlockWhenTheStateCannotBeRead) {
  std::uint8_t block[kSaveBlockSize];
  PackSaveBlock(nullptr, block);
  std::int32_t words[17];
  std::memcpy(words, block, sizeof words);
  EXPECT_EQ(words[0], 60);
  EXPECT_EQ(words[1], IDM_INTERVAL_1MIN);
  EXPECT_EQ(words[2], IDM_LINK_BLUE);
  for (int i = 3; i < 17; ++i) EXPECT_EQ(words[i], 0) << "word " << i;
}

TEST_F(ChipLogic, FirstUpdateShowsTheMemoEvenWhenTheBlockTurnsBoardModeOn) {
  files.AddFile("a.txt", "board line\n");
  const auto saved = SaveData(IDM_INTERVAL_1MIN, IDM_LINK_BLUE, 0, IDM_BOARD_MODE, 0);
  Create("a.txt", saved.data());
  EXPECT_EQ(Shown(), "a.txt");
  EXPECT_EQ(State().boardMode, IDM_BOARD_MODE);
  UpdateChip(env, chip, Settings("a.txt", saved.data()));
  EXPECT_EQ(Shown(), "board line");
  EXPECT_EQ(State().displayLength, 10);
}

TEST_F(ChipLogic, MenuCommandsChangeTheirModeWithTheirResults) {
  Create("memo");
  struct Case {
    std::uint32_t id;
    int result;
  } cases[] = {
      {IDM_LINK_BLUE, kResultNothing},     // already selected
      {IDM_LINK_RED, kResultRedraw},       {IDM_LINK_RED, kResultNothing},
      {IDM_INTERVAL_NONE, kResultNothing}, {IDM_INTERVAL_10MIN, kResultNothing},
      {IDM_BLINK, kResultNothing},         {IDM_SCROLL_MODE, kResultTextChanged},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const MenuOutcome outcome = ApplyMenuCommand(env, chip, c.id);
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_FALSE(outcome.showAbout);
  }
  const ChipState state = State();
  EXPECT_EQ(state.linkColor, IDM_LINK_RED);
  EXPECT_EQ(state.interval, IDM_INTERVAL_10MIN);
  EXPECT_EQ(state.blink, IDM_BLINK);
  EXPECT_EQ(state.scrollMode, IDM_SCROLL_MODE);
  EXPECT_EQ(ApplyMenuCommand(env, chip, IDM_BLINK).result, kResultNothing);
  EXPECT_EQ(State().blink, 0);
}

TEST_F(ChipLogic, UnknownCommandsShowTheAboutBoxAndChangeNothing) {
  Create("memo");
  const ChipState before = State();
  for (const std::uint32_t id : {0u, 10011u, 10018u, 10019u, 0xFFFFFFFFu, 0x80002717u}) {
    SCOPED_TRACE(id);
    const MenuOutcome outcome = ApplyMenuCommand(env, chip, id);
    EXPECT_EQ(outcome.result, kResultNothing);
    EXPECT_TRUE(outcome.showAbout);
  }
  const ChipState after = State();
  EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
}

TEST_F(ChipLogic, BoardToggleTwiceRestoresTheMemoAndKeepsTheScrollPosition) {
  files.AddFile("a.txt", "one\ntwo\n");
  Create("a.txt");
  Modify([](ChipState& s) { s.firstLine = 5; });
  EXPECT_EQ(ApplyMenuCommand(env, chip, IDM_BOARD_MODE).result, kResultTextChanged);
  EXPECT_EQ(Shown(), "one\r\ntwo");
  EXPECT_EQ(State().boardMode, IDM_BOARD_MODE);
  EXPECT_EQ(ApplyMenuCommand(env, chip, IDM_BOARD_MODE).result, kResultTextChanged);
  EXPECT_EQ(Shown(), "a.txt");
  EXPECT_EQ(State().displayLength, 5);
  EXPECT_EQ(State().firstLine, 5);
  EXPECT_EQ(State().boardMode, 0);
}

TEST_F(ChipLogic, BoardToggleWithoutMemoLeavesAnEmptyText) {
  Create(nullptr);
  EXPECT_EQ(ApplyMenuCommand(env, chip, IDM_BOARD_MODE).result, kResultTextChanged);
  EXPECT_EQ(State().displayText, nullptr);
  EXPECT_EQ(State().displayLength, 0);
}

TEST(TimerPeriod, EachIntervalHasItsPeriod) {
  const struct {
    std::int32_t interval;
    int period;
  } cases[] = {{IDM_INTERVAL_1SEC, 2},   {IDM_INTERVAL_1MIN, 120}, {IDM_INTERVAL_3MIN, 360},
               {IDM_INTERVAL_10MIN, 1200}, {IDM_INTERVAL_NONE, 120}, {0, 1200},
               {IDM_LINK_RED, 1200}};
  for (const auto& c : cases) EXPECT_EQ(TimerPeriodOf(c.interval), c.period) << c.interval;
}

TEST_F(ChipLogic, TimerOutsideBoardModeRefreshesOnlyForTheTimeField) {
  const struct {
    const char* memo;
    std::int32_t interval;
    int result;
  } cases[] = {
      {"#|%TIME%", IDM_INTERVAL_1MIN, kResultTextChanged},
      {"#|%time%", IDM_INTERVAL_1MIN, kResultNothing},
      {"%DATE% %!20301231%", IDM_INTERVAL_1SEC, kResultNothing},
      {"#|%TIME%", IDM_INTERVAL_NONE, kResultNothing},
  };
  Create("x");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.memo);
    UpdateChip(env, chip, Settings(c.memo, SaveData(c.interval, IDM_LINK_BLUE, 0, 0, 0).data()));
    EXPECT_EQ(RunTimerStep(env, chip), c.result);
    EXPECT_EQ(RunTimerStep(env, chip), c.result);
  }
  EXPECT_TRUE(files.lookedUp.empty());
}

TEST_F(ChipLogic, BoardWithoutBlinkOrZoomIsNeverReread) {
  files.AddFile("a.txt", "x\n");
  const auto saved = SaveData(IDM_INTERVAL_1SEC, IDM_LINK_BLUE, 0, IDM_BOARD_MODE, 0);
  Create("a.txt", saved.data());
  files.lookedUp.clear();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(RunTimerStep(env, chip), kResultNothing);
  EXPECT_TRUE(files.lookedUp.empty());
  EXPECT_EQ(State().stampChecked, 0);
}

TEST_F(ChipLogic, FirstRereadAfterRestoringBoardModeAlertsBecauseTheMemoWasShown) {
  files.AddFile("a.txt", "news\n", MakeSystemTime(2020, 1, 1, 3, 0, 0, 0));
  const auto saved = SaveData(IDM_INTERVAL_1MIN, IDM_LINK_BLUE, IDM_BLINK, IDM_BOARD_MODE, 0);
  Create("a.txt", saved.data());
  EXPECT_EQ(RunTimerStep(env, chip), kResultTextChanged + kResultAlert);
  EXPECT_EQ(Shown(), "news");
  EXPECT_EQ(RunTimerStep(env, chip), kResultNothing);
  const ChipState state = State();
  EXPECT_EQ(state.stampChecked, 1);
  const BrokenDownTime now = clock.LocalNow();
  EXPECT_EQ(std::memcmp(&state.lastCheck, &now, sizeof now), 0);
}

TEST_F(ChipLogic, FileRewrittenAfterTheSavedCheckAlertsOnceEvenWithTheSameText) {
  const BrokenDownTime check = MakeLocalTime(2026, 12, 7, 9, 0, 0);
  files.AddFile("a.txt", "same\n", MakeSystemTime(2026, 12, 7, 1, 9, 0, 1));
  const auto saved = SaveData(IDM_INTERVAL_1MIN, IDM_LINK_BLUE, IDM_BLINK, IDM_BOARD_MODE, 0, check);
  Create("a.txt", saved.data());
  UpdateChip(env, chip, Settings("a.txt", saved.data()));  // the board is shown now
  EXPECT_EQ(Shown(), "same");
  EXPECT_EQ(RunTimerStep(env, chip), kResultTextChanged + kResultAlert);
  EXPECT_EQ(RunTimerStep(env, chip), kResultNothing);
}

TEST_F(ChipLogic, StampComparisonOnlyCountsNewerFiles) {
  const BrokenDownTime check = MakeLocalTime(2026, 12, 7, 9, 0, 0);
  const struct {
    SystemTime file;
    int result;
  } cases[] = {
      {MakeSystemTime(2026, 12, 7, 1, 9, 0, 0), kResultNothing},  // same second
      {MakeSystemTime(2026, 12, 7, 1, 8, 59, 59), kResultNothing},
      {MakeSystemTime(2026, 12, 6, 0, 23, 0, 0), kResultNothing},
      {MakeSystemTime(2026, 12, 7, 1, 9, 0, 1), kResultTextChanged + kResultAlert},
      {MakeSystemTime(2027, 1, 1, 5, 0, 0, 0), kResultTextChanged + kResultAlert},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file.wDay * 1000000 + c.file.wHour * 10000 + c.file.wMinute * 100 + c.file.wSecond);
    FakeMovableMemory fresh;
    ChipEnv freshEnv{fresh, clock, files};
    files.AddFile("a.txt", "same\n", c.file);
    const auto saved = SaveData(IDM_INTERVAL_1MIN, IDM_LINK_BLUE, IDM_BLINK, IDM_BOARD_MODE, 0, check);
    BlockHandle board = CreateChip(freshEnv, Settings("a.txt", saved.data()));
    UpdateChip(freshEnv, board, Settings("a.txt", saved.data()));
    EXPECT_EQ(RunTimerStep(freshEnv, board), c.result);
    DestroyChip(freshEnv, board);
  }
}

TEST_F(ChipLogic, MissingFilesNeverLookNewerThanTheCheck) {
  const auto saved = SaveData(IDM_INTERVAL_1MIN, IDM_LINK_BLUE, IDM_BLINK, IDM_BOARD_MODE, 0);
  Create("missing.txt", saved.data());
  UpdateChip(env, chip, Settings("missing.txt", saved.data()));
  EXPECT_EQ(RunTimerStep(env, chip), kResultNothing);
}

TEST_F(ChipLogic, ZoomedBoardWithoutBlinkRereadsWithoutAlert) {
  files.AddFile("a.txt", "old\n");
  const auto saved = SaveData(IDM_INTERVAL_1MIN, IDM_LINK_BLUE, 0, IDM_BOARD_MODE, 0);
  Create("a.txt", saved.data());
  UpdateChip(env, chip, Settings("a.txt", saved.data()));
  EXPECT_EQ(ZoomChip(env, chip, 1), kResultNothing);  // unchanged text
  files.AddFile("a.txt", "new\n");
  EXPECT_EQ(RunTimerStep(env, chip), kResultTextChanged);
  EXPECT_EQ(Shown(), "new");
}

TEST_F(ChipLogic, ZoomWithIntervalNoneRereadsOnceAtOnce) {
  files.AddFile("a.txt", "old\n");
  const auto saved = SaveData(IDM_INTERVAL_NONE, IDM_LINK_BLUE, 0, IDM_BOARD_MODE, 0);
  Create("a.txt", saved.data());
  files.lookedUp.clear();
  EXPECT_EQ(ZoomChip(env, chip, 1), kResultTextChanged);  // the memo was shown before
  EXPECT_EQ(files.lookedUp.size(), 1u);
  EXPECT_EQ(State().zoomRefresh, 0);
  files.AddFile("a.txt", "new\n");
  EXPECT_EQ(RunTimerStep(env, chip), kResultNothing);
  EXPECT_EQ(Shown(), "old");
}

TEST_F(ChipLogic, ZoomOffOrOutsideBoardModeReadsNothing) {
  files.AddFile("a.txt", "x\n");
  Create("a.txt");
  files.lookedUp.clear();
  EXPECT_EQ(ZoomChip(env, chip, 1), kResultNothing);
  EXPECT_EQ(State().zoomed, 1);
  EXPECT_EQ(State().zoomRefresh, 1);  // waits for a board re-read
  EXPECT_EQ(ZoomChip(env, chip, 0), kResultNothing);
  EXPECT_EQ(State().zoomed, 0);
  EXPECT_EQ(State().zoomRefresh, 0);
  EXPECT_TRUE(files.lookedUp.empty());
}

TEST_F(ChipLogic, ChipThatCannotBeLockedGivesNeutralResults) {
  Create("#|%TIME%");
  memory.unlockable.insert(chip);
  EXPECT_EQ(RunTimerStep(env, chip), kResultNothing);
  EXPECT_EQ(ZoomChip(env, chip, 1), kResultNothing);
  EXPECT_EQ(GetChipTimerSpan(env, chip), 120);
  EXPECT_EQ(ApplyMenuCommand(env, chip, IDM_LINK_RED).result, kResultNothing);
  UpdateChip(env, chip, Settings("other"));
  memory.unlockable.clear();
  EXPECT_EQ(Shown(), "#|%TIME%");
  EXPECT_EQ(memory.HeldLocks(), 0);
}

TEST_F(ChipLogic, AllocationFailuresLeaveEmptyTextsAndNoChip) {
  memory.failAllocations = true;
  EXPECT_EQ(CreateChip(env, Settings("memo")), nullptr);
  memory.failAllocations = false;
  Create("memo");
  memory.failAllocations = true;
  UpdateChip(env, chip, Settings("longer memo"));
  memory.failAllocations = false;
  EXPECT_EQ(State().displayText, nullptr);
  EXPECT_EQ(State().displayLength, 0);
  EXPECT_EQ(RunTimerStep(env, chip), kResultNothing);  // no memo copy
}

}  // namespace
}  // namespace kn::testing
