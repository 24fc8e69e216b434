// The command line of kn-explain, kept small: a few explicit options and
// the files to read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "explain/explain_language.h"
#include "explain/terminal_text.h"
#include "system/types.h"

namespace kn::explain {

struct ExplainDay {
  int year = 0, month = 0, day = 0;
  std::optional<int> hour, minute, second;  // all three or none
};

struct Options {
  bool help = false;
  bool board = false;
  bool utf8 = false;  // the files are UTF-8, to be read as the host would keep them
  OutputEncoding encoding = OutputEncoding::kUtf8;
  Language language = Language::kEnglish;  // of the report's words; the program sets the system's
  std::optional<ExplainDay> today;
  std::int32_t baseHeight = -12;
  std::vector<std::string> files;  // "-" is standard input
};

struct ParsedArguments {
  Options options;
  std::string error;  // empty when the arguments are fine
};

// `arguments` without the program name.
ParsedArguments ParseArguments(const std::vector<std::string>& arguments);

// YYYYMMDD or YYYYMMDDHHMMSS, a real calendar day and time; nullopt otherwise.
std::optional<ExplainDay> ParseDay(const std::string& text);

// The local time the explanation is made for: the given day, at the given
// time of day or else at the time of day of `now`.
BrokenDownTime EvaluationTime(const std::optional<ExplainDay>& today, const BrokenDownTime& now);

std::string HelpText(Language language = Language::kEnglish);

}  // namespace kn::explain
