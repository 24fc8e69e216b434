// The desktop host's command line. Portable.
#pragma once

#include <string>
#include <vector>

namespace kn::desk {

struct DeskOptions {
  bool help = false;
  std::wstring settingsPath;  // empty: the file in the user's profile
  std::wstring dllPath;       // empty: kaleidonote.dll beside the program
};

// Parses the arguments after the program name. On failure returns false and
// says why in `error`.
bool ParseDeskOptions(const std::vector<std::wstring>& args, DeskOptions& options,
                      std::wstring& error);

}  // namespace kn::desk
