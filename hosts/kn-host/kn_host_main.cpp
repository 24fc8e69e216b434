// kn-host: a stand-in for the closed host application. It loads the plug-in
// DLL by name, hands a chip its settings and paints it into a PNG file.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <vector>

#include "host_commands.h"

int wmain(int argc, wchar_t** argv) {
  using namespace kn::host;
  // Plain line feeds: the output is read on the Unix side.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  const std::vector<std::wstring> args(argv + 1, argv + argc);
  HostOptions options;
  std::string error;
  if (!ParseHostOptions(args, options, error)) {
    ReportError(error);
    return kExitUsage;
  }
  switch (options.command) {
    case HostCommand::kRender:
      return RunRender(options);
    case HostCommand::kInfo:
      return RunInfo(options);
    case HostCommand::kHelp:
      break;
  }
  std::fputs(HostUsage(), stdout);
  return kExitDone;
}
