// Everything one call from the host may use of the system, each service
// injected so that the whole chip runs natively against fakes.
#pragma once

#include "system/clock.h"
#include "system/desktop.h"
#include "system/file_system.h"
#include "system/host_memory.h"
#include "system/movable_memory.h"

namespace kn {

struct Services {
  MovableMemory& localMemory;  // the chip state and its texts
  HostMemory& hostMemory;      // the host's global blocks
  const Clock& clock;
  FileSystem& files;
  Desktop& desktop;
};

}  // namespace kn
