// What the desktop host does with the chip's answers. The chip answers clicks,
// menu commands, ticks and zoom with 0 (nothing), 1 (repaint), 3 (its text or
// mode changed) or 7 (as 3, and alert the user); sizes and timer periods come
// as plain numbers. Any other value must leave the host standing, so every
// answer passes through here first. Portable.
#pragma once

#include <cstdint>

namespace kn::desk {

struct ChipReaction {
  bool repaint = false;
  bool refit = false;  // ask the chip for its size again
  bool flash = false;

  bool operator==(const ChipReaction& other) const {
    return repaint == other.repaint && refit == other.refit && flash == other.flash;
  }
};

// An answer outside the four known ones is taken as "something changed":
// repainting and re-measuring are always safe, flashing is not asked for.
ChipReaction ReactionTo(int answer);

// The modes that decide what a chip shows and how large it is, as its saved
// block carries them.
struct DisplayModes {
  std::int32_t board = 0;
  std::int32_t scroll = 0;

  bool operator==(const DisplayModes& other) const {
    return board == other.board && scroll == other.scroll;
  }
};

// A click is answered with 1 even when it switched board mode (Shift-click)
// or scroll mode (Alt-click). A click that changed a display mode is taken
// as the 3 that the menu answers for the same change, so that the chip is
// measured again; any other answer stands.
int ClickAnswer(int answer, DisplayModes before, DisplayModes after);

struct WindowSize {
  int width = 0;
  int height = 0;

  bool operator==(const WindowSize& other) const {
    return width == other.width && height == other.height;
  }
};

constexpr int kMaxWindowSide = 16384;

// The size a chip proposed, or `current` when the proposal cannot be a
// window (a side below 1 or above kMaxWindowSide).
WindowSize UsableSize(WindowSize proposed, WindowSize current);

// The timer period in milliseconds for a span in the chip's half-second
// ticks. A span below one tick is taken as one minute, and the period is
// capped at a day.
unsigned TimerPeriodMs(int ticks);

constexpr int kDefaultTicks = 120;
constexpr unsigned kMaxTimerMs = 24u * 60u * 60u * 1000u;

}  // namespace kn::desk
