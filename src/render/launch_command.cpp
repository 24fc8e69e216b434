#include "render/launch_command.h"

#include "markup/line_list.h"
#include "markup/sjis_string.h"

namespace kn {
namespace {

// "実行できませんでした。" ("could not be run.")
constexpr std::string_view kCouldNotRun =
    "\x8E\xC0\x8D\x73\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81\x42";

std::string_view UpToFirstNul(std::string_view text) {
  const std::size_t nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

}  // namespace

std::optional<LaunchTriple> BuildLaunchTriple(std::string_view command) {
  const SjisString trimmed = SjisString(UpToFirstNul(command)).TrimBlanks();
  LineList items;
  items.SplitCommaList(trimmed.View());
  // A titled link with nothing after its '|' yields no item, and a command
  // that starts with a comma or "" yields an empty first item: either way
  // there is no program, so the click launches nothing and shows nothing, as
  // a click on an empty line would. The shell is never asked to open an
  // empty name (with a working folder it could open that folder instead).
  if (items.Count() == 0 || items.LineAt(0).View().empty()) return std::nullopt;

  LaunchTriple triple;
  const SjisString& program = items.LineAt(0);
  triple.program = program.Bytes();
  for (int i = 1; i < items.Count(); ++i) {
    triple.parameters += items.LineAt(i).View();
    triple.parameters += ' ';
  }
  // A '\' that is the second byte of a kanji is not a separator.
  const int separator = program.LastIndexOfAny("\\:");
  triple.workingDirectory = program.Slice(1, separator).Bytes();
  return triple;
}

std::string FormatLaunchFailure(const LaunchTriple& triple) {
  std::string message;
  message.reserve(kCouldNotRun.size() + 32 + triple.program.size() + triple.parameters.size() +
                  triple.workingDirectory.size());
  message += kCouldNotRun;
  message += "\n\nExec:";
  message += triple.program;
  message += "\nParams:";
  message += triple.parameters;
  message += "\nWorkDir:";
  message += triple.workingDirectory;
  return message;
}

std::string CutAtCharBoundary(std::string_view text, std::ptrdiff_t maxBytes) {
  if (maxBytes <= 0) return {};
  const auto limit = static_cast<std::size_t>(maxBytes);
  if (text.size() <= limit) return std::string(text);
  std::size_t end = 0;  // end of the last whole character that fits
  while (end < text.size()) {
    const auto b = static_cast<unsigned char>(text[end]);
    const std::size_t width = IsLeadValue(b) && end + 1 < text.size() ? 2 : 1;
    if (end + width > limit) break;
    end += width;
  }
  return std::string(text.substr(0, end));
}

}  // namespace kn
