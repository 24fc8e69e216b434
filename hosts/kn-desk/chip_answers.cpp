#include "chip_answers.h"

namespace kn::desk {

ChipReaction ReactionTo(int answer) {
  switch (answer) {
    case 0:
      return {};
    case 1:
      return {true, false, false};
    case 3:
      return {true, true, false};
    case 7:
      return {true, true, true};
    default:
      return {true, true, false};
  }
}

int ClickAnswer(int answer, DisplayModes before, DisplayModes after) {
  return answer == 1 && !(before == after) ? 3 : answer;
}

WindowSize UsableSize(WindowSize proposed, WindowSize current) {
  const auto usable = [](int side) { return side >= 1 && side <= kMaxWindowSide; };
  return usable(proposed.width) && usable(proposed.height) ? proposed : current;
}

unsigned TimerPeriodMs(int ticks) {
  if (ticks < 1) ticks = kDefaultTicks;
  const unsigned long long ms = static_cast<unsigned long long>(ticks) * 500u;
  return ms > kMaxTimerMs ? kMaxTimerMs : static_cast<unsigned>(ms);
}

}  // namespace kn::desk
