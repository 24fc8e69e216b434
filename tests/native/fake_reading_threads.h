// Reading threads for tests: real threads (the standard library's), a file
// system whose calls block while the test holds its gate shut, and a host
// wait the test chooses, so that no test sleeps for the bound: either the
// wait lasts until the read is done (a read that finishes within the bound)
// or it only looks (a read that does not).
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "platform/std_reading_threads.h"
#include "system/file_system.h"
#include "system/reading_threads.h"

namespace kn::testing {

// Passes every call on to `inner`, one at a time (the fakes are not made
// for threads), first waiting while the gate is shut.
class GatedFileSystem final : public FileSystem {
 public:
  explicit GatedFileSystem(FileSystem& inner) : inner_(inner) {}

  void Shut() {
    const std::lock_guard<std::mutex> lock(mutex_);
    shut_ = true;
  }
  void Open() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      shut_ = false;
    }
    changed_.notify_all();
  }
  // Waits until `callers` calls are held at the gate.
  void AwaitHeld(int callers) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return held_ >= callers; });
  }
  int Held() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return held_;
  }

  bool GetFileLocalTime(const std::string& name, SystemTime& out) override {
    Pass();
    const std::lock_guard<std::mutex> lock(innerMutex_);
    return inner_.GetFileLocalTime(name, out);
  }
  std::unique_ptr<FileReader> OpenForReading(const std::string& name) override {
    Pass();
    const std::lock_guard<std::mutex> lock(innerMutex_);
    return inner_.OpenForReading(name);
  }

 private:
  void Pass() {
    std::unique_lock<std::mutex> lock(mutex_);
    ++held_;
    changed_.notify_all();
    changed_.wait(lock, [&] { return !shut_; });
    --held_;
    changed_.notify_all();
  }

  FileSystem& inner_;
  std::mutex innerMutex_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool shut_ = false;
  int held_ = 0;
};

// The file access the host's own call is given when reads run on threads:
// the host's thread never reads board files, so any call is a failure.
class HostThreadFiles final : public FileSystem {
 public:
  explicit HostThreadFiles(FileSystem& inner) : inner_(inner) {}
  bool GetFileLocalTime(const std::string& name, SystemTime& out) override {
    ++calls;
    return inner_.GetFileLocalTime(name, out);
  }
  std::unique_ptr<FileReader> OpenForReading(const std::string& name) override {
    ++calls;
    return inner_.OpenForReading(name);
  }
  int calls = 0;

 private:
  FileSystem& inner_;
};

class TestReadingThreads final : public ReadingThreads {
 public:
  enum class HostWait { kUntilDone, kOnlyLook };

  TestReadingThreads(FileSystem& files, Cp932Encoder& encoder) : inner_(files, encoder) {}
  ~TestReadingThreads() override { AwaitIdle(); }

  std::unique_ptr<DoneSignal> MakeSignal() override {
    if (refuseThreads) return nullptr;
    return std::make_unique<CountedSignal>(inner_.MakeSignal(), counts_);
  }

  std::unique_ptr<ReadingThread> MakeThread() override {
    if (refuseThreads) return nullptr;
    return std::make_unique<CountedThread>(inner_.MakeThread(), counts_, refuseThreads);
  }

  bool AwaitRead(DoneSignal& done) override {
    ++awaits;
    if (hostWait == HostWait::kOnlyLook) return done.Wait(0);
    while (!done.Wait(60 * 1000)) {
    }
    return true;
  }

  // Waits until every task started has ended and dropped what it held.
  void AwaitIdle() {
    std::unique_lock<std::mutex> lock(counts_->mutex);
    counts_->changed.wait(lock, [&] { return counts_->running == 0; });
  }
  int Running() { return Read(&Counts::running); }
  int Started() { return Read(&Counts::started); }
  // Reads not yet freed: each holds one signal.
  int LiveReads() { return Read(&Counts::signals); }

  HostWait hostWait = HostWait::kUntilDone;
  bool refuseThreads = false;  // no thread, signal or task can be had
  int awaits = 0;

 private:
  struct Counts {
    std::mutex mutex;
    std::condition_variable changed;
    int running = 0;
    int started = 0;
    int signals = 0;
  };

  class CountedSignal final : public DoneSignal {
   public:
    CountedSignal(std::unique_ptr<DoneSignal> inner, std::shared_ptr<Counts> counts)
        : inner_(std::move(inner)), counts_(std::move(counts)) {
      const std::lock_guard<std::mutex> lock(counts_->mutex);
      ++counts_->signals;
    }
    ~CountedSignal() override {
      const std::lock_guard<std::mutex> lock(counts_->mutex);
      --counts_->signals;
    }
    void Set() override { inner_->Set(); }
    bool Wait(unsigned milliseconds) override { return inner_->Wait(milliseconds); }

   private:
    std::unique_ptr<DoneSignal> inner_;
    std::shared_ptr<Counts> counts_;
  };

  // Counts the tasks it runs, from their start until they have let go of
  // everything they held.
  class CountedThread final : public ReadingThread {
   public:
    CountedThread(std::unique_ptr<ReadingThread> inner, std::shared_ptr<Counts> counts, const bool& refuse)
        : inner_(std::move(inner)), counts_(std::move(counts)), refuse_(refuse) {}

    bool Run(BoardReadTask task) override {
      if (refuse_) return false;
      Count(+1);
      const bool started = inner_->Run([task = std::move(task), counts = counts_](FileSystem& files,
                                                                                Cp932Encoder& encoder) mutable {
        task(files, encoder);
        task = nullptr;
        {
          const std::lock_guard<std::mutex> lock(counts->mutex);
          --counts->running;
        }
        counts->changed.notify_all();
      });
      if (!started) Count(-1);
      return started;
    }

   private:
    void Count(int step) {
      const std::lock_guard<std::mutex> lock(counts_->mutex);
      counts_->running += step;
      counts_->started += step;
    }

    std::unique_ptr<ReadingThread> inner_;
    std::shared_ptr<Counts> counts_;
    const bool& refuse_;
  };

  int Read(int Counts::*field) {
    const std::lock_guard<std::mutex> lock(counts_->mutex);
    return (*counts_).*field;
  }

  StdReadingThreads inner_;
  std::shared_ptr<Counts> counts_ = std::make_shared<Counts>();
};

}  // namespace kn::testing
