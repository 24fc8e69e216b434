// A chip's board reads, on a thread of the chip's own, so that a slow or
// vanished share never holds the host's thread. The reader lives on
// the heap, outside the chip's movable state; a read is shared by the reader
// and its thread, and whichever lets go last frees it, so a chip is freed at
// once while its read is stuck and the read's result is dropped when it ends.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "board/board_fingerprint.h"
#include "system/reading_threads.h"
#include "system/types.h"

namespace kn {

// "掲示板ファイルを読み込んでいます…": shown while the first read of a board
// is outstanding.
constexpr std::string_view kBoardReadingText =
    "\x8c\x66\x8e\xa6\x94\xc2\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0\x93\xc7\x82\xdd\x8d\x9e\x82\xf1"
    "\x82\xc5\x82\xa2\x82\xdc\x82\xb7\x81\x63";

// What a finished read leaves: the board's text and the newest file time;
// or, when every file is as the board shown at the read's start was built
// from, `unchanged` and no text.
struct BoardReadResult {
  std::string text;
  SystemTime newest{};
  bool unchanged = false;
  BoardFingerprint fingerprint;  // of what the text was built from
};

class BoardRead;

// One chip's reads: at most one thread at a time, and at most one read
// asked for and not yet taken. Used on the host's thread only.
class ChipReader {
 public:
  ChipReader() = default;
  ~ChipReader();
  ChipReader(const ChipReader&) = delete;
  ChipReader& operator=(const ChipReader&) = delete;

  // Asks for a read of `memo` in place of whatever was asked before. It
  // starts at the next Poll that finds the chip's thread free.
  void Ask(std::string_view memo);
  // Forgets what was asked; a thread still running goes on, and what it
  // reads is dropped.
  void Drop();
  bool HasAsked() const { return asked_.has_value() || (running_ != nullptr && runningIsAsked_); }

  // Starts the asked read if the chip's thread is free and, for a read
  // started now, waits for it as `threads` allows; then the asked read's
  // result once it has finished (until Take), else null. Never waits for a
  // read started by an earlier call.
  const BoardReadResult* Poll(ReadingThreads& threads);
  // Done with the result Poll gave.
  void Take();
  // Lets go of a dropped read that has ended.
  void Collect();

  // Whether the displayed text is a board this reader delivered, so that a
  // re-read of the same files may keep it until the new one arrives.
  bool showsBoard = false;
  // The fingerprint of the board shown, which each read is given a copy of
  // when it starts; cleared whenever the text shown is no longer that board.
  BoardFingerprint shownBoard;

 private:
  void ReleaseRunning();
  bool StartAsked(ReadingThreads& threads);

  std::unique_ptr<ReadingThread> thread_;  // made at the first read
  std::optional<std::string> asked_;      // not started yet
  BoardRead* running_ = nullptr;      // our reference to the thread's read
  bool runningIsAsked_ = false;       // false: its result is dropped
};

}  // namespace kn
