// The explainer's command line, its reports and their way to the terminal,
// and a whole run over the example memo.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "explain/encoding_check.h"
#include "explain/explain_options.h"
#include "explain/explain_run.h"
#include "explain/line_explanation.h"
#include "explain/report_writer.h"
#include "explain/terminal_text.h"
#include "fake_file_system.h"
#include "system/clock.h"
#include "markup/civil_date.h"
#include "platform/std_file_system.h"

namespace kn::explain {
namespace {

const BrokenDownTime kNoon = MakeLocalTime(2000, 12, 25, 12, 0, 0);

struct ArgumentCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* error;  // nullptr: accepted
};

const ArgumentCase kArguments[] = {
    {"one memo", {"memo.txt"}, nullptr},
    {"standard input", {"-"}, nullptr},
    {"help alone", {"--help"}, nullptr},
    {"no file", {"--board"}, "no file given"},
    {"unknown option", {"--colour", "x"}, "unknown option --colour"},
    {"day missing", {"m", "--today"}, "--today needs a day as YYYYMMDD or YYYYMMDDHHMMSS"},
    {"day too short", {"--today", "2000123", "m"}, "--today needs a day as YYYYMMDD or YYYYMMDDHHMMSS"},
    {"no such day", {"--today", "20010229", "m"}, "--today needs a day as YYYYMMDD or YYYYMMDDHHMMSS"},
    {"no such time", {"--today", "20001225246000", "m"}, "--today needs a day as YYYYMMDD or YYYYMMDDHHMMSS"},
    {"height not a number", {"--height", "big", "m"}, "--height needs a whole number"},
};

TEST(ExplainOptions, Arguments) {
  for (const ArgumentCase& c : kArguments) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ParseArguments(c.arguments).error, c.error ? c.error : "");
  }
}

TEST(ExplainOptions, Values) {
  const Options o =
      ParseArguments({"--board", "--today", "20000229", "--hex", "--height", "16", "a", "--", "--raw"}).options;
  EXPECT_TRUE(o.board);
  EXPECT_EQ(o.encoding, OutputEncoding::kHex);
  EXPECT_EQ(o.baseHeight, 16);
  EXPECT_EQ(o.files, (std::vector<std::string>{"a", "--raw"}));
  ASSERT_TRUE(o.today.has_value());
  EXPECT_EQ(o.today->day, 29);
  EXPECT_FALSE(o.today->hour.has_value());

  // The day replaces the date; the time of day stays unless given.
  const BrokenDownTime t = EvaluationTime(o.today, MakeLocalTime(2024, 5, 1, 7, 8, 9));
  EXPECT_EQ(t.year, 100);
  EXPECT_EQ(t.mon, 1);
  EXPECT_EQ(t.mday, 29);
  EXPECT_EQ(t.wday, 2);  // a Tuesday
  EXPECT_EQ(t.hour, 7);
  EXPECT_EQ(t.sec, 9);
  const BrokenDownTime exact = EvaluationTime(ParseDay("20001225235958"), t);
  EXPECT_EQ(exact.hour, 23);
  EXPECT_EQ(exact.min, 59);
  EXPECT_EQ(exact.sec, 58);
}

TEST(ExplainReport, RowsOfALine) {
  const FixedClock clock(kNoon);
  const ExplainSettings settings = DefaultSettings();
  const LineExplanation e = ExplainLine("#c\x90\xD4" "b+2|\x82\xA0\x82\xC6%!20001231-3%", 4, settings, clock);
  const std::string expected =
      "line 4: \"#c\x90\xD4" "b+2|\x82\xA0\x82\xC6%!20001231-3%\"\n"
      "  prefix: bytes 1-8, ended by the '|' at byte 8; alignment left ('#')\n"
      "  colour: FF0000 (\x90\xD4, colour table), from \"c\x90\xD4\" at byte 2\n"
      "  weight: 700 (bold), from 'b' at byte 5\n"
      "  height: -12 -> -16, from '+2' at byte 6\n"
      "  countdown \"%!20001231-3%\": ASCII digits, date 2000-12-31, offset \"-3\" (threshold 3)\n"
      "    day count 6 on 2000-12-25, shown as \"6\"\n"
      "    the prefix colour FF0000 shows from 2000-12-28 on (count <= 3); today the line keeps the text colour\n"
      "  draws: \"\x82\xA0\x82\xC6" "6\"\n";
  EXPECT_EQ(DescribeLine(e, settings, kNoon), expected);
}

TEST(ExplainReport, LinkRowsAndNotes) {
  const FixedClock clock(kNoon);
  const ExplainSettings settings = DefaultSettings();
  const std::string text =
      DescribeLine(ExplainLine("C:\\Program Files\\x.exe", 1, settings, clock), settings, kNoon);
  EXPECT_NE(text.find("  link: drive path, shows \"C:\\Program Files\\x.exe\", underlined, in the link colour\n"),
            std::string::npos);
  EXPECT_NE(text.find("    click opens: program \"C:\\Program\", parameters \"Files\\x.exe \", working directory "
                      "\"C:\\\"\n"),
            std::string::npos);
  EXPECT_NE(text.find("  note: blanks or commas split the command"), std::string::npos);

  const std::string none = DescribeLine(ExplainLine("!=Title", 1, settings, clock), settings, kNoon);
  EXPECT_NE(none.find("    click: nothing to launch"), std::string::npos);
}

TEST(ExplainTerminal, QuotingAndEncodings) {
  EXPECT_EQ(Quote("a\x1B[0m\x7F\tb"), "\"a\\x1B[0m\\x7F\\x09b\"");
  EXPECT_EQ(HexBytes("\x83\x7C"), "83 7C");
  Cp932Decoder decoder;
  const std::string report = "x \"\x82\xA0\"\n";  // あ
  EXPECT_EQ(EncodeForTerminal(report, OutputEncoding::kRaw, decoder), report);
  EXPECT_EQ(EncodeForTerminal(report, OutputEncoding::kHex, decoder), "x \"\\x82\\xA0\"\n");
  if (!decoder.Available()) GTEST_SKIP() << "no code page 932 converter on this system";
  EXPECT_EQ(EncodeForTerminal(report, OutputEncoding::kUtf8, decoder), "x \"\xE3\x81\x82\"\n");
  // Half-width katakana ｱ, ポ whose second byte is '|', a lone lead byte last.
  EXPECT_EQ(EncodeForTerminal("\xB1\x83\x7C\x82", OutputEncoding::kUtf8, decoder),
            "\xEF\xBD\xB1\xE3\x83\x9D\\x82");
  // A lead byte before a byte that cannot follow it: both are read alone.
  EXPECT_EQ(EncodeForTerminal("\x83\x0A", OutputEncoding::kUtf8, decoder), "\\x83\n");
}

TEST(ExplainRun, MemoAndBoardRuns) {
  FakeFileSystem files;
  files.AddFile("board.txt", "#b|news\n", MakeSystemTime(2026, 12, 7, 1, 9, 5, 3));
  const std::map<std::string, std::string> sources = {
      {"memo.txt", std::string("#|a\r\nb\0hidden", 13)}, {"list.txt", "board.txt\nnone.txt\n"}};
  const SourceReader read = [&sources](const std::string& name) -> std::optional<std::string> {
    const auto it = sources.find(name);
    if (it == sources.end()) return std::nullopt;
    return it->second;
  };

  Options memo;
  memo.files = {"memo.txt", "gone.txt"};
  const RunResult m = RunExplainer(memo, files, read, kNoon);
  EXPECT_EQ(m.status, 1);
  EXPECT_EQ(m.errors, "kn-explain: cannot read gone.txt\n");
  EXPECT_NE(m.report.find("the memo ends at its first 0 byte (line 2)"), std::string::npos);
  EXPECT_NE(m.report.find("line 2: \"b\"\n"), std::string::npos);
  EXPECT_EQ(m.report.find("hidden"), std::string::npos);

  Options board;
  board.board = true;
  board.files = {"list.txt"};
  const RunResult b = RunExplainer(board, files, read, kNoon);
  EXPECT_EQ(b.status, 0);
  EXPECT_NE(b.report.find("board list line 2: \"none.txt\"\n  not found"), std::string::npos);
  EXPECT_NE(b.report.find("newest listed file: 2026-12-07 09:05:03"), std::string::npos);
  EXPECT_NE(b.report.find("line 1: \"#b|news\"\n"), std::string::npos);
  EXPECT_NE(b.report.find("link: scheme \"news\""), std::string::npos);
}

// The example memo shipped with the plug-in, when the tree has it.
std::optional<std::string> ReadExample(const char* name) {
  std::string path = __FILE__;
  const std::size_t tests = path.rfind("tests");
  if (tests == std::string::npos) return std::nullopt;
  path = path.substr(0, tests) + "examples/" + name;
  StdFileSystem files;
  return ReadThrough(files, path);
}

TEST(ExplainExample, WelcomeMemo) {
  const std::optional<std::string> memo = ReadExample("welcome.txt");
  if (!memo) GTEST_SKIP() << "examples/welcome.txt is not there";
  EXPECT_TRUE(CheckEncoding(*memo).Clean());
  const FixedClock clock(kNoon);
  const std::vector<LineExplanation> lines = ExplainText(*memo, DefaultSettings(), clock);
  ASSERT_FALSE(lines.empty());

  // "$c紺b+6|..." opens the memo: centred, navy, bold, six steps larger.
  const LineExplanation& title = lines.front();
  EXPECT_TRUE(title.prefix.found);
  EXPECT_EQ(title.prefix.lead, '$');
  EXPECT_EQ(title.prefix.barPosition, 8);
  EXPECT_EQ(title.prefix.color.nameIndex, 3);
  EXPECT_EQ(title.prefix.bold.position, 5);
  EXPECT_EQ(title.markupFormat.font.lfHeight, -24);
  EXPECT_EQ(title.markupFormat.alignment, kAlignCenter);

  int links = 0;
  int countdowns = 0;
  for (const LineExplanation& line : lines) {
    SCOPED_TRACE(line.number);
    if (line.link.launch) ++links;
    if (line.countdown.state == CountdownState::kExpanded) {
      ++countdowns;
      EXPECT_TRUE(line.countdown.hasFirstColorDay);
    }
  }
  EXPECT_GT(links, 0);
  EXPECT_GT(countdowns, 0);
}

TEST(ExplainExample, Utf8CopyIsCalledOut) {
  const std::optional<std::string> memo = ReadExample("welcome.utf8.txt");
  if (!memo) GTEST_SKIP() << "examples/welcome.utf8.txt is not there";
  const EncodingReport report = CheckEncoding(*memo);
  EXPECT_TRUE(report.utf8);
  EXPECT_EQ(report.utf8FirstLine, 1);
}

}  // namespace
}  // namespace kn::explain
