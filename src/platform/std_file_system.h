// File access over the C++ standard library, for the native tests and tools.
// It answers as the Win32 file functions would: the last-write time in local
// time, directories found by name, and `*` and `?` wildcards in the last part
// of a name (matched without regard to ASCII letter case).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "system/file_system.h"

namespace kn {

class StdFileSystem final : public FileSystem {
 public:
  bool GetFileLocalTime(const std::string& name, SystemTime& out) override;
  std::unique_ptr<FileReader> OpenForReading(const std::string& name) override;
};

// The name as this system's file functions take it: '\' as a separator,
// as on Windows (outside Windows it becomes '/', but never the second byte of
// a double-byte character).
std::string WithNativeSeparators(std::string_view name);

// True when `name` matches `pattern`, where `*` stands for any run of bytes
// and `?` for one byte; ASCII letters match in either case, and "*.*" matches
// every name, as it does on Windows.
bool MatchesWildcard(std::string_view pattern, std::string_view name);

}  // namespace kn
