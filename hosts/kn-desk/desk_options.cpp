#include "desk_options.h"

namespace kn::desk {
namespace {

const wchar_t kUsage[] =
    L"kn-desk: Kaleidonote chips on the desktop.\n"
    L"\n"
    L"Usage: kn-desk [--settings FILE] [--dll FILE]\n"
    L"\n"
    L"  --settings FILE  the settings file (default: Kaleidonote\\desk-settings.txt\n"
    L"                   in the user's application data folder)\n"
    L"  --dll FILE       the plug-in (default: kaleidonote.dll beside kn-desk)\n"
    L"  --help           this text\n"
    L"\n"
    L"Right-click a chip for its menu; drag a chip to move it.";

bool IsHelp(const std::wstring& arg) { return arg == L"--help" || arg == L"-h" || arg == L"/?"; }

}  // namespace

bool ParseDeskOptions(const std::vector<std::wstring>& args, DeskOptions& options,
                      std::wstring& error) {
  options = DeskOptions{};
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (IsHelp(arg)) {
      options.help = true;
      continue;
    }
    std::wstring* target = arg == L"--settings" ? &options.settingsPath
                           : arg == L"--dll"    ? &options.dllPath
                                                : nullptr;
    if (!target) {
      error = L"unknown argument " + arg;
      return false;
    }
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      error = arg + L" needs a file name";
      return false;
    }
    *target = args[++i];
  }
  return true;
}

const wchar_t* DeskUsage() { return kUsage; }

}  // namespace kn::desk
