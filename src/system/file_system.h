// File access for board mode, injected so that the loader runs on the Win32
// file functions in the DLL and on the standard library (or an in-memory
// fake) natively. Implementations never throw except std::bad_alloc.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "system/types.h"

namespace kn {

// An open file read as plain bytes.
class FileReader {
 public:
  virtual ~FileReader() = default;
  // Reads up to `size` bytes into `buffer`; 0 at the end of the file or on
  // an error.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
  // The file's size when it was opened, so that a reader can take it in
  // one piece; 0 when unknown. Others may change the file meanwhile: Read
  // has the last word.
  virtual std::size_t SizeHint() { return 0; }
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The last-write time, in local time, of the first directory entry that
  // matches `name` (wildcards allowed, directories match); false when none.
  virtual bool GetFileLocalTime(const std::string& name, SystemTime& out) = 0;
  // Opens a file for reading while others may read and write it; null for a
  // missing file, a directory or a name with wildcards.
  virtual std::unique_ptr<FileReader> OpenForReading(const std::string& name) = 0;
};

}  // namespace kn
