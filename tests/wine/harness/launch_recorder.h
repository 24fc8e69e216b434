// Watches for the recorder program (tests/wine/tools/kn_recorder.cpp) that a
// link launches: it tells the program where to write through the
// environment, which the launched process inherits, and waits for its record.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "wine/harness/scratch_folder.h"

namespace kn::wine {

// How the recorder was started.
struct LaunchRecord {
  std::string commandLine;
  std::string directory;  // its current directory
  std::vector<std::string> args;  // after the program name
};

// The recorder beside the test program.
inline std::string RecorderProgramPath() {
  char self[MAX_PATH * 4] = {};
  const DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
  std::string path(self, n < sizeof self ? n : 0);
  const std::size_t slash = path.find_last_of("\\/");
  return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "kn_recorder.exe";
}

inline std::optional<LaunchRecord> ParseLaunchRecord(const std::string& bytes) {
  LaunchRecord record;
  bool hasCommand = false;
  bool hasDirectory = false;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = bytes.substr(start, end - start);
    if (line.rfind("cmd:", 0) == 0) {
      record.commandLine = line.substr(4);
      hasCommand = true;
    } else if (line.rfind("cwd:", 0) == 0) {
      record.directory = line.substr(4);
      hasDirectory = true;
    } else if (line.rfind("arg:", 0) == 0) {
      record.args.push_back(line.substr(4));
    }
    start = end + 1;
  }
  if (!hasCommand || !hasDirectory) return std::nullopt;
  return record;
}

class LaunchRecorder {
 public:
  static constexpr const char* kVariable = "KN_RECORDER_OUT";

  explicit LaunchRecorder(std::string outputPath) : output_(std::move(outputPath)) {
    char previous[MAX_PATH * 4] = {};
    const DWORD n = GetEnvironmentVariableA(kVariable, previous, sizeof previous);
    if (n > 0 && n < sizeof previous) previous_ = std::string(previous, n);
    DeleteFileA(output_.c_str());
    SetEnvironmentVariableA(kVariable, output_.c_str());
  }
  ~LaunchRecorder() { SetEnvironmentVariableA(kVariable, previous_ ? previous_->c_str() : nullptr); }
  LaunchRecorder(const LaunchRecorder&) = delete;
  LaunchRecorder& operator=(const LaunchRecorder&) = delete;

  // The record once the recorder has written it, polling for at most
  // `timeoutMs`; nullopt when it never came.
  std::optional<LaunchRecord> Wait(DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    for (;;) {
      if (GetFileAttributesA(output_.c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (std::optional<std::string> bytes = ReadWholeFile(output_)) return ParseLaunchRecord(*bytes);
      }
      if (GetTickCount() - start >= timeoutMs) return std::nullopt;
      Sleep(25);
    }
  }

 private:
  std::string output_;
  std::optional<std::string> previous_;
};

}  // namespace kn::wine
