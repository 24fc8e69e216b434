// The host's reading of the chip's answers, expected or not.
#include "chip_answers.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "flash_sequence.h"

namespace kn::desk {
namespace {

struct AnswerCase {
  int answer;
  ChipReaction reaction;
};

class DeskChipAnswer : public testing::TestWithParam<AnswerCase> {};

TEST_P(DeskChipAnswer, LeadsToItsReaction) {
  const ChipReaction got = ReactionTo(GetParam().answer);
  const ChipReaction& want = GetParam().reaction;
  EXPECT_EQ(got.repaint, want.repaint);
  EXPECT_EQ(got.refit, want.refit);
  EXPECT_EQ(got.flash, want.flash);
}

constexpr ChipReaction kNothing{false, false, false};
constexpr ChipReaction kRepaint{true, false, false};
constexpr ChipReaction kRefit{true, true, false};
constexpr ChipReaction kAlert{true, true, true};

INSTANTIATE_TEST_SUITE_P(Known, DeskChipAnswer,
                         testing::Values(AnswerCase{0, kNothing}, AnswerCase{1, kRepaint},
                                         AnswerCase{3, kRefit}, AnswerCase{7, kAlert}));
// Anything else is taken as a change, and never as an alert.
INSTANTIATE_TEST_SUITE_P(Unexpected, DeskChipAnswer,
                         testing::Values(AnswerCase{2, kRefit}, AnswerCase{4, kRefit},
                                         AnswerCase{5, kRefit}, AnswerCase{6, kRefit},
                                         AnswerCase{8, kRefit}, AnswerCase{15, kRefit},
                                         AnswerCase{-1, kRefit}, AnswerCase{INT_MIN, kRefit},
                                         AnswerCase{INT_MAX, kRefit}));

TEST(DeskClickAnswer, AClickThatChangedADisplayModeCountsAsAChangedDisplay) {
  constexpr DisplayModes kPlain{0, 0};
  constexpr DisplayModes kBoard{10007, 0};
  constexpr DisplayModes kScroll{0, 10008};
  struct Case {
    const char* name;
    int answer;
    DisplayModes before, after;
    int expected;
  };
  const Case cases[] = {
      {"scroll step", 1, kScroll, kScroll, 1},
      {"board mode on", 1, kPlain, kBoard, 3},
      {"board mode off", 1, kBoard, kPlain, 3},
      {"scroll mode on", 1, kPlain, kScroll, 3},
      {"link launched", 0, kPlain, kPlain, 0},
      {"alert stands", 7, kPlain, kBoard, 7},
      {"unexpected answer stands", 5, kPlain, kBoard, 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClickAnswer(c.answer, c.before, c.after), c.expected) << c.name;
  }
}

TEST(DeskChipSize, AProposalThatCannotBeAWindowKeepsTheCurrentSize) {
  const WindowSize current{120, 80};
  struct Case {
    WindowSize proposed;
    WindowSize kept;
  } cases[] = {
      {{200, 100}, {200, 100}},
      {{1, 1}, {1, 1}},
      {{kMaxWindowSide, kMaxWindowSide}, {kMaxWindowSide, kMaxWindowSide}},
      {{0, 100}, current},
      {{100, 0}, current},
      {{-5, 100}, current},
      {{100, kMaxWindowSide + 1}, current},
      {{INT_MIN, INT_MAX}, current},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.proposed.width) + "x" + std::to_string(c.proposed.height));
    const WindowSize got = UsableSize(c.proposed, current);
    EXPECT_EQ(got.width, c.kept.width);
    EXPECT_EQ(got.height, c.kept.height);
  }
}

TEST(DeskChipTimer, TicksAreHalfSecondsWithinSaneBounds) {
  struct Case {
    int ticks;
    unsigned ms;
  } cases[] = {
      {1, 500},         {2, 1000},          {120, 60000},   {360, 180000}, {1200, 600000},
      {0, 60000},       {-1, 60000},        {INT_MIN, 60000},
      {172800, kMaxTimerMs}, {172801, kMaxTimerMs}, {INT_MAX, kMaxTimerMs},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ticks);
    EXPECT_EQ(TimerPeriodMs(c.ticks), c.ms);
  }
}

TEST(DeskFlash, ShowsTheChipInvertedEveryOtherStepThenStops) {
  FlashSequence flash;
  EXPECT_FALSE(flash.active());
  EXPECT_FALSE(flash.inverted());
  flash.Start();
  std::string seen;
  do {
    seen += flash.inverted() ? 'X' : '.';
  } while (flash.Step());
  EXPECT_EQ(seen, "X.X.X.");
  EXPECT_FALSE(flash.inverted());
  EXPECT_FALSE(flash.Step());

  flash.Start();
  flash.Step();
  flash.Start();  // a new alert starts over
  EXPECT_TRUE(flash.inverted());
}

}  // namespace
}  // namespace kn::desk
