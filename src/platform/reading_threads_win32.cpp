#include "platform/reading_threads_win32.h"

#include <windows.h>

#include <atomic>
#include <new>
#include <utility>

#include "platform/file_system_win32.h"
#include "platform/system_cp932_encoder.h"
#include "platform/win32_owners.h"

namespace kn {
namespace {

// A read needs little stack: its buffers are on the heap.
constexpr SIZE_T kReadingThreadStack = 256 * 1024;

// A slim lock and condition variable rather than an event: nothing of the
// kernel's is made or closed for each read, and setting it costs a call
// into the kernel only when the host is waiting on it.
class ConditionSignal final : public DoneSignal {
 public:
  void Set() override {
    AcquireSRWLockExclusive(&lock_);
    set_ = true;
    ReleaseSRWLockExclusive(&lock_);
    WakeAllConditionVariable(&changed_);
  }
  bool Wait(unsigned milliseconds) override {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    AcquireSRWLockExclusive(&lock_);
    for (ULONGLONG now = GetTickCount64(); !set_ && now < deadline; now = GetTickCount64()) {
      SleepConditionVariableSRW(&changed_, &lock_, static_cast<DWORD>(deadline - now), 0);
    }
    const bool set = set_;
    ReleaseSRWLockExclusive(&lock_);
    return set;
  }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
  bool set_ = false;
};

// What the chip's side and its thread share; the last of the two to let go
// frees it.
struct Lane {
  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE wake = CONDITION_VARIABLE_INIT;
  BoardReadTask pending;  // the next task, until the thread takes it
  bool threadAlive = false;
  bool closed = false;  // the chip is gone
  HMODULE module = nullptr;  // the starting thread's reference, for the new thread
  std::atomic<int> holders{1};

  void Hold() { holders.fetch_add(1, std::memory_order_relaxed); }
  void Release() {
    if (holders.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }
};

class LaneLock {
 public:
  explicit LaneLock(Lane& lane) : lane_(lane) { AcquireSRWLockExclusive(&lane_.lock); }
  ~LaneLock() { ReleaseSRWLockExclusive(&lane_.lock); }
  LaneLock(const LaneLock&) = delete;
  LaneLock& operator=(const LaneLock&) = delete;

 private:
  Lane& lane_;
};

void RunLane(Lane& lane) {
  // The thread's own file access and converter, nothing of the call that
  // started it; neither allocates.
  Win32FileSystem files;
  SystemCp932Encoder encoder;
  AcquireSRWLockExclusive(&lane.lock);
  for (;;) {
    if (lane.pending) {
      BoardReadTask task = std::exchange(lane.pending, nullptr);
      ReleaseSRWLockExclusive(&lane.lock);
      task(files, encoder);
      task = nullptr;  // its references go before the lock is taken again
      AcquireSRWLockExclusive(&lane.lock);
      continue;
    }
    if (lane.closed) break;
    if (!SleepConditionVariableSRW(&lane.wake, &lane.lock, kReadingThreadLingerMilliseconds, 0) &&
        !lane.pending && !lane.closed) {
      break;  // waited long enough for the chip's next read
    }
  }
  lane.threadAlive = false;
  ReleaseSRWLockExclusive(&lane.lock);
}

DWORD WINAPI ReadingThreadMain(void* parameter) {
  Lane* lane = static_cast<Lane*>(parameter);
  HMODULE module = lane->module;
  RunLane(*lane);
  lane->Release();
  FreeLibraryAndExitThread(module, 0);
}

HMODULE ThisModule() {
  HMODULE module = nullptr;
  const auto address = reinterpret_cast<LPCWSTR>(reinterpret_cast<const void*>(&ReadingThreadMain));
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, address, &module)) return nullptr;
  return module;
}

class Win32ReadingThread final : public ReadingThread {
 public:
  ~Win32ReadingThread() override {
    {
      const LaneLock lock(*lane_);
      lane_->closed = true;
    }
    WakeAllConditionVariable(&lane_->wake);
    lane_->Release();
  }

  bool Run(BoardReadTask task) override {
    {
      const LaneLock lock(*lane_);
      lane_->pending = std::move(task);
      if (!lane_->threadAlive) return StartThread();
    }
    // Woken once the lock is free, so that it does not wake only to wait for it.
    WakeAllConditionVariable(&lane_->wake);
    return true;
  }

 private:
  // Called with the lane locked.
  bool StartThread() {
    // Taken here, before the thread exists, so that the module cannot go
    // between this call's return and the thread's first instruction.
    OwnedLibrary module(ThisModule());
    if (module) {
      lane_->module = module.get();
      lane_->Hold();
      KernelHandle thread(CreateThread(nullptr, kReadingThreadStack, ReadingThreadMain, lane_,
                                       STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
      if (thread) {
        module.release();  // the thread's now
        lane_->threadAlive = true;
        return true;
      }
      lane_->Release();
    }
    lane_->pending = nullptr;
    return false;
  }

  Lane* lane_ = new Lane();
};

}  // namespace

std::unique_ptr<DoneSignal> Win32ReadingThreads::MakeSignal() {
  return std::unique_ptr<DoneSignal>(new (std::nothrow) ConditionSignal());
}

std::unique_ptr<ReadingThread> Win32ReadingThreads::MakeThread() { return std::make_unique<Win32ReadingThread>(); }

}  // namespace kn
