// File access over the Win32 file functions, as the DLL uses it: the first
// entry FindFirstFileA finds and its last-write time in local time, and files
// opened for reading while others may read and write them.
#pragma once

#include <memory>
#include <string>

#include "system/file_system.h"

namespace kn {

class Win32FileSystem final : public FileSystem {
 public:
  bool GetFileLocalTime(const std::string& name, SystemTime& out) override;
  std::unique_ptr<FileReader> OpenForReading(const std::string& name) override;
};

}  // namespace kn
