// The platform's services for one call from the host: memory, the clock,
// files and the chip's window. Made afresh for every call; none of them
// holds state between calls.
#pragma once

#include "platform/desktop_win32.h"
#include "platform/file_system_win32.h"
#include "platform/global_memory_win32.h"
#include "platform/local_memory_win32.h"
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
  Services services_{localMemory_, hostMemory_, clock_, files_, encoder_, desktop_};
};

}  // namespace kn
