// Board files read off the host's thread: a read that finishes within the
// bound gives exactly what reading in the call gives; one that does not
// leaves every call answering at once, is delivered by the next tick, keeps
// one thread per chip, and goes with its chip.
#include <functional>
#include <string>
#include <vector>

#include "chip_fixture.h"
#ifdef KN_READS_OFF_THREAD
#include "fake_desktop.h"
#include "fake_host_memory.h"
#include "plugin/board_reader.h"
#include "plugin/entry_points.h"

namespace kn::testing {
namespace {

const SystemTime kOlder = MakeSystemTime(2026, 12, 1, 2, 8, 0, 0);
const SystemTime kNewer = MakeSystemTime(2026, 12, 7, 1, 9, 30, 0);
// The check a saved block remembers: between the two file times.
const BrokenDownTime kSavedCheck = MakeLocalTime(2026, 12, 7, 9, 0, 0);

class BoardReader : public ChipFixture {
 protected:

  // A board chip with a.txt shown, as after its second Update.
  void CreateBoard(std::int32_t blink, const SystemTime& fileTime = kOlder) {
    files.AddFile("a.txt", "old\n", fileTime);
    saved_ = SaveData(IDM_INTERVAL_1MIN, IDM_LINK_BLUE, blink, IDM_BOARD_MODE, 0, kSavedCheck);
    Create("a.txt", saved_.data());
    UpdateChip(env, chip, Settings("a.txt", saved_.data()));
    ASSERT_EQ(Shown(), "old");
  }
  // From here on reads wait at the file system and the host only looks.
  void Stall() {
    gate.Shut();
    threads.hostWait = TestReadingThreads::HostWait::kOnlyLook;
  }
  // The share answers again; every read still running ends.
  void Release() {
    gate.Open();
    threads.AwaitIdle();
    threads.hostWait = TestReadingThreads::HostWait::kUntilDone;
  }
  std::vector<std::uint8_t> saved_;
};

// ---------------------------------------------------------------------------
// Within the bound: the same results, texts, stamps and checks as reading
// in the call, step by step.

struct Step {
  const char* what;
  std::function<int(ChipEnv&, BlockHandle)> run;
};

TEST_F(BoardReader, ReadWithinTheBoundGivesWhatReadingInTheCallGives) {
  const auto blinkBoard = SaveData(IDM_INTERVAL_1SEC, IDM_LINK_BLUE, IDM_BLINK, IDM_BOARD_MODE, 0, kSavedCheck);
  const auto tick = [](ChipEnv& e, BlockHandle c) { return RunTimerStep(e, c); };
  const auto rewrite = [this](const char* text, const SystemTime& time) {
    return [this, text, time](ChipEnv&, BlockHandle) {
      files.AddFile("b.txt", text, time);
      return 0;
    };
  };
  const std::vector<Step> steps = {
      {"first tick shows the board", tick},
      {"same files", tick},
      {"rewritten", rewrite("two\n", kNewer)},
      {"tick sees the change", tick},
      {"zoom", [](ChipEnv& e, BlockHandle c) { return ZoomChip(e, c, 1); }},
      {"board off", [](ChipEnv& e, BlockHandle c) { return ApplyMenuCommand(e, c, IDM_BOARD_MODE).result; }},
      {"board on", [](ChipEnv& e, BlockHandle c) { return ApplyMenuCommand(e, c, IDM_BOARD_MODE).result; }},
      {"update", [&](ChipEnv& e, BlockHandle c) {
         UpdateChip(e, c, Settings("a.txt\r\nb.txt", blinkBoard.data()));
         return 0;
       }},
      {"rewritten again", rewrite("three\n", kNewer)},
      {"tick after update", tick},
      {"missing files", [&](ChipEnv& e, BlockHandle c) {
         UpdateChip(e, c, Settings("gone.txt", blinkBoard.data()));
         return RunTimerStep(e, c);
       }},
  };
  files.AddFile("a.txt", "one\n", kOlder);
  files.AddFile("b.txt", "two\n", kOlder);
  FakeMovableMemory inCallMemory;
  ChipEnv inCall{inCallMemory, clock, files, &encoder};
  BlockHandle other = CreateChip(inCall, Settings("a.txt\r\nb.txt", blinkBoard.data()));
  Create("a.txt\r\nb.txt", blinkBoard.data());
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    EXPECT_EQ(step.run(env, chip), step.run(inCall, other));
    ChipState expected;
    {
      BlockLock lock(inCallMemory, other);
      expected = *lock.as<ChipState>();
      EXPECT_EQ(Shown(), std::string(TextLock(inCallMemory, expected.displayText).view()));
    }
    const ChipState state = State();
    EXPECT_EQ(state.displayLength, expected.displayLength);
    EXPECT_EQ(state.stampChecked, expected.stampChecked);
    EXPECT_EQ(state.zoomRefresh, expected.zoomRefresh);
    EXPECT_EQ(std::memcmp(&state.lastCheck, &expected.lastCheck, sizeof expected.lastCheck), 0);
  }
  EXPECT_EQ(threads.Started(), 9) << "one read for each call that reads";
  DestroyChip(inCall, other);
}

// ---------------------------------------------------------------------------
// A stuck read: every entry point answers at once, and as if nothing had
// changed yet.

TEST_F(BoardReader, EveryEntryPointAnswersAtOnceWhileAReadIsStuck) {
  CreateBoard(IDM_BLINK);
  FakeHostMemory hostMemory;
  FakeDesktop desktop;
  Services services{memory, hostMemory, clock, hostFiles, encoder, desktop, &threads};
  int size[2] = {100, 100};
  const int sizeAnswer = entry::CalcDefaultRect(services, chip, size);
  const int readsBefore = threads.Started();
  Stall();
  ASSERT_EQ(entry::DoTimer(services, chip), kResultNothing);
  gate.AwaitHeld(1);

  ChipSettings settings{};
  settings.memo = "a.txt";
  settings.saveData = saved_.data();
  size[0] = size[1] = 100;
  GlobalHandle block = hostMemory.Allocate(4);
  const ClickPoint point{5, 5};
  const struct {
    const char* call;
    std::function<int()> run;
    int result;
  } calls[] = {
      {"CalcDefaultRect", [&] { return entry::CalcDefaultRect(services, chip, size); }, sizeAnswer},
      {"DoTimer", [&] { return entry::DoTimer(services, chip); }, kResultNothing},
      {"Zoom", [&] { return entry::Zoom(services, chip, 1); }, kResultNothing},
      {"Zoom off", [&] { return entry::Zoom(services, chip, 0); }, kResultNothing},
      {"Update", [&] { return entry::Update(services, chip, &settings); }, 1},
      {"GetTimerSpan", [&] { return entry::GetTimerSpan(services, chip); }, 120},
      {"DrawChip", [&] { return entry::DrawChip(services, chip, nullptr); }, 0},
      {"GetSaveData", [&] { return entry::GetSaveData(services, chip, &block); }, 1},
      {"GetDrawExMenu", [&] { return entry::GetDrawExMenu(services, chip) != nullptr ? 1 : 0; }, 1},
      {"DoDrawExMenu blink", [&] { return entry::DoDrawExMenu(services, chip, IDM_BLINK); }, kResultNothing},
      {"board off", [&] { return entry::DoDrawExMenu(services, chip, IDM_BOARD_MODE); }, kResultTextChanged},
      {"Shift-click: board on", [&] {
         desktop.keys = {true, false};
         return entry::MouseClik(services, chip, &point);
       }, kResultRedraw},
  };
  for (const auto& call : calls) {
    SCOPED_TRACE(call.call);
    EXPECT_EQ(call.run(), call.result);
    EXPECT_EQ(gate.Held(), 1) << "still stuck";
  }
  EXPECT_EQ(Shown(), kBoardReadingText) << "switched on again while stuck";
  EXPECT_EQ(threads.Started(), readsBefore + 1) << "one read per chip";

  Release();
  EXPECT_EQ(entry::DoTimer(services, chip), kResultTextChanged) << "delivered; blink is off now";
  EXPECT_EQ(Shown(), "old");
  EXPECT_EQ(entry::UnInitializeChip(services, chip), 0);
  chip = nullptr;
  hostMemory.Free(block);
}

// ---------------------------------------------------------------------------
// Delivery by the next tick after the read ends: the comparison with the
// text shown then, the alert, the stamp rule and the check of that tick.

TEST_F(BoardReader, StuckReadIsDeliveredByTheNextTickAsItsOwnReread) {
  const struct {
    const char* name;
    std::int32_t blink;
    bool zoomed;
    const char* newText;
    SystemTime fileTime;
    bool stampChecked;
    bool blinkOffMeanwhile;
    int result;
  } cases[] = {
      {"changed, blink", IDM_BLINK, false, "new\n", kOlder, false, false, kResultTextChanged + kResultAlert},
      {"changed, zoomed", 0, true, "new\n", kOlder, false, false, kResultTextChanged},
      {"same text, file newer than the check", IDM_BLINK, false, "old\n", kNewer, false, false,
       kResultTextChanged + kResultAlert},
      {"same text, file older", IDM_BLINK, false, "old\n", kOlder, false, false, kResultNothing},
      {"same text, newer, already checked", IDM_BLINK, false, "old\n", kNewer, true, false, kResultNothing},
      {"changed, blink turned off while stuck", IDM_BLINK, false, "new\n", kOlder, false, true,
       kResultTextChanged},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CreateBoard(c.blink, c.fileTime);
    Modify([&](ChipState& s) {
      s.zoomed = c.zoomed ? 1 : 0;
      s.stampChecked = c.stampChecked ? 1 : 0;
    });
    files.AddFile("a.txt", c.newText, c.fileTime);
    Stall();
    clock.Set(MakeLocalTime(2026, 12, 8, 11, 0, 0));
    EXPECT_EQ(RunTimerStep(env, chip), kResultNothing);
    gate.AwaitHeld(1);
    if (c.blinkOffMeanwhile) ApplyMenuCommand(env, chip, IDM_BLINK);
    EXPECT_EQ(RunTimerStep(env, chip), kResultNothing) << "still stuck";
    EXPECT_EQ(Shown(), "old") << "the board shown stays until the new one comes";
    const ChipState stuck = State();
    EXPECT_EQ(stuck.stampChecked, c.stampChecked ? 1 : 0);
    EXPECT_EQ(std::memcmp(&stuck.lastCheck, &kSavedCheck, sizeof kSavedCheck), 0);

    Release();
    const BrokenDownTime delivered = MakeLocalTime(2026, 12, 8, 11, 0, 5);
    clock.Set(delivered);
    EXPECT_EQ(RunTimerStep(env, chip), c.result);
    EXPECT_EQ(Shown(), std::string(c.newText, std::strlen(c.newText) - 1));
    const ChipState state = State();
    EXPECT_EQ(state.stampChecked, 1);
    EXPECT_EQ(std::memcmp(&state.lastCheck, &delivered, sizeof delivered), 0) << "checked when delivered";
    EXPECT_EQ(RunTimerStep(env, chip), kResultNothing) << "delivered once";
    DestroyChip(env, chip);
    chip = nullptr;
  }
}

// ---------------------------------------------------------------------------
// Switching into board mode while the share is stuck shows the reading
// line; a re-read of the board shown keeps it.

TEST_F(BoardReader, SwitchIntoBoardModeShowsTheReadingLineUntilTheBoardComes) {
  files.AddFile("a.txt", "board\n");
  files.AddFile("b.txt", "other\n");
  Create("a.txt");
  Stall();
  EXPECT_EQ(ApplyMenuCommand(env, chip, IDM_BOARD_MODE).result, kResultTextChanged);
  EXPECT_EQ(Shown(), kBoardReadingText);
  EXPECT_EQ(State().displayLength, static_cast<std::int32_t>(kBoardReadingText.size()));
  EXPECT_EQ(RunTimerStep(env, chip), kResultNothing);
  Release();
  EXPECT_EQ(RunTimerStep(env, chip), kResultTextChanged);
  EXPECT_EQ(Shown(), "board");

  const auto board = SaveData(IDM_INTERVAL_1MIN, IDM_LINK_BLUE, 0, IDM_BOARD_MODE, 0);
  Stall();
  UpdateChip(env, chip, Settings("a.txt", board.data()));
  EXPECT_EQ(Shown(), "board") << "the same files: a re-read keeps the board";
  UpdateChip(env, chip, Settings("b.txt", board.data()));
  EXPECT_EQ(Shown(), kBoardReadingText) << "other files";
  Release();
  EXPECT_EQ(RunTimerStep(env, chip), kResultTextChanged);
  EXPECT_EQ(Shown(), "other");
  EXPECT_EQ(threads.Started(), 3) << "the second Update's read waited for the first";
}

TEST_F(BoardReader, SwitchingOutOfBoardModeDropsTheStuckRead) {
  CreateBoard(IDM_BLINK);
  Stall();
  EXPECT_EQ(RunTimerStep(env, chip), kResultNothing);
  gate.AwaitHeld(1);
  EXPECT_EQ(ApplyMenuCommand(env, chip, IDM_BOARD_MODE).result, kResultTextChanged);
  EXPECT_EQ(Shown(), "a.txt");
  Release();
  EXPECT_EQ(RunTimerStep(env, chip), kResultNothing) << "nothing delivered outside board mode";
  EXPECT_EQ(Shown(), "a.txt");
  EXPECT_EQ(threads.LiveReads(), 0) << "the dropped read is freed by the first tick after it ends";
}

// ---------------------------------------------------------------------------
// Threads: one per chip, a chip freed at once, no thread to be had.

TEST_F(BoardReader, ManyChipsOnAStuckShareHoldOneThreadEach) {
  files.AddFile("a.txt", "x\n");
  const auto saved = SaveData(IDM_INTERVAL_1SEC, IDM_LINK_BLUE, IDM_BLINK, IDM_BOARD_MODE, 0);
  Stall();
  std::vector<BlockHandle> chips;
  for (int i = 0; i < 5; ++i) {
    chips.push_back(CreateChip(env, Settings("a.txt", saved.data())));
    for (int tick = 0; tick < 3; ++tick) EXPECT_EQ(RunTimerStep(env, chips.back()), kResultNothing);
  }
  gate.AwaitHeld(5);
  EXPECT_EQ(threads.Running(), 5);
  EXPECT_EQ(threads.Started(), 5);
  Release();
  for (BlockHandle each : chips) {
    EXPECT_EQ(RunTimerStep(env, each), kResultTextChanged + kResultAlert);
    DestroyChip(env, each);
  }
}

TEST_F(BoardReader, ChipFreedWhileItsReadIsStuckIsFreedAtOnce) {
  CreateBoard(IDM_BLINK);
  Stall();
  EXPECT_EQ(RunTimerStep(env, chip), kResultNothing);
  gate.AwaitHeld(1);
  DestroyChip(env, chip);
  chip = nullptr;
  EXPECT_EQ(memory.LiveBlocks(), 0u) << "freed without waiting";
  EXPECT_EQ(threads.LiveReads(), 1) << "the thread still holds its read";
  Release();
  EXPECT_EQ(threads.LiveReads(), 0) << "dropped when it ended";
}

TEST_F(BoardReader, WithoutAThreadTheReadIsAskedForAgainByTheNextTick) {
  files.AddFile("a.txt", "board\n");
  Create("a.txt");
  threads.refuseThreads = true;
  EXPECT_EQ(ApplyMenuCommand(env, chip, IDM_BOARD_MODE).result, kResultTextChanged);
  EXPECT_EQ(Shown(), kBoardReadingText);
  EXPECT_EQ(RunTimerStep(env, chip), kResultNothing);
  threads.refuseThreads = false;
  EXPECT_EQ(RunTimerStep(env, chip), kResultTextChanged);
  EXPECT_EQ(Shown(), "board");
}

TEST_F(BoardReader, HostWaitsOnlyForAReadItStarted) {
  CreateBoard(IDM_BLINK);
  Stall();
  const int before = threads.awaits;
  EXPECT_EQ(RunTimerStep(env, chip), kResultNothing);
  EXPECT_EQ(threads.awaits, before + 1) << "the tick that started it waited up to the bound";
  for (int i = 0; i < 3; ++i) EXPECT_EQ(RunTimerStep(env, chip), kResultNothing);
  EXPECT_EQ(threads.awaits, before + 1) << "later ticks wait for nothing";
}

}  // namespace
}  // namespace kn::testing
#endif  // KN_READS_OFF_THREAD
