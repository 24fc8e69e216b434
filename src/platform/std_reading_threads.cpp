#include "platform/std_reading_threads.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <utility>

#ifdef __linux__
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <ctime>
#else
#include <condition_variable>
#include <mutex>
#endif

namespace kn {
namespace {

using Clock = std::chrono::steady_clock;

// A word one thread changes and another sleeps on until it does. On Linux
// the sleep is the kernel's futex on the word itself, so that handing a
// read over and back costs one wake and one wait on each side; a mutex and
// condition variable pair would add a wake at each unlock after a wait.
// The standard library's own wait on an atomic has no time limit.
class WaitableWord {
 public:
  explicit WaitableWord(std::uint32_t value) : value_(value) {}

  std::uint32_t Load() const { return value_.load(std::memory_order_acquire); }
  std::uint32_t Exchange(std::uint32_t value) { return value_.exchange(value, std::memory_order_acq_rel); }
  // Sets `bits`; the word before.
  std::uint32_t Mark(std::uint32_t bits) { return value_.fetch_or(bits, std::memory_order_acq_rel); }
  bool Replace(std::uint32_t expected, std::uint32_t desired) {
    return value_.compare_exchange_strong(expected, desired, std::memory_order_acq_rel);
  }

#ifdef __linux__
  void Wake() { syscall(SYS_futex, &value_, FUTEX_WAKE_PRIVATE, INT_MAX, nullptr, nullptr, 0); }

  // Sleeps while the word holds `value`, until `deadline` (the steady
  // clock's, which is CLOCK_MONOTONIC); false once it has passed.
  bool WaitWhile(std::uint32_t value, Clock::time_point deadline) {
    const auto since = deadline.time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
    const timespec until{static_cast<time_t>(seconds.count()),
                         static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(since - seconds).count())};
    while (Load() == value) {
      if (syscall(SYS_futex, &value_, FUTEX_WAIT_BITSET_PRIVATE, value, &until, nullptr, FUTEX_BITSET_MATCH_ANY) != 0 &&
          errno == ETIMEDOUT) {
        return Load() != value;
      }
    }
    return true;
  }

 private:
  static_assert(sizeof(std::atomic<std::uint32_t>) == sizeof(std::uint32_t), "the futex is the word");
#else
  void Wake() {
    { const std::lock_guard<std::mutex> lock(mutex_); }  // a waiter between its look and its sleep
    changed_.notify_all();
  }

  bool WaitWhile(std::uint32_t value, Clock::time_point deadline) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_until(lock, deadline, [&] { return Load() != value; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
#endif
  std::atomic<std::uint32_t> value_;
};

// Unset, set, or unset with the host asleep on it (so that a read done
// before the host looks costs no wake).
enum SignalState : std::uint32_t { kUnset, kSet, kAwaited };

class WordSignal final : public DoneSignal {
 public:
  void Set() override {
    if (state_.Exchange(kSet) == kAwaited) state_.Wake();
  }
  bool Wait(unsigned milliseconds) override {
    if (state_.Load() == kSet) return true;
    if (milliseconds == 0) return false;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    state_.Replace(kUnset, kAwaited);
    return state_.WaitWhile(kAwaited, deadline);
  }

 private:
  WaitableWord state_{kUnset};
};

// Where a chip's thread is. Only the thread moves a task on from kHanded or
// kBusyHanded, and a lingering thread away; the chip's side hands a task
// to a waiting, busy or missing thread, and marks the lane closed when the
// chip goes (a task already handed still runs: it lets go of its read).
enum LaneState : std::uint32_t {
  kNoThread,    // none running: the next task starts one
  kIdle,        // waiting for the next task
  kHanded,      // a task waits for the thread
  kBusy,        // running a task
  kBusyHanded,  // running one, the next waiting
};
constexpr std::uint32_t kClosed = 0x10;  // the chip is gone: the thread ends

// What the chip's side and its thread share. `pending` is the chip's side's
// until it makes the state kHanded or kBusyHanded, then the thread's.
struct Lane {
  WaitableWord state{kNoThread};
  BoardReadTask pending;
};

void RunLane(Lane& lane, FileSystem& files, Cp932Encoder& encoder) {
  std::uint32_t state = lane.state.Load();
  for (;;) {
    const std::uint32_t step = state & ~kClosed;
    if (step == kHanded || step == kBusyHanded) {
      BoardReadTask task = std::exchange(lane.pending, nullptr);
      while (!lane.state.Replace(state, kBusy | (state & kClosed))) state = lane.state.Load();
      task(files, encoder);
      task = nullptr;  // its references go before the chip's side hears of the end
      state = lane.state.Load();
      continue;
    }
    if ((state & kClosed) != 0) return;
    if (step == kBusy && !lane.state.Replace(kBusy, kIdle)) {
      state = lane.state.Load();  // handed the next, or closed
      continue;
    }
    const Clock::time_point linger = Clock::now() + std::chrono::milliseconds(kReadingThreadLingerMilliseconds);
    if (!lane.state.WaitWhile(kIdle, linger) && lane.state.Replace(kIdle, kNoThread)) return;
    state = lane.state.Load();
  }
}

class StdReadingThread final : public ReadingThread {
 public:
  StdReadingThread(FileSystem& files, Cp932Encoder& encoder) : files_(files), encoder_(encoder) {}
  ~StdReadingThread() override {
    if (lane_->state.Mark(kClosed) == kIdle) lane_->state.Wake();
  }

  // The task before has finished its work, so the thread is waiting, busy
  // only with letting go of it, or gone; anything else refuses the task.
  bool Run(BoardReadTask task) override {
    std::uint32_t state = lane_->state.Load();
    if (state != kIdle && state != kBusy && state != kNoThread) return false;
    lane_->pending = std::move(task);
    for (; state != kNoThread; state = lane_->state.Load()) {
      if (state == kIdle && lane_->state.Replace(kIdle, kHanded)) {
        lane_->state.Wake();
        return true;
      }
      if (state == kBusy && lane_->state.Replace(kBusy, kBusyHanded)) return true;
    }
    lane_->state.Exchange(kHanded);
    try {
      std::thread([lane = lane_, &files = files_, &encoder = encoder_] { RunLane(*lane, files, encoder); }).detach();
    } catch (...) {  // no thread to be had, or no memory for its start
      lane_->state.Exchange(kNoThread);
      lane_->pending = nullptr;
      return false;
    }
    return true;
  }

 private:
  std::shared_ptr<Lane> lane_ = std::make_shared<Lane>();
  FileSystem& files_;
  Cp932Encoder& encoder_;
};

}  // namespace

std::unique_ptr<DoneSignal> StdReadingThreads::MakeSignal() { return std::make_unique<WordSignal>(); }

std::unique_ptr<ReadingThread> StdReadingThreads::MakeThread() {
  return std::make_unique<StdReadingThread>(files_, encoder_);
}

}  // namespace kn
