// What the chip does for the host's calls, over injected memory, clock and
// file access, so that the same code runs in the DLL and in native tests.
#pragma once

#include <cstdint>
#include <string_view>

#include "system/file_system.h"
#include "system/clock.h"
#include "system/cp932_encoder.h"
#include "plugin/chip_state.h"
#include "system/movable_memory.h"
#include "system/reading_threads.h"

namespace kn {

struct ChipEnv {
  MovableMemory& memory;
  const Clock& clock;
  FileSystem& files;
  // Converts board files in UTF-8 and UTF-16; without one they show only
  // ASCII, half-width katakana and 〓.
  Cp932Encoder* encoder = nullptr;
  // Reads board files on threads of their own, the host's call waiting for
  // them only up to a bound; without one they are read in the call itself.
  ReadingThreads* reading = nullptr;
};

// The host's settings as the plug-in reads them.
struct ChipSettingsView {
  const char* memo;  // may be null
  ColorRef textColor;
  ColorRef backColor;
  LogFont font;
  std::int32_t zoomed;
  const std::uint8_t* saveData;  // length then data
};

// A new zero-filled chip with the settings applied, or null.
BlockHandle CreateChip(ChipEnv& env, const ChipSettingsView& settings);
void DestroyChip(ChipEnv& env, BlockHandle chip);
void UpdateChip(ChipEnv& env, BlockHandle chip, const ChipSettingsView& settings);

// Timer period in half-second ticks.
int TimerPeriodOf(std::int32_t interval);
int GetChipTimerSpan(ChipEnv& env, BlockHandle chip);
// 0, 3 or 7.
int RunTimerStep(ChipEnv& env, BlockHandle chip);
// Outside board mode a tick redraws the chip only for a memo that shows the
// time: one holding "%TIME" exactly as written here, in capitals.
bool MemoShowsTime(std::string_view memo);
int ZoomChip(ChipEnv& env, BlockHandle chip, std::int32_t flag);

struct MenuOutcome {
  int result;
  bool showAbout;
};
MenuOutcome ApplyMenuCommand(ChipEnv& env, BlockHandle chip, std::uint32_t id);
// On a locked state: switch board mode and rebuild the displayed text.
void ToggleBoardMode(ChipEnv& env, ChipState& state);

}  // namespace kn
