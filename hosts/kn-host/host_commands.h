// The substitute host's commands; each returns the program's exit status.
#pragma once

#include <string>

#include "host_options.h"

namespace kn::host {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// kaleidonote.dll in the folder of the running program.
std::wstring DefaultDllPath();

int RunRender(const HostOptions& options);
int RunInfo(const HostOptions& options);

// Prints "kn-host: message" to the error stream.
void ReportError(const std::string& message);

}  // namespace kn::host
