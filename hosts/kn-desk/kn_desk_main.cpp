// kn-desk: Kaleidonote chips on the Windows desktop, hosted by this program
// instead of the closed host application.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>
#include <vector>

#include "desk_options.h"
#include "desk_startup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace kn::desk;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args;
  for (int i = 1; argv && i < count; ++i) args.emplace_back(argv[i]);
  LocalFree(argv);
  DeskOptions options;
  std::wstring error;
  if (!ParseDeskOptions(args, options, error)) {
    MessageBoxW(nullptr, (error + L"\n\n" + DeskUsage()).c_str(), L"Kaleidonote Desk",
                MB_OK | MB_ICONERROR);
    return kExitUsage;
  }
  if (options.help) {
    MessageBoxW(nullptr, DeskUsage(), L"Kaleidonote Desk", MB_OK | MB_ICONINFORMATION);
    return kExitDone;
  }
  return RunDesk(options);
}
