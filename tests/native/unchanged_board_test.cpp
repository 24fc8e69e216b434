// A chip's re-read of a board whose files are as the board shown was built
// from: it opens each file once (to hash it) and builds nothing, with the
// same tick results as a build; whatever replaces the board shown, or a
// board that could not be stored, makes the next re-read build again.
#include <functional>
#include <string>
#include <vector>

#include "native/chip_fixture.h"

namespace kn::testing {
namespace {

class UnchangedBoard : public ChipFixture {
 protected:
  // Blink on, last checked later than any file: a re-read alerts only for
  // a changed board.
  const std::vector<std::uint8_t> kBlinkingBoard =
      SaveData(IDM_INTERVAL_1MIN, IDM_LINK_BLUE, IDM_BLINK, IDM_BOARD_MODE, 0, MakeLocalTime(2099, 1, 1, 0, 0, 0));
};

std::size_t TimesOpened(const FakeFileSystem& files, const std::string& name) {
  std::size_t n = 0;
  for (const std::string& opened : files.opened) n += opened == name ? 1 : 0;
  return n;
}

// Ticks a chip showing a.txt's board and tells how often each tick opened
// the file: once for a re-read that builds nothing, twice for one that
// found the file changed and built the board again.
void CheckOpensAndResults(ChipEnv& chipEnv, FakeFileSystem& files, BlockHandle board,
                          const std::function<std::string()>& shown) {
  const struct {
    const char* step;
    const char* contents;  // null: left as it is
    std::size_t opens;
    int result;
    const char* board;
  } steps[] = {
      {"unchanged", nullptr, 1, kResultNothing, "news"},
      {"one byte changed", "newt\n", 2, kResultTextChanged + kResultAlert, "newt"},
      {"unchanged since", nullptr, 1, kResultNothing, "newt"},
      {"the same again", "newt\n", 1, kResultNothing, "newt"},
      {"back as it was", "news\n", 2, kResultTextChanged + kResultAlert, "news"},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.step);
    if (s.contents != nullptr) files.AddFile("a.txt", s.contents, MakeSystemTime(2020, 1, 1, 3, 0, 0, 0));
    const std::size_t before = TimesOpened(files, "a.txt");
    EXPECT_EQ(RunTimerStep(chipEnv, board), s.result);
    EXPECT_EQ(TimesOpened(files, "a.txt") - before, s.opens);
    EXPECT_EQ(shown(), s.board);
  }
}

TEST_F(UnchangedBoard, RereadOpensTheFileOnceAndBuildsNothingOffTheHostsThread) {
  files.AddFile("a.txt", "news\n", MakeSystemTime(2020, 1, 1, 3, 0, 0, 0));
  Create("a.txt", kBlinkingBoard.data());
  UpdateChip(env, chip, Settings("a.txt", kBlinkingBoard.data()));
  EXPECT_EQ(RunTimerStep(env, chip), kResultNothing);
  CheckOpensAndResults(env, files, chip, [this] { return Shown(); });
}

TEST_F(UnchangedBoard, RereadOpensTheFileOnceAndBuildsNothingInTheCall) {
  files.AddFile("a.txt", "news\n", MakeSystemTime(2020, 1, 1, 3, 0, 0, 0));
  ChipEnv inCall{memory, clock, files, &encoder};
  chip = CreateChip(inCall, Settings("a.txt", kBlinkingBoard.data()));
  UpdateChip(inCall, chip, Settings("a.txt", kBlinkingBoard.data()));
  EXPECT_EQ(RunTimerStep(inCall, chip), kResultNothing);
  CheckOpensAndResults(inCall, files, chip, [this] { return Shown(); });
  DestroyChip(inCall, chip);
  chip = nullptr;
}

TEST_F(UnchangedBoard, EverythingThatReplacesTheBoardShownMakesTheNextReadBuild) {
  files.AddFile("a.txt", "news\n", MakeSystemTime(2020, 1, 1, 3, 0, 0, 0));
  ChipEnv inCall{memory, clock, files, &encoder};
  chip = CreateChip(inCall, Settings("a.txt", kBlinkingBoard.data()));
  UpdateChip(inCall, chip, Settings("a.txt", kBlinkingBoard.data()));
  ASSERT_EQ(Shown(), "news");
  // The same memo again: the text shown is built anew, never left empty.
  UpdateChip(inCall, chip, Settings("a.txt", kBlinkingBoard.data()));
  EXPECT_EQ(Shown(), "news");
  // Out of board mode and back.
  ApplyMenuCommand(inCall, chip, IDM_BOARD_MODE);
  EXPECT_EQ(Shown(), "a.txt");
  ApplyMenuCommand(inCall, chip, IDM_BOARD_MODE);
  EXPECT_EQ(Shown(), "news");
  // A board that could not be stored leaves no text, and nothing to match.
  files.AddFile("a.txt", "newt\n", MakeSystemTime(2020, 1, 1, 3, 0, 0, 0));
  memory.failAllocations = true;
  RunTimerStep(inCall, chip);
  memory.failAllocations = false;
  EXPECT_EQ(State().displayText, nullptr);
  EXPECT_EQ(RunTimerStep(inCall, chip), kResultTextChanged + kResultAlert);
  EXPECT_EQ(Shown(), "newt");
  DestroyChip(inCall, chip);
  chip = nullptr;
}

}  // namespace
}  // namespace kn::testing
