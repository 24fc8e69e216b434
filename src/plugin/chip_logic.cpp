#include "plugin/chip_logic.h"

#include <cstring>
#include <string>

#include "board/board_loader.h"
#include "markup/text_convert.h"
#include "plugin/board_reader.h"
#include "plugin/chip_modes.h"
#include "plugin/chip_text.h"
#include "plugin/host_contract.h"
#include "plugin/save_block.h"

namespace kn {
namespace {

// The chip's reader, made at its first read (off the host's thread or not):
// it keeps the fingerprint of the board shown.
ChipReader& ReaderOf(ChipState& state) {
  if (state.reader == nullptr) state.reader = new ChipReader();
  return *state.reader;
}

// The text shown is no longer a board that a fingerprint was kept of.
void ForgetShownBoard(ChipState& state) {
  if (state.reader == nullptr) return;
  state.reader->showsBoard = false;
  state.reader->shownBoard.Clear();
}

// Keeps the fingerprint of the board just put in place; a board that could
// not be stored leaves none.
void KeepShownBoard(ChipState& state, const BoardFingerprint& built) {
  if (state.displayText != nullptr) {
    state.reader->shownBoard = built;
  } else {
    state.reader->shownBoard.Clear();
  }
}

// Loads the board the memo lists into displayText, built where it stays
// and compared with the text shown as it comes; true when the two differ
// (bytes, not a linguistic comparison: any change counts). Files that are
// as the board shown was built from are only read and hashed.
bool ReloadBoard(ChipEnv& env, ChipState& state, std::string_view memo, SystemTime& newest) {
  RefusingCp932Encoder none;
  Cp932Encoder& encoder = env.encoder != nullptr ? *env.encoder : none;
  ChipReader& reader = ReaderOf(state);
  if (IsBoardAsBuilt(memo, env.files, encoder, reader.shownBoard, newest)) return false;
  BoardFingerprint built;
  DisplayTextReplacement replacement(env.memory, state.displayText, state.displayLength);
  LoadBoardInto(memo, env.files, encoder, newest, replacement, nullptr, &built);
  const bool changed = replacement.Finish(state.displayText, state.displayLength);
  KeepShownBoard(state, built);
  return changed;
}

// Puts a board read off the host's thread in place of the text shown;
// true when the two differ. A read that found the files unchanged leaves
// the board shown as it is.
bool PutBoard(ChipEnv& env, ChipState& state, const BoardReadResult& board) {
  if (board.unchanged) return false;
  DisplayTextReplacement replacement(env.memory, state.displayText, state.displayLength);
  replacement.Expect(board.text.size());
  replacement.Append(board.text);
  const bool changed = replacement.Finish(state.displayText, state.displayLength);
  state.reader->showsBoard = true;
  KeepShownBoard(state, board.fingerprint);
  return changed;
}

void ShowMemo(ChipEnv& env, ChipState& state, std::string_view memo) {
  if (state.reader != nullptr) state.reader->Drop();
  ForgetShownBoard(state);
  state.displayLength = StoreText(env.memory, state.displayText, memo);
}

// Shows the board the memo lists, as Update and the board toggle do. Off
// the host's thread, a read that does not finish within the bound leaves
// the reading line shown, or the board already shown when `keepShown`,
// until a tick delivers it.
void ShowBoard(ChipEnv& env, ChipState& state, std::string_view memo, bool keepShown) {
  if (env.reading == nullptr || !keepShown) ForgetShownBoard(state);
  if (env.reading == nullptr) {
    FreeText(env.memory, state.displayText);
    state.displayLength = 0;
    SystemTime ignored{};
    ReloadBoard(env, state, memo, ignored);
    return;
  }
  ChipReader& reader = ReaderOf(state);
  reader.Ask(memo);
  const BoardReadResult* read = reader.Poll(*env.reading);
  if (read != nullptr && read->unchanged) {
    reader.Take();  // the board shown stays
    return;
  }
  if (read != nullptr || !keepShown) {
    FreeText(env.memory, state.displayText);
    state.displayLength = 0;
  }
  if (read != nullptr) {
    PutBoard(env, state, *read);
    reader.Take();
  } else if (!keepShown) {
    state.displayLength = StoreText(env.memory, state.displayText, kBoardReadingText);
    reader.showsBoard = false;
  }
}

struct PackedStamp {
  std::int32_t date;
  std::int32_t time;
};

PackedStamp PackFileTime(const SystemTime& t) {
  return {t.wYear * 10000 + t.wMonth * 100 + t.wDay, t.wHour * 10000 + t.wMinute * 100 + t.wSecond};
}

PackedStamp PackCheckTime(const BrokenDownTime& t) {
  // Unsigned arithmetic: a saved block may hold any values.
  const auto date = static_cast<std::uint32_t>(t.year) * 10000u +
                    static_cast<std::uint32_t>(t.mon) * 100u + static_cast<std::uint32_t>(t.mday) +
                    19000100u;
  const auto time = static_cast<std::uint32_t>(t.hour) * 10000u +
                    static_cast<std::uint32_t>(t.min) * 100u + static_cast<std::uint32_t>(t.sec);
  return {static_cast<std::int32_t>(date), static_cast<std::int32_t>(time)};
}

bool IsNewerThanCheck(const SystemTime& newest, const BrokenDownTime& lastCheck) {
  const PackedStamp file = PackFileTime(newest);
  const PackedStamp check = PackCheckTime(lastCheck);
  return check.date < file.date || (check.date == file.date && check.time < file.time);
}

// A board tick re-reads the files only when the interval (or a pending zoom
// refresh) allows it and blink or zoom asks for it.
bool IsBoardRereadDue(const ChipState& state) {
  const bool mayReread = state.interval != IDM_INTERVAL_NONE || state.zoomRefresh != 0;
  const bool wantsReread = state.blink != 0 || state.zoomed != 0;
  return mayReread && wantsReread;
}

// The end of a board re-read: the alert, the stamp rule and the check.
int FinishReread(ChipEnv& env, ChipState& state, bool changed, const SystemTime& newest) {
  const int alert = state.blink != 0 ? kResultAlert : 0;
  if (!changed && state.blink != 0 && state.stampChecked == 0) {
    changed = IsNewerThanCheck(newest, state.lastCheck);
  }
  state.stampChecked = 1;
  state.lastCheck = env.clock.LocalNow();
  return changed ? alert + kResultTextChanged : kResultNothing;
}

int BoardTimerStep(ChipEnv& env, ChipState& state, std::string_view memo) {
  state.zoomRefresh = 0;
  SystemTime newest{};
  const bool changed = ReloadBoard(env, state, memo, newest);
  return FinishReread(env, state, changed, newest);
}

// A tick's share of a read off the host's thread: the read it asks for
// now, or one asked before, is delivered as the tick's own re-read once
// it has finished; until then the tick answers that nothing changed.
int DeliverBoardRead(ChipEnv& env, ChipState& state) {
  ChipReader& reader = *state.reader;
  const BoardReadResult* read = reader.Poll(*env.reading);
  if (read == nullptr) return kResultNothing;
  state.zoomRefresh = 0;
  const bool changed = PutBoard(env, state, *read);
  const int result = FinishReread(env, state, changed, read->newest);
  reader.Take();
  return result;
}

}  // namespace

BlockHandle CreateChip(ChipEnv& env, const ChipSettingsView& settings) {
  BlockHandle chip = env.memory.Allocate(sizeof(ChipState));
  if (chip) UpdateChip(env, chip, settings);
  return chip;
}

void DestroyChip(ChipEnv& env, BlockHandle chip) {
  {
    BlockLock lock(env.memory, chip);
    if (lock) {
      ChipState& state = *lock.as<ChipState>();
      FreeText(env.memory, state.displayText);
      FreeText(env.memory, state.memoText);
      delete state.reader;  // a read still running is dropped when it ends
      state.reader = nullptr;
    }
  }
  env.memory.Free(chip);
}

void UpdateChip(ChipEnv& env, BlockHandle chip, const ChipSettingsView& settings) {
  BlockLock lock(env.memory, chip);
  if (!lock) return;
  ChipState& state = *lock.as<ChipState>();
  state.zoomed = settings.zoomed;
  state.textColor = settings.textColor;
  state.backColor = settings.backColor;
  state.baseFont = settings.font;
  if (!settings.memo) return;
  const std::string_view memo(settings.memo);
  if (state.boardMode != 0) {
    // The same files of a board already shown: a re-read, which keeps it.
    const bool sameBoard = state.reader != nullptr && state.reader->showsBoard &&
                           TextLock(env.memory, state.memoText).view() == memo;
    ShowBoard(env, state, memo, sameBoard);
  } else {
    FreeText(env.memory, state.displayText);
    state.displayLength = 0;
    ShowMemo(env, state, memo);
  }
  StoreText(env.memory, state.memoText, memo);
  RestoreSaveBlock(state, settings.saveData);
}

int TimerPeriodOf(std::int32_t interval) {
  switch (interval) {
    case IDM_INTERVAL_1SEC: return 2;
    case IDM_INTERVAL_1MIN: return 120;
    case IDM_INTERVAL_3MIN: return 360;
    case IDM_INTERVAL_10MIN: return 1200;
    case IDM_INTERVAL_NONE: return 120;
    default: return 1200;
  }
}

int GetChipTimerSpan(ChipEnv& env, BlockHandle chip) {
  BlockLock lock(env.memory, chip);
  // A chip that cannot be read ticks at the default interval.
  return TimerPeriodOf(lock ? lock.as<ChipState>()->interval : kDefaultModes.interval);
}

int RunTimerStep(ChipEnv& env, BlockHandle chip) {
  BlockLock lock(env.memory, chip);
  if (!lock) return kResultNothing;
  ChipState& state = *lock.as<ChipState>();
  // A read already asked for is completed, whatever the modes say now.
  if (state.reader != nullptr) {
    state.reader->Collect();
    if (env.reading != nullptr && state.reader->HasAsked()) return DeliverBoardRead(env, state);
  }
  // A tick with nothing to do answers from the state alone: most ticks of
  // most chips are such ticks.
  const bool idle = state.boardMode != 0 ? !IsBoardRereadDue(state) : state.interval == IDM_INTERVAL_NONE;
  if (idle) return kResultNothing;
  const TextLock memo(env.memory, state.memoText);
  if (!memo.ok()) return kResultNothing;
  if (state.boardMode != 0 && env.reading != nullptr) {
    ReaderOf(state).Ask(memo.view());
    return DeliverBoardRead(env, state);
  }
  if (state.boardMode != 0) return BoardTimerStep(env, state, memo.view());
  return MemoShowsTime(memo.view()) ? kResultTextChanged : kResultNothing;
}

bool MemoShowsTime(std::string_view memo) { return FindBytes(memo, "%TIME") != kNotFound; }

int ZoomChip(ChipEnv& env, BlockHandle chip, std::int32_t flag) {
  bool reread = false;
  {
    BlockLock lock(env.memory, chip);
    if (!lock) return kResultNothing;
    ChipState& state = *lock.as<ChipState>();
    state.zoomed = flag;
    state.zoomRefresh = flag;
    reread = flag != 0 && state.boardMode != 0;
  }
  return reread ? RunTimerStep(env, chip) : kResultNothing;
}

void ToggleBoardMode(ChipEnv& env, ChipState& state) {
  state.boardMode = state.boardMode != 0 ? 0 : IDM_BOARD_MODE;
  FreeText(env.memory, state.displayText);
  state.displayLength = 0;
  if (state.reader != nullptr) state.reader->Drop();
  ForgetShownBoard(state);
  const TextLock memo(env.memory, state.memoText);
  if (!memo.ok()) return;
  if (state.boardMode != 0) {
    ShowBoard(env, state, memo.view(), false);
  } else {
    ShowMemo(env, state, memo.view());
  }
}

MenuOutcome ApplyMenuCommand(ChipEnv& env, BlockHandle chip, std::uint32_t id) {
  const auto command = static_cast<std::int32_t>(id);
  const bool known = id <= 0x7FFFFFFFu && ((command >= IDM_INTERVAL_1MIN && command <= IDM_SCROLL_MODE) ||
                                           command == IDM_INTERVAL_1SEC ||
                                           command == IDM_INTERVAL_NONE);
  if (!known) return {kResultNothing, true};
  BlockLock lock(env.memory, chip);
  if (!lock) return {kResultNothing, false};
  ChipState& state = *lock.as<ChipState>();
  switch (command) {
    case IDM_LINK_RED:
    case IDM_LINK_GREEN:
    case IDM_LINK_BLUE:
      if (state.linkColor == command) return {kResultNothing, false};
      state.linkColor = command;
      return {kResultRedraw, false};
    case IDM_BLINK:
      state.blink = state.blink != 0 ? 0 : IDM_BLINK;
      return {kResultNothing, false};
    case IDM_BOARD_MODE:
      ToggleBoardMode(env, state);
      return {kResultTextChanged, false};
    case IDM_SCROLL_MODE:
      state.scrollMode = state.scrollMode != 0 ? 0 : IDM_SCROLL_MODE;
      return {kResultTextChanged, false};
    default:  // the interval ids
      state.interval = command;
      return {kResultNothing, false};
  }
}

}  // namespace kn
