// kn-desk: Kaleidonote chips on the Windows desktop, hosted by this program
// instead of the closed host application.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>
#include <vector>

#include "desk_console.h"
#include "desk_options.h"
#include "desk_startup.h"
#include "desk_texts.h"
#include "platform/win32_owners.h"
#include "record_bridge.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace kn::desk;
  int count = 0;
  const kn::LocalBlock<LPWSTR*> argv(CommandLineToArgvW(GetCommandLineW(), &count));
  std::vector<std::wstring> args;
  for (int i = 1; argv && i < count; ++i) args.emplace_back(argv.get()[i]);
  UseDeskLanguage(SystemDeskLanguage());
  DeskOptions options;
  std::wstring error;
  if (!ParseDeskOptions(args, options, error)) {
    const std::string text = Narrow(error) + "\n\n" + Say(Text::kUsage);
    if (!WriteToStarter(text, StdStream::kError)) ShowInColumns(Say(Text::kTitle), text);
    return kExitUsage;
  }
  if (options.help) {
    if (!WriteToStarter(Say(Text::kUsage), StdStream::kOutput))
      ShowInColumns(Say(Text::kTitle), Say(Text::kUsage));
    return kExitDone;
  }
  return RunDesk(options);
}
