#include "platform/std_reading_threads.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace kn {
namespace {

class ConditionSignal final : public DoneSignal {
 public:
  void Set() override {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      set_ = true;
    }
    changed_.notify_all();
  }
  bool Wait(unsigned milliseconds) override {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return set_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool set_ = false;
};

// What the chip's side and its thread share.
struct Lane {
  std::mutex mutex;
  std::condition_variable wake;
  BoardReadTask pending;  // the next task, until the thread takes it
  bool threadAlive = false;
  bool closed = false;  // the chip is gone
};

void RunLane(Lane& lane, FileSystem& files, Cp932Encoder& encoder) {
  std::unique_lock<std::mutex> lock(lane.mutex);
  for (;;) {
    if (lane.pending) {
      BoardReadTask task = std::exchange(lane.pending, nullptr);
      lock.unlock();
      task(files, encoder);
      task = nullptr;  // its references go before the lock is taken again
      lock.lock();
      continue;
    }
    if (lane.closed) break;
    const auto linger = std::chrono::milliseconds(kReadingThreadLingerMilliseconds);
    if (!lane.wake.wait_for(lock, linger, [&] { return lane.pending || lane.closed; })) break;
  }
  lane.threadAlive = false;
}

class StdReadingThread final : public ReadingThread {
 public:
  StdReadingThread(FileSystem& files, Cp932Encoder& encoder) : files_(files), encoder_(encoder) {}
  ~StdReadingThread() override {
    {
      const std::lock_guard<std::mutex> lock(lane_->mutex);
      lane_->closed = true;
    }
    lane_->wake.notify_all();
  }

  bool Run(BoardReadTask task) override {
    std::unique_lock<std::mutex> lock(lane_->mutex);
    lane_->pending = std::move(task);
    if (lane_->threadAlive) {
      lock.unlock();
      lane_->wake.notify_all();
      return true;
    }
    try {
      std::thread([lane = lane_, &files = files_, &encoder = encoder_] { RunLane(*lane, files, encoder); }).detach();
    } catch (const std::system_error&) {
      lane_->pending = nullptr;
      return false;
    }
    lane_->threadAlive = true;
    return true;
  }

 private:
  std::shared_ptr<Lane> lane_ = std::make_shared<Lane>();
  FileSystem& files_;
  Cp932Encoder& encoder_;
};

}  // namespace

std::unique_ptr<DoneSignal> StdReadingThreads::MakeSignal() { return std::make_unique<ConditionSignal>(); }

std::unique_ptr<ReadingThread> StdReadingThreads::MakeThread() {
  return std::make_unique<StdReadingThread>(files_, encoder_);
}

}  // namespace kn
