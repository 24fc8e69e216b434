#include "explain/explain_run.h"

#include <memory>

#include "explain/board_check.h"
#include "explain/encoding_check.h"
#include "explain/filled_words.h"
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
  settings.language = options.language;
  return settings;
}

std::string Header(const std::string& title, const Options& options, const BrokenDownTime& when) {
  const ExplainSettings settings = SettingsOf(options, false);
  return title + "\n" +
         Say(options.language,
             {"evaluated on {1}{2}; base font height {3}, weight 400, charset 128; text colour {4}\n",
              "{1} \x82\xCC\x8E\x9E\x93\x5F\x82\xC5\x93\xC7\x82\xDD\x82\xDC\x82\xB7{2}\x81\x42\x8A\xEE\x96\x7B\x82\xCC\x83\x74\x83\x48\x83\x93\x83\x67\x82\xCD\x8D\x82\x82\xB3 {3}\x81\x41\x91\xBE\x82\xB3 400\x81\x41\x95\xB6\x8E\x9A\x83\x5A\x83\x62\x83\x67 128\x81\x41\x95\xB6\x8E\x9A\x90\x46 {4}\n" /* {1} の時点で読みます{2}。基本のフォントは高さ {3}、太さ 400、文字セット 128、文字色 {4}\n */},
             {TimeText(when), options.today ? " (--today)" : "", std::to_string(settings.baseFont.lfHeight),
              ColorText(settings.textColor)});
}

void AppendLines(std::string& out, std::string_view text, const ExplainSettings& settings,
                 const BrokenDownTime& when) {
  const FixedClock clock(when);
  for (const LineExplanation& line : ExplainText(text, settings, clock)) {
    out += "\n" + DescribeLine(line, settings, when);
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
  const std::string problems = DescribeEncoding(encoding, "  ", options.language);
  out += problems.empty() ? Say(options.language, {"encoding: Shift-JIS, nothing wrong\n",
                                                    "\x95\xB6\x8E\x9A\x83\x52\x81\x5B\x83\x68: \x83\x56\x83\x74\x83\x67"
                                                    "JIS\x81\x41\x96\xE2\x91\xE8\x82\xC8\x82\xB5\n"
                                                    /* 文字コード: シフトJIS、問題なし\n */})
                          : Say(options.language, {"encoding:\n", "\x95\xB6\x8E\x9A\x83\x52\x81\x5B\x83\x68:\n" /* 文字コード:\n */}) + problems;
  // The host hands the memo over as a C string.
  const std::size_t nul = memo.find('\0');
  if (nul != std::string_view::npos) {
    out += Say(options.language,
               {"the memo ends at its first 0 byte (line {1}); the {2} bytes from there on are not part of it\n",
                "\x83\x81\x83\x82\x82\xCD\x8D\xC5\x8F\x89\x82\xCC\x92\x6C 0 \x82\xCC\x83\x6F\x83\x43\x83\x67\x81\x69NUL"
                "\x81\x41{1}\x8D\x73\x96\xDA\x81\x6A\x82\xC5\x8F\x49\x82\xED\x82\xE8\x82\xDC\x82\xB7\x81\x42\x88\xC8"
                "\x8D\x7E\x82\xCC {2} \x83\x6F\x83\x43\x83\x67\x82\xCD\x93\xC7\x82\xDC\x82\xEA\x82\xDC\x82\xB9\x82\xF1"
                "\n" /* メモは最初の値 0 のバイト（NUL、{1}行目）で終わります。以降の {2} バイトは読まれません\n */},
               {std::to_string(CountLines(memo.substr(0, nul + 1))), std::to_string(memo.size() - nul)});
    memo = memo.substr(0, nul);
  }
  if (memo.empty()) {
    out += Say(options.language, {"the memo is empty: the chip shows nothing\n",
                                  "\x83\x81\x83\x82\x82\xCD\x8B\xF3\x82\xC5\x82\xB7\x81\x42\x83\x60\x83\x62\x83\x76\x82\xC9\x82\xCD\x89\xBD\x82\xE0\x95\x5C\x8E\xA6\x82\xB3\x82\xEA\x82\xDC\x82\xB9\x82\xF1\n" /* メモは空です。チップには何も表示されません\n */});
  }
  AppendLines(out, memo, SettingsOf(options, false), when);
  return out;
}

std::string ExplainBoardReport(const std::string& title, std::string_view list, FileSystem& files,
                               const Options& options, const BrokenDownTime& when) {
  std::string out = Header(title, options, when);
  SystemCp932Encoder encoder;
  const BoardCheck check = CheckBoard(list, files, encoder);
  if (check.entries.empty()) {
    out += In(options.language,
              {"the board list names no file",
               "\x88\xEA\x97\x97\x82\xC9\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC\x82\xAA\x88\xEA\x82\xC2\x82\xE0"
               "\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1" /* 一覧にファイル名が一つもありません */});
    out += "\n";
  }
  for (const BoardEntry& entry : check.entries) out += "\n" + DescribeBoardEntry(entry, options.language);

  const SystemTime& newest = check.newest;
  const std::string& board = check.text;
  out += std::string("\n") +
         In(options.language,
            {"board text, as the chip shows it in board mode; newest listed file: ",
             "\x83\x60\x83\x62\x83\x76\x82\xAA\x8C\x66\x8E\xA6\x94\xC2\x83\x82\x81\x5B\x83\x68\x82\xC5\x95\x5C\x8E\xA6"
             "\x82\xB7\x82\xE9\x93\xE0\x97\x65\x81\x69\x8D\xC5\x90\x56\x82\xCC\x8D\x58\x90\x56\x93\xFA\x8E\x9E: "
             /* チップが掲示板モードで表示する内容（最新の更新日時:  */});
  if (newest.wYear == 0) {
    out += In(options.language, {"none exists", "\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1" /* ありません */});
  } else {
    const BrokenDownTime t = MakeLocalTime(newest.wYear, newest.wMonth, newest.wDay, newest.wHour,
                                           newest.wMinute, newest.wSecond);
    out += TimeText(t);
  }
  out += std::string(In(options.language, {"", "\x81\x6A" /* ） */})) + "\n";
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
  const std::string places = DescribeGetas(PlaceGetas(converted, getas), "  ", options.language);
  std::string header = Say(options.language,
                           {"read as UTF-8 (--utf8) and converted to code page 932 as the host keeps memos\n",
                            "UTF-8 \x82\xC6\x82\xB5\x82\xC4\x93\xC7\x82\xDD\x81\x69--utf8\x81\x6A\x81\x41\x83\x7A"
                            "\x83\x58\x83\x67\x82\xC6\x93\xAF\x82\xB6\x82\xAD\x83\x56\x83\x74\x83\x67JIS\x81\x69"
                            "\x83\x52\x81\x5B\x83\x68\x83\x79\x81\x5B\x83\x57 932\x81\x6A\x82\xC9\x95\xCF\x8A\xB7"
                            "\x82\xB5\x82\xDC\x82\xB5\x82\xBD\n"
                            /* UTF-8 として読み（--utf8）、ホストと同じくシフトJIS（コードページ 932）に変換しました\n */});
  if (!places.empty()) header += Say(options.language, {"conversion:\n", "\x95\xCF\x8A\xB7:\n" /* 変換:\n */}) + places;
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
    const std::string shown = name == "-" ? Say(options.language, {"standard input", "\x95\x57\x8F\x80\x93\xFC\x97\xCD" /* 標準入力 */}) : name;
    std::string error;
    const std::optional<ReadFile> file = AsTheHostKeepsIt(*bytes, options, error);
    if (!file) {
      result.errors += "kn-explain: " + shown + " " + error + "\n";
      result.status = 1;
      continue;
    }
    if (!result.report.empty()) result.report += "\n";
    result.report += options.board
                         ? ExplainBoardReport(Say(options.language, {"board list {1}", "\x83\x74\x83\x40\x83\x43"
                                                                                       "\x83\x8B\x96\xBC\x82\xCC"
                                                                                       "\x88\xEA\x97\x97 {1}"
                                                                                       /* ファイル名の一覧 {1} */},
                                                  {Quote(shown)}),
                                              file->bytes, files, options, when)
                         : ExplainMemoReport(Say(options.language, {"memo {1}", "\x83\x81\x83\x82 {1}" /* メモ {1} */}, {Quote(shown)}),
                                             file->bytes, options, when);
    result.report.insert(result.report.find('\n') + 1, file->header);
  }
  return result;
}

}  // namespace kn::explain
