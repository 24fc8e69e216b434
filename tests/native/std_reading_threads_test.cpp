// The standard library's reading threads: a chip's tasks run once each and
// in order, also when the next comes while the thread is still letting go
// of the last or when the chip goes before its thread took the task; a
// read's signal only looks when asked to, and gives up at its bound.
// (Not in the mingw build, whose threads stop under emulated Wine; see
// chip_fixture.h.)
#ifndef _WIN32
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "fake_file_system.h"
#include "platform/std_reading_threads.h"
#include "platform/system_cp932_encoder.h"

namespace kn::testing {
namespace {

constexpr unsigned kLongWait = 60 * 1000;  // never reached by a passing test

class StdReadingThreadsTest : public ::testing::Test {
 protected:
  FakeFileSystem files;
  SystemCp932Encoder encoder;
  StdReadingThreads threads{files, encoder};
};

TEST_F(StdReadingThreadsTest, TasksRunOnceEachAndInOrderWhateverTheThreadIsDoing) {
  std::unique_ptr<ReadingThread> thread = threads.MakeThread();
  std::atomic<int> ran{0};
  for (int round = 0; round < 200; ++round) {
    std::shared_ptr<DoneSignal> done = threads.MakeSignal();
    std::shared_ptr<DoneSignal> lettingGo = threads.MakeSignal();
    // Done with its work, the task holds the thread until the next is handed.
    ASSERT_TRUE(thread->Run([&, done, lettingGo, round](FileSystem&, Cp932Encoder&) {
      EXPECT_EQ(ran.load(), round) << "out of order";
      ran.fetch_add(1);
      done->Set();
      lettingGo->Wait(round % 2 == 0 ? kLongWait : 0);
    }));
    ASSERT_TRUE(done->Wait(kLongWait));
    if (round % 2 == 0) {
      std::shared_ptr<DoneSignal> next = threads.MakeSignal();
      ASSERT_TRUE(thread->Run([next](FileSystem&, Cp932Encoder&) { next->Set(); })) << "handed to a busy thread";
      lettingGo->Set();
      ASSERT_TRUE(next->Wait(kLongWait));
    }
  }
  EXPECT_EQ(ran.load(), 200);
}

TEST_F(StdReadingThreadsTest, TaskHandedBeforeTheChipWentStillRunsAndLetsGo) {
  for (int round = 0; round < 50; ++round) {
    std::shared_ptr<DoneSignal> done = threads.MakeSignal();
    auto held = std::make_shared<int>(round);
    std::weak_ptr<int> watch = held;
    {
      std::unique_ptr<ReadingThread> thread = threads.MakeThread();
      ASSERT_TRUE(thread->Run([held = std::move(held), done](FileSystem&, Cp932Encoder&) { done->Set(); }));
    }  // the chip goes, most often before its new thread has started
    ASSERT_TRUE(done->Wait(kLongWait)) << "round " << round;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLongWait);
    while (!watch.expired() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    EXPECT_TRUE(watch.expired()) << "the task's references go when it ends";
  }
}

TEST_F(StdReadingThreadsTest, SignalOnlyLooksAtZeroAndGivesUpAtItsBound) {
  std::unique_ptr<DoneSignal> signal = threads.MakeSignal();
  EXPECT_FALSE(signal->Wait(0));
  EXPECT_FALSE(signal->Wait(2)) << "not set: false once the bound has passed";
  signal->Set();
  EXPECT_TRUE(signal->Wait(0));
  EXPECT_TRUE(signal->Wait(kLongWait));
}

}  // namespace
}  // namespace kn::testing
#endif  // _WIN32
