// Turning a link's command into what the shell is asked to open, and the
// message shown when the shell refuses it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kn {

// What ShellExecuteA receives; an empty member is passed as an empty string.
struct LaunchTriple {
  std::string program;
  std::string parameters;        // each further item followed by one blank
  std::string workingDirectory;  // program through its last real '\' or ':'
};

// Splits the command into items (blanks or commas separate them, double
// quotes enclose an item that holds either): the first item is the program,
// the rest are the parameters. The command ends at its first 0 byte, as the
// C string it stands for does. nullopt when the command holds no item.
std::optional<LaunchTriple> BuildLaunchTriple(std::string_view command);

// The launch-failure message, in code page 932, whole however long the
// triple's members are.
std::string FormatLaunchFailure(const LaunchTriple& triple);

// The longest prefix of text that fits in maxBytes bytes and does not end
// inside a double-byte character. maxBytes <= 0 gives the empty text.
std::string CutAtCharBoundary(std::string_view text, std::ptrdiff_t maxBytes);

}  // namespace kn
