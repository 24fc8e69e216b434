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

}  // namespace

std::unique_ptr<DoneSignal> StdReadingThreads::MakeSignal() { return std::make_unique<ConditionSignal>(); }

bool StdReadingThreads::Start(BoardReadTask task) {
  try {
    std::thread([task = std::move(task), &files = files_, &encoder = encoder_]() mutable {
      task(files, encoder);
      task = nullptr;  // the task's references go before the thread does
    }).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

}  // namespace kn
