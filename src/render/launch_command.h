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
  // Each further item followed by one blank; an item that holds a blank or
  // a double quote is written in double quotes, so that the program reads
  // it back as one argument.
  std::string parameters;
  std::string workingDirectory;  // program through its last real '\' or ':'
};

// Splits the command into items (blanks or commas separate them, double
// quotes enclose an item that holds either): the first item is the program,
// the rest are the parameters. The command ends at its first 0 byte, as the
// C string it stands for does. nullopt when the command holds no item.
std::optional<LaunchTriple> BuildLaunchTriple(std::string_view command);

// The longest names the shell is given, as Windows documents them: a URL of
// INTERNET_MAX_URL_LENGTH less its NUL, a path of MAX_PATH less its NUL,
// and a parameter string of a process's whole command line (32,767).
constexpr std::size_t kMaxUrlLength = 2083;
constexpr std::size_t kMaxPathLength = 259;
constexpr std::size_t kMaxParametersLength = 32767;

// False when the shell would be handed more than it takes: a program longer
// than a URL (when it begins with a scheme such as "http:") or a path may
// be, or longer parameters. Such a launch is refused like one the shell
// could not start.
bool FitsTheShell(const LaunchTriple& triple);

// The launch-failure message, in code page 932, whole however long the
// triple's members are.
std::string FormatLaunchFailure(const LaunchTriple& triple);

// The message as the failure box shows it: whole up to kMaxLaunchFailureLength
// bytes, cut there (never inside a double-byte character), so that a refused
// parameter string of 32 KB does not make a box of 32 KB.
constexpr std::ptrdiff_t kMaxLaunchFailureLength = 4095;
std::string LaunchFailureMessage(const LaunchTriple& triple);

// The longest prefix of text that fits in maxBytes bytes and does not end
// inside a double-byte character. maxBytes <= 0 gives the empty text.
std::string CutAtCharBoundary(std::string_view text, std::ptrdiff_t maxBytes);

}  // namespace kn
