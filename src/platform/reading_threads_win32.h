// Reading threads over CreateThread, events, slim locks and condition
// variables. A chip's thread holds a reference to the module its code is in
// until its very last instruction (FreeLibraryAndExitThread), so the host
// may unload the plug-in while a read is stuck: the code stays mapped until
// the thread is gone.
#pragma once

#include <memory>

#include "system/reading_threads.h"

namespace kn {

class Win32ReadingThreads final : public ReadingThreads {
 public:
  std::unique_ptr<DoneSignal> MakeSignal() override;
  std::unique_ptr<ReadingThread> MakeThread() override;
};

}  // namespace kn
