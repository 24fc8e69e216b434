// The substitute host's command line.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kn::host {

enum class HostCommand { kHelp, kRender, kInfo };

struct HostOptions {
  HostCommand command = HostCommand::kHelp;
  std::wstring memoPath;
  std::wstring outPath;
  std::wstring dllPath;  // empty: kaleidonote.dll beside the program
  bool utf8 = false;
  std::optional<SIZE> outerSize;  // the window's outer size; else the chip proposes it
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF backColor = RGB(255, 255, 200);  // a pale yellow note
  std::wstring face;                       // empty: the default Japanese face
  LONG fontHeight = -12;
  bool bold = false;
  bool board = false;
  bool scroll = false;
  std::optional<std::int32_t> linkColor;  // a link colour id

  // A mode option asks for a saved block; without one the chip gets none.
  bool WantsSaveBlock() const { return board || scroll || linkColor.has_value(); }
};

// Parses the arguments after the program name. On failure returns false and
// says why in `error`.
bool ParseHostOptions(const std::vector<std::wstring>& args, HostOptions& options,
                      std::string& error);

// The text of `kn-host --help`.
const char* HostUsage();

}  // namespace kn::host
