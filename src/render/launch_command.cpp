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

bool NeedsQuotes(std::string_view item) {
  for (const char c : item) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= 0x01 && b <= 0x20) || c == '"') return true;
  }
  return false;
}

// The item in double quotes as Windows programs split their command line
// back into arguments: a quote inside becomes \", and the backslashes
// before it (or before the closing quote) are doubled. The second byte of a
// double-byte character is never taken for a backslash or a quote.
std::string Quoted(std::string_view item) {
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (std::size_t i = 0; i < item.size(); ++i) {
    const char c = item[i];
    if (IsLeadValue(static_cast<unsigned char>(c)) && i + 1 < item.size()) {
      out.append(item.substr(i, 2));
      ++i;
      backslashes = 0;
      continue;
    }
    if (c == '"') {
      out.append(backslashes + 1, '\\');
      backslashes = 0;
    } else {
      backslashes = c == '\\' ? backslashes + 1 : 0;
    }
    out.push_back(c);
  }
  out.append(backslashes, '\\');
  out.push_back('"');
  return out;
}

// A program that begins with a URL scheme: two or more letters, digits,
// '+', '-' or '.', the first a letter, then ':' (one letter and ':' is a
// drive).
bool BeginsWithUrlScheme(std::string_view program) {
  const auto isAlpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (program.empty() || !isAlpha(program[0])) return false;
  std::size_t i = 1;
  while (i < program.size() && (isAlpha(program[i]) || (program[i] >= '0' && program[i] <= '9') ||
                                program[i] == '+' || program[i] == '-' || program[i] == '.')) {
    ++i;
  }
  return i >= 2 && i < program.size() && program[i] == ':';
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
    const std::string_view item = items.LineAt(i).View();
    if (NeedsQuotes(item)) {
      triple.parameters += Quoted(item);
    } else {
      triple.parameters += item;
    }
    triple.parameters += ' ';
  }
  // A '\' that is the second byte of a kanji is not a separator.
  const int separator = program.LastIndexOfAny("\\:");
  triple.workingDirectory = program.Slice(1, separator).Bytes();
  return triple;
}

bool FitsTheShell(const LaunchTriple& triple) {
  const std::size_t programLimit =
      BeginsWithUrlScheme(triple.program) ? kMaxUrlLength : kMaxPathLength;
  return triple.program.size() <= programLimit && triple.parameters.size() <= kMaxParametersLength;
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

std::string LaunchFailureMessage(const LaunchTriple& triple) {
  return CutAtCharBoundary(FormatLaunchFailure(triple), kMaxLaunchFailureLength);
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
