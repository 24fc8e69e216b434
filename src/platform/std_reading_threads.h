// Reading threads over the standard library, for native tests and tools:
// each read on a std::thread of its own, detached, reading through the
// file system and converter given here, which the owner keeps alive until
// every thread has ended.
#pragma once

#include <memory>

#include "system/reading_threads.h"

namespace kn {

class StdReadingThreads : public ReadingThreads {
 public:
  StdReadingThreads(FileSystem& files, Cp932Encoder& encoder) : files_(files), encoder_(encoder) {}
  std::unique_ptr<DoneSignal> MakeSignal() override;
  bool Start(BoardReadTask task) override;

 private:
  FileSystem& files_;
  Cp932Encoder& encoder_;
};

}  // namespace kn
