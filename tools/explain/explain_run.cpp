#include "explain/explain_run.h"

#include <memory>

#include "explain/board_check.h"
#include "explain/encoding_check.h"
#include "explain/geta_places.h"
#include "explain/line_explanation.h"
#include "explain/report_writer.h"
#include "explain/terminal_text.h"
#include "system/clock.h"
#include "markup/civil_date.h"
#include "markup/line_list.h"
#include "markup/unicode_to_cp932.h"
#include "platform/system_cp932_encoder.h"

namespace kn::explain {
namespace {

ExplainSettings SettingsOf(const Options& options, bool boardLines) {
  ExplainSettings settings = DefaultSettings();
  settings.baseFont.lfHeight = options.baseHeight;
  settings.boardLines = boardLines;
  return settings;
}

std::string Header(const std::string& title, const Options& options, const BrokenDownTime& when) {
  const ExplainSettings settings = SettingsOf(options, false);
  return title + "\nevaluated on " + TimeText(when) + (options.today ? " (--today)" : "") +
         "; base font height " + std::to_string(settings.baseFont.lfHeight) +
         ", weight 400, charset 128; text colour " + ColorText(settings.textColor) + "\n";
}

void AppendLines(std::string& out, std::string_view text, const ExplainSettings& settings,
                 const BrokenDownTime& when) {
  const FixedClock clock(when);
  LineCursor cursor(text);
  std::string_view line;
  int number = 0;
  while (cursor.Next(line)) {
    out += "\n" + DescribeLine(ExplainLine(line, ++number, settings, clock), settings, when);
  }
}

}  // namespace

std::optional<std::string> ReadThrough(FileSystem& files, const std::string& name) {
  const std::unique_ptr<FileReader> file = files.OpenForReading(name);
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  for (std::size_t n; (n = file->Read(buffer, sizeof buffer)) != 0 && n <= sizeof buffer;) bytes.append(buffer, n);
  return bytes;
}

std::string ExplainMemoReport(const std::string& title, std::string_view memo, const Options& options,
                              const BrokenDownTime& when) {
  std::string out = Header(title, options, when);
  const EncodingReport encoding = CheckEncoding(memo);
  const std::string problems = DescribeEncoding(encoding, "  ");
  out += problems.empty() ? "encoding: Shift-JIS, nothing wrong\n" : "encoding:\n" + problems;
  // The host hands the memo over as a C string.
  const std::size_t nul = memo.find('\0');
  if (nul != std::string_view::npos) {
    out += "the memo ends at its first 0 byte (line " + std::to_string(CountLines(memo.substr(0, nul + 1))) +
           "); the " + std::to_string(memo.size() - nul) + " bytes from there on are not part of it\n";
    memo = memo.substr(0, nul);
  }
  if (memo.empty()) out += "the memo is empty: the chip shows nothing\n";
  AppendLines(out, memo, SettingsOf(options, false), when);
  return out;
}

std::string ExplainBoardReport(const std::string& title, std::string_view list, FileSystem& files,
                               const Options& options, const BrokenDownTime& when) {
  std::string out = Header(title, options, when);
  SystemCp932Encoder encoder;
  const BoardCheck check = CheckBoard(list, files, encoder);
  if (check.entries.empty()) out += "the board list names no file\n";
  for (const BoardEntry& entry : check.entries) out += "\n" + DescribeBoardEntry(entry, options.language);

  const SystemTime& newest = check.newest;
  const std::string& board = check.text;
  out += "\nboard text, as the chip shows it in board mode; newest listed file: ";
  if (newest.wYear == 0) {
    out += "none exists\n";
  } else {
    const BrokenDownTime t = MakeLocalTime(newest.wYear, newest.wMonth, newest.wDay, newest.wHour,
                                           newest.wMinute, newest.wSecond);
    out += TimeText(t) + "\n";
  }
  AppendLines(out, board, SettingsOf(options, true), when);
  return out;
}

namespace {

// A UTF-8 file as the host would keep it: converted to code page 932. The
// header says so and where the conversion had to put 〓.
struct ReadFile {
  std::string bytes;
  std::string header;
};

std::optional<ReadFile> AsTheHostKeepsIt(std::string bytes, const Options& options, std::string& error) {
  if (!options.utf8) return ReadFile{std::move(bytes), {}};
  if (!ScanUtf8(bytes).wellFormed) {
    error = "is not UTF-8 text; without --utf8 it is read as code page 932, as the host keeps memos";
    return std::nullopt;
  }
  SystemCp932Encoder encoder;
  GetaOffsets getas;
  std::string converted(bytes.size() * 2, '\0');
  converted.resize(Utf8ToCp932(bytes, &converted[0], encoder, &getas));
  const std::string places = DescribeGetas(PlaceGetas(converted, getas), "  ");
  std::string header = "read as UTF-8 (--utf8) and converted to code page 932 as the host keeps memos\n";
  if (!places.empty()) header += "conversion:\n" + places;
  return ReadFile{std::move(converted), std::move(header)};
}

}  // namespace

RunResult RunExplainer(const Options& options, FileSystem& files, const SourceReader& read,
                       const BrokenDownTime& now) {
  RunResult result;
  const BrokenDownTime when = EvaluationTime(options.today, now);
  for (const std::string& name : options.files) {
    const std::optional<std::string> bytes = read(name);
    if (!bytes) {
      result.errors += "kn-explain: cannot read " + name + "\n";
      result.status = 1;
      continue;
    }
    const std::string shown = name == "-" ? "standard input" : name;
    std::string error;
    const std::optional<ReadFile> file = AsTheHostKeepsIt(*bytes, options, error);
    if (!file) {
      result.errors += "kn-explain: " + shown + " " + error + "\n";
      result.status = 1;
      continue;
    }
    if (!result.report.empty()) result.report += "\n";
    result.report += options.board
                         ? ExplainBoardReport("board list " + Quote(shown), file->bytes, files, options, when)
                         : ExplainMemoReport("memo " + Quote(shown), file->bytes, options, when);
    result.report.insert(result.report.find('\n') + 1, file->header);
  }
  return result;
}

}  // namespace kn::explain
