// The platform's services for one call from the host: memory, the clock,
// files, the chip's window and the threads board files are read on. Made
// afresh for every call; none of them holds state between calls (a reading
// thread has its own file access).
#pragma once

#include "platform/desktop_win32.h"
#include "platform/file_system_win32.h"
#include "platform/global_memory_win32.h"
#include "platform/local_memory_win32.h"
#include "platform/reading_threads_win32.h"
#include "platform/system_clock.h"
#include "platform/system_cp932_encoder.h"
#include "system/services.h"

namespace kn {

class Win32System {
 public:
  explicit Win32System(WindowHandle window = nullptr) : desktop_(window) {}
  Win32System(const Win32System&) = delete;
  Win32System& operator=(const Win32System&) = delete;

  Services& services() { return services_; }

 private:
  LocalMemory localMemory_;
  GlobalMemory hostMemory_;
  SystemClock clock_;
  Win32FileSystem files_;
  SystemCp932Encoder encoder_;
  Win32Desktop desktop_;
  Win32ReadingThreads reading_;
  Services services_{localMemory_, hostMemory_, clock_, files_, encoder_, desktop_, &reading_};
};

}  // namespace kn
