// Reading threads over the standard library, for native tests and tools:
// a chip's reads on a detached std::thread that waits a while for the next
// one, reading through the file system and converter given here, which the
// owner keeps alive until every task has ended.
#pragma once

#include <memory>

#include "system/reading_threads.h"

namespace kn {

class StdReadingThreads : public ReadingThreads {
 public:
  StdReadingThreads(FileSystem& files, Cp932Encoder& encoder) : files_(files), encoder_(encoder) {}
  std::unique_ptr<DoneSignal> MakeSignal() override;
  std::unique_ptr<ReadingThread> MakeThread() override;

 private:
  FileSystem& files_;
  Cp932Encoder& encoder_;
};

}  // namespace kn
