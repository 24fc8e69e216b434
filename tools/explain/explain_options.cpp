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

std::string HelpText(Language language) {
  if (language == Language::kJapanese) {
    return "\x8E\x67\x82\xA2\x95\xFB: kn-explain [\x83\x49\x83\x76\x83\x56\x83\x87\x83\x93] \x83\x74\x83\x40\x83\x43"
           "\x83\x8B...\n\n\x82\xA9\x82\xEA\x82\xA2\x82\xC7\x92\xA0\x82\xCC\x83\x81\x83\x82\x82\xF0\x93\xC7\x82\xDD"
           "\x81\x41\x83\x60\x83\x62\x83\x76\x82\xAA\x82\xC7\x82\xA4\x93\xC7\x82\xDE\x82\xA9\x82\xF0" "1\x8D\x73"
           "\x82\xB8\x82\xC2\x90\xE0\x96\xBE\x82\xB5\x82\xDC\x82\xB7\x81\x42\x8F\x91\x8E\xAE\x82\xAA\x82\xC7\x82\xB1"
           "\x82\xDC\x82\xC5\x82\xA9\x81\x41\n\x82\xBB\x82\xEA\x82\xBC\x82\xEA\x82\xCC\x95\xB6\x8E\x9A\x82\xC5\x89\xBD"
           "\x82\xAA\x90\xDD\x92\xE8\x82\xB3\x82\xEA\x82\xE9\x82\xA9\x81\x69\x94\x7A\x92\x75\x81\x41\x90\x46\x81\x41"
           "\x8F\x91\x91\xCC\x82\xC6\x95\xB6\x8E\x9A\x83\x5A\x83\x62\x83\x67\x81\x41\x91\xBE\x8E\x9A\x81\x41\x8E\xCE"
           "\x91\xCC\x81\x41\x8E\xE6\x82\xE8\x8F\xC1\x82\xB5\x90\xFC\x81\x41\n\x89\xBA\x90\xFC\x81\x41\x8D\x82\x82\xB3"
           "\x81\x6A\x81\x41\x93\xFA\x95\x74\x81\x45\x8E\x9E\x8D\x8F\x81\x45\x83\x4A\x83\x45\x83\x93\x83\x67\x83\x5F"
           "\x83\x45\x83\x93\x82\xCC\x92\x6C\x81\x41\x83\x8A\x83\x93\x83\x4E\x82\xC6\x83\x4E\x83\x8A\x83\x62\x83\x4E"
           "\x82\xC5\x8A\x4A\x82\xAD\x82\xE0\x82\xCC\x81\x41\x8D\xC5\x8C\xE3\x82\xC9\x95\x5C\x8E\xA6\n\x82\xB3\x82\xEA"
           "\x82\xE9\x95\xB6\x8E\x9A\x81\x41\x82\xBB\x82\xB5\x82\xC4\x8F\x91\x82\xAB\x8A\xD4\x88\xE1\x82\xA2\x82\xE7"
           "\x82\xB5\x82\xA2\x82\xC6\x82\xB1\x82\xEB\x82\xC6\x82\xBB\x82\xCC\x92\xBC\x82\xB5\x95\xFB\x82\xC5\x82\xB7"
           "\x81\x42\x83\x76\x83\x89\x83\x4F\x83\x43\x83\x93\x82\xC6\x93\xAF\x82\xB6\x83\x52\x81\x5B\x83\x68\x82\xC5\n"
           "\x93\xC7\x82\xDD\x82\xDC\x82\xB7\x81\x42\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xC9 - \x82\xF0\x8E\x77\x92\xE8"
           "\x82\xB7\x82\xE9\x82\xC6\x95\x57\x8F\x80\x93\xFC\x97\xCD\x82\xF0\x93\xC7\x82\xDD\x82\xDC\x82\xB7\x81\x42"
           "\x83\x81\x83\x82\x82\xCD\x8D\xC5\x8F\x89\x82\xCC\x92\x6C 0 \x82\xCC\x83\x6F\x83\x43\x83\x67\n\x81\x69NUL"
           "\x81\x6A\x82\xC5\x8F\x49\x82\xED\x82\xE8\x82\xDC\x82\xB7\x81\x42\n\n\x83\x49\x83\x76\x83\x56\x83\x87"
           "\x83\x93:\n  --board        \x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCD\x8C\x66\x8E\xA6\x94\xC2\x82\xCC"
           "\x88\xEA\x97\x97\x82\xC5\x82\xB7\x81\x42\x88\xEA\x97\x97\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xB2"
           "\x82\xC6\x82\xC9\x81\x41\x82\xA0\x82\xE9\x82\xA9\x81\x41\x93\xC7\x82\xDF\x82\xE9\x82\xA9\x81\x41\n         "
           "        \x82\xC7\x82\xCC\x93\xFA\x8E\x9E\x82\xF0\x93\x57\x8A\x4A\x82\xB7\x82\xE9\x82\xA9\x81\x41\x95\xB6"
           "\x8E\x9A\x83\x52\x81\x5B\x83\x68\x81\x69" "BOM\x81\x41UTF-8\x81\x41\x95\x73\x90\xB3\x82\xC8\x83\x6F\x83\x43"
           "\x83\x67\x82\xC6\x8D\x73\x94\xD4\x8D\x86\x81\x6A\x82\xF0\n                 \x92\xB2\x82\xD7\x81\x41\x83\x60"
           "\x83\x62\x83\x76\x82\xAA\x95\x5C\x8E\xA6\x82\xB7\x82\xE9\x8C\x66\x8E\xA6\x94\xC2\x82\xF0\x90\xE0\x96\xBE"
           "\x82\xB5\x82\xDC\x82\xB7\x81\x42\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC\x82\xCD\x8D\xA1\x82\xA2\x82\xE9"
           "\x83\x74\x83\x48\x83\x8B\x83\x5F\x81\x5B\n                 \x82\xF0\x8A\xEE\x8F\x80\x82\xC9\x92\x54\x82\xB5"
           "\x82\xDC\x82\xB7\x81\x69\x83\x60\x83\x62\x83\x76\x82\xCD\x83\x7A\x83\x58\x83\x67\x82\xCC\x83\x74\x83\x48"
           "\x83\x8B\x83\x5F\x81\x5B\x82\xF0\x8A\xEE\x8F\x80\x82\xC9\x82\xB5\x82\xDC\x82\xB7\x81\x6A\x81\x42\n  --utf8 "
           "        \x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCD UTF-8 \x82\xC5\x82\xB7\x81\x42\x83\x7A\x83\x58\x83\x67"
           "\x82\xC6\x93\xAF\x82\xB6\x82\xAD\x83\x56\x83\x74\x83\x67JIS\x81\x69\x83\x52\x81\x5B\x83\x68\x83\x79\x81\x5B"
           "\x83\x57 932\x81\x6A\x82\xC9\n                 \x95\xCF\x8A\xB7\x82\xB5\x82\xC4\x93\xC7\x82\xDD\x82\xDC"
           "\x82\xB7\x81\x69\x83\x56\x83\x74\x83\x67JIS \x82\xC9\x82\xC8\x82\xA2\x95\xB6\x8E\x9A\x82\xCD \x81\xAC "
           "\x82\xC9\x82\xC8\x82\xE8\x81\x41\x82\xBB\x82\xCC\x8D\x73\x82\xF0\x8E\xA6\x82\xB5\x82\xDC\x82\xB7\x81\x6A"
           "\x81\x42\n  --today \x93\xFA\x8E\x9E   \x8E\x77\x92\xE8\x82\xB5\x82\xBD\x93\xFA\x8E\x9E\x82\xF0\x8C\xBB"
           "\x8D\xDD\x82\xC6\x82\xB5\x82\xC4\x93\xFA\x95\x74\x82\xC6\x83\x4A\x83\x45\x83\x93\x83\x67\x83\x5F\x83\x45"
           "\x83\x93\x82\xF0\x93\xC7\x82\xDD\x82\xDC\x82\xB7\x81\x42YYYYMMDD\n                 \x81\x69\x8E\x9E\x8D\x8F"
           "\x82\xCD\x8D\xA1\x81\x6A\x82\xA9 YYYYMMDDHHMMSS \x82\xC5\x8E\x77\x92\xE8\x82\xB5\x82\xDC\x82\xB7\x81\x42\n "
           " --font-height N  \x83\x60\x83\x62\x83\x76\x82\xCC\x8A\xEE\x96\x7B\x82\xCC\x83\x74\x83\x48\x83\x93\x83\x67"
           "\x82\xCC\x8D\x82\x82\xB3\x81\x69\x8A\xF9\x92\xE8\x82\xCD -12\x81\x42+ \x82\xC6 - \x82\xCC\x91\xE5\x82\xAB"
           "\x82\xB3\x82\xCD\x95\x84\x8D\x86\x82\xC5\n                 \x95\xCF\x82\xED\x82\xE8\x82\xDC\x82\xB7\x81\x6A"
           "\x81\x42--height \x82\xE0\x93\xAF\x82\xB6\x82\xC5\x82\xB7\x81\x42\n  --raw          \x83\x81\x83\x82"
           "\x82\xCC\x95\xB6\x8E\x9A\x82\xF0\x83\x56\x83\x74\x83\x67JIS \x82\xCC\x82\xDC\x82\xDC\x8F\x6F\x97\xCD"
           "\x82\xB5\x82\xDC\x82\xB7\x81\x69\x93\xFA\x96\x7B\x8C\xEA\x82\xCC Windows \x82\xCC\x83\x52\x83\x93\x83\x5C"
           "\x81\x5B\x83\x8B\x97\x70\x81\x6A\x81\x42\n  --hex          0x80 \x88\xC8\x8F\xE3\x82\xCC\x83\x6F\x83\x43"
           "\x83\x67\x82\xF0\x82\xB7\x82\xD7\x82\xC4 \\xNN \x82\xC5\x8F\x6F\x97\xCD\x82\xB5\x82\xDC\x82\xB7\x81\x42\n  "
           "--help         \x82\xB1\x82\xCC\x90\xE0\x96\xBE\x82\xF0\x95\x5C\x8E\xA6\x82\xB5\x82\xDC\x82\xB7\x81\x42\n\n"
           "\x83\x81\x83\x82\x82\xCC\x95\xB6\x8E\x9A\x82\xCD \" \x82\xC5\x88\xCD\x82\xF1\x82\xC5\x8E\xA6\x82\xB5"
           "\x82\xDC\x82\xB7\x81\x42\x83\x6F\x83\x43\x83\x67\x82\xCC\x88\xCA\x92\x75\x82\xCD\x8D\x73\x82\xCC\x8D\xC5"
           "\x8F\x89\x82\xCC\x83\x6F\x83\x43\x83\x67\x82\xF0 1 \x82\xC6\x90\x94\x82\xA6\x82\xDC\x82\xB7\x81\x42\n\n"
           "\x8F\x49\x97\xB9\x83\x52\x81\x5B\x83\x68: 0 \x8A\xAE\x97\xB9\x81\x41" "1 \x93\xC7\x82\xDF\x82\xC8\x82\xA2"
           "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA\x82\xA0\x82\xC1\x82\xBD\x81\x41" "2 \x88\xF8\x90\x94\x82\xCC"
           "\x8C\xEB\x82\xE8\x81\x42\n"
           /* 使い方: kn-explain [オプション] ファイル...\n\nかれいど帳のメモを読み、チップがどう読むかを1行ずつ説明します。書式がどこまでか、\nそれぞれの文字で何が設定されるか（配置、色、書体と文字セット、太字、斜体、取り消し線、\n下線、高さ）、日付・時刻・カウントダウンの値、リンクとクリックで開くもの、最後に表示\nされる文字、そして書き間違いらしいところとその直し方です。プラグインと同じコードで\n読みます。ファイルに - を指定すると標準入力を読みます。メモは最初の値 0 のバイト\n（NUL）で終わります。\n\nオプション:\n  --board        ファイルは掲示板の一覧です。一覧のファイルごとに、あるか、読めるか、\n                 どの日時を展開するか、文字コード（BOM、UTF-8、不正なバイトと行番号）を\n                 調べ、チップが表示する掲示板を説明します。ファイル名は今いるフォルダー\n                 を基準に探します（チップはホストのフォルダーを基準にします）。\n  --utf8         ファイルは UTF-8 です。ホストと同じくシフトJIS（コードページ 932）に\n                 変換して読みます（シフトJIS にない文字は 〓 になり、その行を示します）。\n  --today 日時   指定した日時を現在として日付とカウントダウンを読みます。YYYYMMDD\n                 （時刻は今）か YYYYMMDDHHMMSS で指定します。\n  --font-height N  チップの基本のフォントの高さ（既定は -12。+ と - の大きさは符号で\n                 変わります）。--height も同じです。\n  --raw          メモの文字をシフトJIS のまま出力します（日本語の Windows のコンソール用）。\n  --hex          0x80 以上のバイトをすべて \xNN で出力します。\n  --help         この説明を表示します。\n\nメモの文字は " で囲んで示します。バイトの位置は行の最初のバイトを 1 と数えます。\n\n終了コード: 0 完了、1 読めないファイルがあった、2 引数の誤り。\n */;
  }
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
