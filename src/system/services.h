// Everything one call from the host may use of the system, each service
// injected so that the whole chip runs natively against fakes.
#pragma once

#include "system/clock.h"
#include "system/cp932_encoder.h"
#include "system/desktop.h"
#include "system/file_system.h"
#include "system/host_memory.h"
#include "system/movable_memory.h"
#include "system/reading_threads.h"

namespace kn {

struct Services {
  MovableMemory& localMemory;  // the chip state and its texts
  HostMemory& hostMemory;      // the host's global blocks
  const Clock& clock;
  FileSystem& files;
  Cp932Encoder& encoder;  // for board files in UTF-8 and UTF-16
  Desktop& desktop;
  // Board files are read on these, off the host's thread; null reads them in
  // the call itself.
  ReadingThreads* reading = nullptr;
};

}  // namespace kn
