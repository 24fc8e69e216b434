#include "desk_options.h"

#include "desk_texts.h"
#include "record_bridge.h"

namespace kn::desk {
namespace {

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
      error = Widen(Say(Text::kUnknownArgument, {Narrow(arg)}));
      return false;
    }
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      error = Widen(Say(Text::kNeedsFileName, {Narrow(arg)}));
      return false;
    }
    *target = args[++i];
  }
  return true;
}

}  // namespace kn::desk
