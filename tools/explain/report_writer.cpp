#include "explain/report_writer.h"

#include <algorithm>
#include <cstdio>

#include "explain/filled_words.h"
#include "explain/terminal_text.h"
#include "markup/color_spec.h"

namespace kn::explain {
namespace {

// The rows of one line's block, in the report's language.
class Rows {
 public:
  Rows(std::string& out, Language language) : out_(out), language_(language) {}
  void Add(const std::string& row, int depth = 1) {
    out_.append(static_cast<std::size_t>(depth) * 2, ' ');
    out_ += row;
    out_ += '\n';
  }
  std::string Text(const Words& words, std::initializer_list<std::string> values = {}) const {
    return Say(language_, words, values);
  }
  std::string At(int position) const { return ByteAt(language_, position); }

 private:
  std::string& out_;
  Language language_;
};

Words AlignmentName(char lead) {
  if (lead == '$') return {"centred", "\x92\x86\x89\x9B\x8A\xF1\x82\xB9" /* 中央寄せ */};
  if (lead == '%') return {"right", "\x89\x45\x8A\xF1\x82\xB9" /* 右寄せ */};
  return {"left", "\x8D\xB6\x8A\xF1\x82\xB9" /* 左寄せ */};
}

Words AbsenceText(PrefixAbsence absence) {
  switch (absence) {
    case PrefixAbsence::kTooShort: return {"shorter than 3 bytes without its blanks", "\x8B\xF3\x94\x92\x82\xF0\x8F\x9C\x82\xAD\x82\xC6" "3\x83\x6F\x83\x43\x83\x67\x82\xE6\x82\xE8\x92\x5A\x82\xA2" /* 空白を除くと3バイトより短い */};
    case PrefixAbsence::kNoLead: return {"does not begin with #, $ or %", "#\x81\x41$\x81\x41% \x82\xCC\x82\xC7\x82\xEA\x82\xC5\x82\xE0\x8E\x6E\x82\xDC\x82\xE7\x82\xC8\x82\xA2" /* #、$、% のどれでも始まらない */};
    case PrefixAbsence::kNoBar: return {"no '|'", "'|' \x82\xAA\x82\xC8\x82\xA2" /* '|' がない */};
    case PrefixAbsence::kNone: break;
  }
  return {"", ""};
}

std::string FontFace(const LogFont& font) {
  const char* end = std::find(font.lfFaceName, font.lfFaceName + sizeof font.lfFaceName, '\0');
  return std::string(font.lfFaceName, end);
}

// "'b' at byte 5", or for a trail byte the character it belongs to.
std::string Source(const Rows& rows, const std::string& raw, int position, bool fromTrailByte) {
  if (fromTrailByte) {
    return rows.Text({"the second byte of {1} at {2}", "{2}\x82\xCC {1} \x82\xCC" "2\x83\x6F\x83\x43\x83\x67\x96\xDA" /* {2}の {1} の2バイト目 */},
                     {Quote(std::string_view(raw).substr(static_cast<std::size_t>(position - 2), 2)),
                      rows.At(position)});
  }
  return rows.Text({"'{1}' at {2}", "{2}\x82\xCC '{1}'" /* {2}の '{1}' */},
                   {raw.substr(static_cast<std::size_t>(position - 1), 1), rows.At(position)});
}

void DescribeColor(Rows& rows, const LineExplanation& e) {
  const ColorItem& c = e.prefix.color;
  if (c.length == 0) return;
  const std::string table =
      c.nameIndex >= 0 ? rows.Text({" ({1}, colour table)", "\x81\x69\x90\x46\x82\xCC\x96\xBC\x91\x4F {1}\x81\x6A" /* （色の名前 {1}） */}, {ColorNames[c.nameIndex].name})
                       : "";
  const std::string_view item = std::string_view(e.raw).substr(static_cast<std::size_t>(c.position - 1),
                                                               static_cast<std::size_t>(c.length));
  const std::string source =
      c.fromTrailByte ? rows.Text({"{1} and the bytes after it", "{1}\x82\xC6\x82\xBB\x82\xCC\x8C\xE3\x82\xCC\x83\x6F\x83\x43\x83\x67" /* {1}とその後のバイト */},
                                  {Source(rows, e.raw, c.position, true)})
                      : rows.Text({"{1} at {2}", "{2}\x82\xCC {1}" /* {2}の {1} */}, {Quote(item), rows.At(c.position)});
  rows.Add(rows.Text({"colour: {1}{2}, from {3}", "\x90\x46: {1}{2}\x81\x41{3} \x82\xA9\x82\xE7" /* 色: {1}{2}、{3} から */}, {ColorText(c.color), table, source}));
}

void DescribeFace(Rows& rows, const FaceItem& face, const char* keyword, const Words& charset, bool replaced) {
  if (face.position == 0 || !face.closed) return;
  rows.Add(rows.Text({"face: {1}, charset {2}, from {3} at {4}{5}", "\x8F\x91\x91\xCC: {1}\x81\x41\x95\xB6\x8E\x9A\x83\x5A\x83\x62\x83\x67 {2}\x81\x41{4}\x82\xCC {3} \x82\xA9\x82\xE7{5}" /* 書体: {1}、文字セット {2}、{4}の {3} から{5} */},
                     {Quote(face.name.substr(0, 31)), rows.Text(charset), keyword, rows.At(face.position),
                      replaced ? rows.Text({" (FACEA= comes later and wins)", "\x81\x69\x8C\xE3\x82\xCC FACEA= \x82\xAA\x97\x44\x90\xE6\x81\x6A" /* （後の FACEA= が優先） */}) : ""}));
}

void DescribeFlag(Rows& rows, const LineExplanation& e, const FlagItem& flag, const Words& row) {
  if (flag.position == 0) return;
  rows.Add(rows.Text({"{1}, from {2}", "{1}\x81\x41{2} \x82\xA9\x82\xE7" /* {1}、{2} から */},
                     {rows.Text(row), Source(rows, e.raw, flag.position, flag.fromTrailByte)}));
}

void DescribePrefix(Rows& rows, const LineExplanation& e, const ExplainSettings& settings) {
  const PrefixTrace& p = e.prefix;
  if (!p.found) {
    if (!e.raw.empty()) rows.Add(rows.Text({"prefix: none ({1})", "\x8F\x91\x8E\xAE: \x82\xC8\x82\xB5\x81\x69{1}\x81\x6A" /* 書式: なし（{1}） */}, {rows.Text(AbsenceText(p.absence))}));
    return;
  }
  rows.Add(rows.Text({"prefix: bytes {1}-{2}, ended by the '|' at {3}; alignment {4} ('{5}')",
                      "\x8F\x91\x8E\xAE: {1}-{2}\x83\x6F\x83\x43\x83\x67\x96\xDA\x81\x41{3}\x82\xCC '|' \x82\xDC\x82\xC5\x81\x42\x94\x7A\x92\x75: {4}\x81\x69'{5}'\x81\x6A" /* 書式: {1}-{2}バイト目、{3}の '|' まで。配置: {4}（'{5}'） */},
                     {std::to_string(p.leadPosition), std::to_string(p.barPosition), rows.At(p.barPosition),
                      rows.Text(AlignmentName(p.lead)), std::string(1, p.lead)}));
  DescribeColor(rows, e);
  DescribeFace(rows, p.face, "FACE=", {"128 (Shift-JIS)", "128\x81\x69\x83\x56\x83\x74\x83\x67JIS\x81\x6A" /* 128（シフトJIS） */}, p.ansiFace.closed);
  DescribeFace(rows, p.ansiFace, "FACEA=", {"0 (ANSI)", "0 (ANSI)"}, false);
  DescribeFlag(rows, e, p.bold, {"weight: 700 (bold)", "\x91\xBE\x82\xB3: 700\x81\x69\x91\xBE\x8E\x9A\x81\x6A" /* 太さ: 700（太字） */});
  DescribeFlag(rows, e, p.italic, {"italic: on", "\x8E\xCE\x91\xCC: \x82\xA0\x82\xE8" /* 斜体: あり */});
  DescribeFlag(rows, e, p.strikeOut, {"strike-out: on", "\x8E\xE6\x82\xE8\x8F\xC1\x82\xB5\x90\xFC: \x82\xA0\x82\xE8" /* 取り消し線: あり */});
  DescribeFlag(rows, e, p.underline, {"underline: on", "\x89\xBA\x90\xFC: \x82\xA0\x82\xE8" /* 下線: あり */});
  if (p.size.sign != 0 && p.size.digit >= 0) {
    rows.Add(rows.Text({"height: {1} -> {2}, from '{3}' at {4}", "\x8D\x82\x82\xB3: {1} -> {2}\x81\x41{4}\x82\xCC '{3}' \x82\xA9\x82\xE7" /* 高さ: {1} -> {2}、{4}の '{3}' から */},
                       {std::to_string(settings.baseFont.lfHeight), std::to_string(e.markupFormat.font.lfHeight),
                        std::string(1, p.size.sign) + std::to_string(p.size.digit), rows.At(p.size.position)}));
  }
  if (p.face.closed || p.ansiFace.closed) {
    rows.Add(rows.Text({"font face as given to the font: {1}", "\x83\x74\x83\x48\x83\x93\x83\x67\x82\xC9\x93\x6E\x82\xB7\x8F\x91\x91\xCC\x96\xBC: {1}" /* フォントに渡す書体名: {1} */},
                       {Quote(FontFace(e.markupFormat.font))}));
  }
}

void DescribeField(Rows& rows, const FieldTrace& field, const Words& kind) {
  if (!field.found) return;
  const std::string pattern = field.pattern.empty()
                                  ? rows.Text({"default pattern", "\x8A\xF9\x92\xE8\x82\xCC\x83\x70\x83\x5E\x81\x5B"
                                                                  "\x83\x93" /* 既定のパターン */})
                                  : rows.Text({"pattern {1}", "\x83\x70\x83\x5E\x81\x5B\x83\x93 {1}" /* パターン {1} */}, {Quote(field.pattern)});
  rows.Add(rows.Text({"{1} field {2}: {3} -> {4}", "{1}\x97\x93 {2}: {3} -> {4}" /* {1}欄 {2}: {3} -> {4} */},
                     {rows.Text(kind), Quote(field.written), pattern, Quote(field.value)}));
}

Words MarkerName(char marker) {
  if (marker == '$') return {"full-width digits", "\x91\x53\x8A\x70\x90\x94\x8E\x9A" /* 全角数字 */};
  if (marker == '@') return {"hidden", "\x95\x5C\x8E\xA6\x82\xC8\x82\xB5" /* 表示なし */};
  return {"ASCII digits", "\x94\xBC\x8A\x70\x90\x94\x8E\x9A" /* 半角数字 */};
}

void DescribeColorRule(Rows& rows, const LineExplanation& e) {
  const CountdownTrace& c = e.countdown;
  const bool colored = e.prefix.color.length > 0;
  const std::string colour = colored ? rows.Text({"the prefix colour {1}", "\x8F\x91\x8E\xAE\x82\xCC\x90\x46\x81\x69{1}\x81\x6A" /* 書式の色（{1}） */},
                                                 {ColorText(e.prefix.color.color)})
                                     : rows.Text({"a prefix colour", "\x8F\x91\x8E\xAE\x82\xCC\x90\x46" /* 書式の色 */});
  std::string row;
  if (c.hasFirstColorDay) {
    row = rows.Text({"{1} shows from {2} on (count <= {3})", "{1}\x82\xCD {2} \x82\xA9\x82\xE7\x95\x74\x82\xAB\x82\xDC"
                                                             "\x82\xB7\x81\x69\x8E\x63\x82\xE8\x93\xFA\x90\x94\x82\xAA "
                                                             "{3} \x88\xC8\x89\xBA\x81\x6A"
                                                             /* {1}は {2} から付きます（残り日数が {3} 以下） */},
                    {colour, DateText(c.firstColorDay), std::to_string(c.threshold)});
  } else {
    row = rows.Text({"{1} shows only while the line's count ({2}) is <= {3}",
                     "{1}\x82\xCD\x8D\x73\x82\xCC\x93\xFA\x90\x94\x81\x69{2}\x81\x6A\x82\xAA {3} \x88\xC8\x89\xBA\x82\xCC\x82\xC6\x82\xAB\x82\xBE\x82\xAF\x95\x74\x82\xAB\x82\xDC\x82\xB7" /* {1}は行の日数（{2}）が {3} 以下のときだけ付きます */},
                    {colour, std::to_string(c.colorCount), std::to_string(c.threshold)});
  }
  if (!colored) {
    row += rows.Text({"; this prefix sets none", "\x81\x42\x82\xB1\x82\xCC\x8F\x91\x8E\xAE\x82\xCD\x90\x46\x82\xF0\x8E\x77\x92\xE8\x82\xB5\x82\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1" /* 。この書式は色を指定していません */});
  } else {
    row += c.colorShowsToday ? rows.Text({"; today it shows", "\x81\x42\x8D\xA1\x93\xFA\x82\xCD\x95\x74\x82\xA2\x82\xC4\x82\xA2\x82\xDC\x82\xB7" /* 。今日は付いています */})
                             : rows.Text({"; today the line keeps the text colour", "\x81\x42\x8D\xA1\x93\xFA\x82\xCD\x95\xB6\x8E\x9A\x90\x46\x82\xCC\x82\xDC\x82\xDC\x82\xC5\x82\xB7" /* 。今日は文字色のままです */});
  }
  rows.Add(row, 2);
}

void DescribeCountdown(Rows& rows, const LineExplanation& e, const BrokenDownTime& now) {
  const CountdownTrace& c = e.countdown;
  if (c.state != CountdownState::kExpanded) return;
  const std::string date =
      c.dateValid ? DateText(c.date)
                  : rows.Text({"{1} (not eight digits)", "{1}\x81\x69" "8\x8C\x85\x82\xCC\x90\x94\x8E\x9A\x82\xC5\x82\xCD\x82\xC8\x82\xA2\x81\x6A" /* {1}（8桁の数字ではない） */}, {Quote(c.dateBytes)});
  const std::string offset = c.offsetBytes.empty()
                                 ? rows.Text({"no offset", "\x82\xB8\x82\xE7\x82\xB5\x82\xC8\x82\xB5" /* ずらしなし */})
                                 : rows.Text({"offset {1}", "\x82\xB8\x82\xE7\x82\xB5 {1}" /* ずらし {1} */}, {Quote(c.offsetBytes)});
  rows.Add(rows.Text({"countdown {1}: {2}, date {3}, {4} (threshold {5})",
                      "\x83\x4A\x83\x45\x83\x93\x83\x67\x83\x5F\x83\x45\x83\x93 {1}: {2}\x81\x41\x93\xFA\x95\x74 {3}"
                      "\x81\x41{4}\x81\x69\x8E\x63\x82\xE8 {5} \x93\xFA\x88\xC8\x89\xBA\x82\xC5\x90\x46\x81\x6A"
                      /* カウントダウン {1}: {2}、日付 {3}、{4}（残り {5} 日以下で色） */},
                     {Quote(c.written), rows.Text(MarkerName(c.marker)), date, offset, std::to_string(c.threshold)}));
  const CivilDate today{now.year + 1900, now.mon + 1, now.mday};
  if (c.dateValid) {
    rows.Add(rows.Text({"day count {1} on {2}, shown as {3}", "{2} \x8E\x9E\x93\x5F\x82\xCC\x8E\x63\x82\xE8\x93\xFA"
                                                              "\x90\x94 {1}\x81\x41\x95\x5C\x8E\xA6 {3}"
                                                              /* {2} 時点の残り日数 {1}、表示 {3} */},
                       {std::to_string(c.dayCount), DateText(today), Quote(c.shown)}),
             2);
  } else {
    rows.Add(rows.Text({"shown as the error text {1}", "\x83\x47\x83\x89\x81\x5B\x83\x81\x83\x62\x83\x5A\x81\x5B"
                                                       "\x83\x57 {1} \x82\xF0\x95\x5C\x8E\xA6" /* エラーメッセージ {1} を表示 */}, {Quote(c.shown)}), 2);
  }
  DescribeColorRule(rows, e);
}

void DescribeLink(Rows& rows, const LineExplanation& e, const ExplainSettings& settings) {
  const LinkTrace& link = e.link;
  if (link.form == LinkForm::kNone) return;
  std::string form = LinkFormName(link.form, settings.language);
  if (link.form == LinkForm::kScheme) form += " \"" + link.scheme + "\"";
  const bool ownColor = e.markupFormat.color != settings.textColor;
  rows.Add(rows.Text({"link: {1}, shows {2}, underlined, in {3}", "\x83\x8A\x83\x93\x83\x4E: {1}\x81\x41\x95\x5C\x8E\xA6 {2}\x81\x41\x89\xBA\x90\xFC\x95\x74\x82\xAB\x81\x41{3}" /* リンク: {1}、表示 {2}、下線付き、{3} */},
                     {form, Quote(link.display),
                      ownColor ? rows.Text({"its markup colour", "\x8F\x91\x8E\xAE\x82\xCC\x90\x46" /* 書式の色 */})
                               : rows.Text({"the link colour", "\x83\x8A\x83\x93\x83\x4E\x82\xCC\x90\x46" /* リンクの色 */})}));
  rows.Add(rows.Text({"command: {1} (Shift-click copies it)", "\x83\x52\x83\x7D\x83\x93\x83\x68: {1}\x81\x69Shift+\x83\x4E\x83\x8A\x83\x62\x83\x4E\x82\xC5\x83\x52\x83\x73\x81\x5B\x81\x6A" /* コマンド: {1}（Shift+クリックでコピー） */},
                     {Quote(link.command)}),
           2);
  if (!link.launch) {
    rows.Add(rows.Text({"click: nothing to launch (the command holds no program)",
                        "\x83\x4E\x83\x8A\x83\x62\x83\x4E: \x8B\x4E\x93\xAE\x82\xB7\x82\xE9\x82\xE0\x82\xCC\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x69\x83\x52\x83\x7D\x83\x93\x83\x68\x82\xC9\x83\x76\x83\x8D\x83\x4F\x83\x89\x83\x80\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x6A" /* クリック: 起動するものはありません（コマンドにプログラムがありません） */}),
             2);
    return;
  }
  rows.Add(rows.Text({"click opens: program {1}, parameters {2}, working directory {3}",
                      "\x83\x4E\x83\x8A\x83\x62\x83\x4E\x82\xC5\x8A\x4A\x82\xAD: \x83\x76\x83\x8D\x83\x4F\x83\x89\x83\x80 {1}\x81\x41\x83\x70\x83\x89\x83\x81\x81\x5B\x83\x5E\x81\x5B {2}\x81\x41\x8D\xEC\x8B\xC6\x83\x74\x83\x48\x83\x8B\x83\x5F\x81\x5B {3}" /* クリックで開く: プログラム {1}、パラメーター {2}、作業フォルダー {3} */},
                     {Quote(link.launch->program), Quote(link.launch->parameters),
                      Quote(link.launch->workingDirectory)}),
           2);
}

}  // namespace

std::string ByteAt(Language language, int position) {
  return Say(language, {"byte {1}", "{1}\x83\x6F\x83\x43\x83\x67\x96\xDA" /* {1}バイト目 */}, {std::to_string(position)});
}

std::string ColorText(ColorRef color) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X%02X%02X", static_cast<unsigned>(color & 0xFF),
                static_cast<unsigned>((color >> 8) & 0xFF), static_cast<unsigned>((color >> 16) & 0xFF));
  return text;
}

std::string DateText(const CivilDate& date) {
  char text[40];
  std::snprintf(text, sizeof text, "%04lld-%02d-%02d", static_cast<long long>(date.year), date.month, date.day);
  return text;
}

std::string TimeText(const BrokenDownTime& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year + 1900, time.mon + 1, time.mday,
                time.hour, time.min, time.sec);
  return text;
}

std::string DescribeLineFacts(const LineExplanation& e, const ExplainSettings& settings, const BrokenDownTime& now) {
  std::string out;
  Rows rows(out, settings.language);
  DescribePrefix(rows, e, settings);
  DescribeField(rows, e.date, {"date", "\x93\xFA\x95\x74" /* 日付 */});
  DescribeField(rows, e.time, {"time", "\x8E\x9E\x8D\x8F" /* 時刻 */});
  DescribeCountdown(rows, e, now);
  DescribeLink(rows, e, settings);
  rows.Add(rows.Text({"draws: {1}", "\x95\x5C\x8E\xA6: {1}" /* 表示: {1} */}, {Quote(e.prepared.Drawn())}));
  for (const Note& note : e.notes) rows.Add(rows.Text({"note: {1}", "\x92\x8D\x88\xD3: {1}" /* 注意: {1} */}, {note.text}));
  return out;
}

std::string DescribeLine(const LineExplanation& e, const ExplainSettings& settings, const BrokenDownTime& now) {
  const Language language = settings.language;
  std::string out = Say(language, {"line {1}: ", "{1}\x8D\x73\x96\xDA: " /* {1}行目:  */}, {std::to_string(e.number)});
  out += e.raw.empty() ? Say(language, {"(empty: drawn as one blank)", "\x81\x69\x8B\xF3\x8D\x73: \x8B\xF3\x94\x92" "1\x82\xC2\x82\xC6\x82\xB5\x82\xC4\x95\x5C\x8E\xA6\x81\x6A" /* （空行: 空白1つとして表示） */}) : Quote(e.raw);
  out += '\n';
  return out + DescribeLineFacts(e, settings, now);
}

}  // namespace kn::explain
