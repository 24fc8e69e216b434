// Threads of the plug-in's own that read board files off the host's thread,
// and the host's bounded wait for them. Injected so that tests start, stall
// and release reads at will and never sleep for the bound.
#pragma once

#include <functional>
#include <memory>

#include "system/cp932_encoder.h"
#include "system/file_system.h"

namespace kn {

// The longest a host's call waits for a read it started.
constexpr unsigned kHostWaitMilliseconds = 100;

// Set once by a reading thread when its read is done.
class DoneSignal {
 public:
  virtual ~DoneSignal() = default;
  virtual void Set() = 0;
  // True once set; waits for it at most `milliseconds` (0: only looks).
  virtual bool Wait(unsigned milliseconds) = 0;
};

// What a reading thread reads with, valid for as long as the thread runs
// (the per-call services are not).
using BoardReadTask = std::function<void(FileSystem& files, Cp932Encoder& encoder)>;

// How long a chip's thread waits for the chip's next read before it ends:
// longer than the shortest interval, so that a chip re-read every second
// hands each read to a thread already running.
constexpr unsigned kReadingThreadLingerMilliseconds = 3000;

// One chip's reading thread. It keeps the plug-in loaded while it runs and
// never refers to the ReadingThreads that made it.
class ReadingThread {
 public:
  // The chip is gone: a thread waiting for work ends at once, a busy one
  // when its task returns.
  virtual ~ReadingThread() = default;
  // Runs `task` on the chip's thread: the one still waiting after the last
  // task, or a new one. Called only once the task before has finished its
  // work. False, with the task not run, when no thread can be started. The
  // task never throws.
  virtual bool Run(BoardReadTask task) = 0;
};

class ReadingThreads {
 public:
  virtual ~ReadingThreads() = default;
  // A signal for one read, or null when none can be made.
  virtual std::unique_ptr<DoneSignal> MakeSignal() = 0;
  // A chip's reading thread (started at its first task), or null.
  virtual std::unique_ptr<ReadingThread> MakeThread() = 0;
  // The host's wait for a read started in this call: up to the bound.
  virtual bool AwaitRead(DoneSignal& done) { return done.Wait(kHostWaitMilliseconds); }
};

}  // namespace kn
