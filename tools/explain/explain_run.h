// One run of kn-explain: reads each file, explains it as a memo or as a
// board list, and gathers the report (code page 932) and the error messages.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "system/file_system.h"
#include "explain/explain_options.h"
#include "system/types.h"

namespace kn::explain {

// The whole contents of a named file, or nullopt when it cannot be read.
using SourceReader = std::function<std::optional<std::string>(const std::string& name)>;

// Reads a file through the file system, as the board loader opens files.
std::optional<std::string> ReadThrough(FileSystem& files, const std::string& name);

struct RunResult {
  int status = 0;      // 0 done, 1 a file could not be read
  std::string report;  // code page 932
  std::string errors;  // ASCII
};

// `now` is the local time of the run; --today replaces its date.
RunResult RunExplainer(const Options& options, FileSystem& files, const SourceReader& read,
                       const BrokenDownTime& now);

// Explains one memo text; `title` names it in the report's first line.
std::string ExplainMemoReport(const std::string& title, std::string_view memo, const Options& options,
                              const BrokenDownTime& when);

// Checks one board list and explains the board text it makes.
std::string ExplainBoardReport(const std::string& title, std::string_view list, FileSystem& files,
                               const Options& options, const BrokenDownTime& when);

}  // namespace kn::explain
