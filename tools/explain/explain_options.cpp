#include "explain/explain_options.h"

#include "markup/civil_date.h"
#include "system/clock.h"
#include "markup/text_convert.h"

namespace kn::explain {
namespace {

bool AllDigits(const std::string& text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return !text.empty();
}

int Digits(const std::string& text, std::size_t at, std::size_t count) {
  return LeadingInteger(std::string_view(text).substr(at, count));
}

// A day that exists: the calendar does not move it.
bool IsRealDay(int year, int month, int day) {
  if (year < 1 || month < 1 || month > 12 || day < 1) return false;
  const CivilDate date = CivilFromDays(DaysFromCivil(year, month, day));
  return date.year == year && date.month == month && date.day == day;
}

}  // namespace

std::optional<ExplainDay> ParseDay(const std::string& text) {
  if (!AllDigits(text) || (text.size() != 8 && text.size() != 14)) return std::nullopt;
  ExplainDay day;
  day.year = Digits(text, 0, 4);
  day.month = Digits(text, 4, 2);
  day.day = Digits(text, 6, 2);
  if (!IsRealDay(day.year, day.month, day.day)) return std::nullopt;
  if (text.size() == 14) {
    day.hour = Digits(text, 8, 2);
    day.minute = Digits(text, 10, 2);
    day.second = Digits(text, 12, 2);
    if (*day.hour > 23 || *day.minute > 59 || *day.second > 59) return std::nullopt;
  }
  return day;
}

BrokenDownTime EvaluationTime(const std::optional<ExplainDay>& today, const BrokenDownTime& now) {
  if (!today) return now;
  return MakeLocalTime(today->year, today->month, today->day, today->hour.value_or(now.hour),
                       today->minute.value_or(now.min), today->second.value_or(now.sec));
}

ParsedArguments ParseArguments(const std::vector<std::string>& arguments) {
  ParsedArguments parsed;
  Options& o = parsed.options;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (optionsEnded || a == "-" || a.empty() || a[0] != '-') {
      o.files.push_back(a);
    } else if (a == "--") {
      optionsEnded = true;
    } else if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--board") {
      o.board = true;
    } else if (a == "--utf8") {
      o.utf8 = true;
    } else if (a == "--raw") {
      o.encoding = OutputEncoding::kRaw;
    } else if (a == "--hex") {
      o.encoding = OutputEncoding::kHex;
    } else if (a == "--today") {
      o.today = hasValue ? ParseDay(arguments[++i]) : std::nullopt;
      if (!o.today) parsed.error = "--today needs a day as YYYYMMDD or YYYYMMDDHHMMSS";
    } else if (a == "--font-height" || a == "--height") {
      const std::optional<std::int32_t> height = hasValue ? ParseInteger(arguments[++i]) : std::nullopt;
      if (height) {
        o.baseHeight = *height;
      } else {
        parsed.error = a + " needs a whole number";
      }
    } else {
      parsed.error = "unknown option " + a;
    }
    if (!parsed.error.empty()) return parsed;
  }
  if (!o.help && o.files.empty()) parsed.error = "no file given";
  return parsed;
}

std::string HelpText() {
  return
      "usage: kn-explain [options] FILE...\n"
      "\n"
      "Reads a Kaleidonote memo and tells, line by line, how the chip reads it:\n"
      "where the format prefix ends and what each of its bytes sets (alignment,\n"
      "colour, face and charset, bold, italic, strike-out, underline, height), the\n"
      "date, time and countdown fields with their values, the link a line makes and\n"
      "what a click on it launches, the text finally drawn, and notes on readings\n"
      "that surprise memo authors. The reading is the plug-in's own code.\n"
      "FILE - reads standard input. The memo ends at its first 0 byte.\n"
      "\n"
      "options:\n"
      "  --board        FILE is a board list: for every name it holds, say whether\n"
      "                 the file exists and can be read, which stamps it expands,\n"
      "                 and whether its bytes are Shift-JIS (byte-order marks,\n"
      "                 UTF-8 text, invalid bytes, with line numbers); then explain\n"
      "                 the board text the chip shows. Names are looked up from the\n"
      "                 current directory, as the chip looks them up from the host's.\n"
      "  --utf8         FILE is UTF-8 (as editors save it), not code page 932 as the\n"
      "                 host keeps memos: it is converted as the host would keep it\n"
      "                 (JIS-style code points such as U+301C become their code page\n"
      "                 932 forms; what Shift-JIS cannot hold becomes U+3013, listed\n"
      "                 with its line). The same option as kn-host's.\n"
      "  --today DAY    evaluate fields and countdowns as if today were DAY, given as\n"
      "                 YYYYMMDD (time of day: now) or YYYYMMDDHHMMSS.\n"
      "  --font-height N  the base font height the chip is given (default -12; the\n"
      "                 sign matters to + and - sizes); kn-host's option of the\n"
      "                 same name. --height is the same.\n"
      "  --raw          print memo text as its code page 932 bytes, for a Japanese\n"
      "                 Windows console (memo text is printed as UTF-8 otherwise; a\n"
      "                 byte that is no character prints as \\xNN).\n"
      "  --hex          print every byte from 0x80 up as \\xNN: plain ASCII output.\n"
      "  --help         this text.\n"
      "\n"
      "Memo text is quoted in double quotes; control bytes in it print as \\xNN.\n"
      "Byte positions count from 1 at the line's first byte. The base font is a\n"
      "Shift-JIS font of weight 400 without a face, the text colour 000000.\n"
      "Neither option changes how the chip reads anything.\n"
      "\n"
      "exit status: 0 done, 1 a file could not be read, 2 wrong arguments.\n";
}

}  // namespace kn::explain
