#include "explain/line_explanation.h"

#include <cstring>
#include <string>

#include "explain/filled_words.h"
#include "explain/report_writer.h"
#include "explain/terminal_text.h"
#include "markup/date_time_format.h"
#include "markup/line_list.h"
#include "markup/countdown.h"
#include "markup/line_markup.h"
#include "plugin/chip_logic.h"

namespace kn::explain {
namespace {

// Every note is said in the language of the explanation.
class NoteWriter {
 public:
  explicit NoteWriter(LineExplanation& e, Language language) : e_(e), language_(language) {}

  LineExplanation& line() const { return e_; }
  Language language() const { return language_; }
  std::string At(int position) const { return ByteAt(language_, position); }
  std::string Text(const Words& words, std::initializer_list<std::string> values = {}) const {
    return Say(language_, words, values);
  }
  void Add(NoteKind kind, int position, const Words& words,
           std::initializer_list<std::string> values = {}) {
    e_.notes.push_back(Note{kind, position, Say(language_, words, values)});
  }

 private:
  LineExplanation& e_;
  Language language_;
};

// The double-byte character whose second byte is at `trailPosition`.
std::string CharacterEndingAt(std::string_view line, int trailPosition) {
  const std::string_view pair = line.substr(static_cast<std::size_t>(trailPosition - 2), 2);
  return Quote(pair) + " (" + HexBytes(pair) + ")";
}

// How the line reads when the interpreter is given `line`.
PrefixTrace PrefixOf(const std::string& line, const Clock& clock) {
  LineFormat format = LineFormat{DefaultSettings().baseFont, kAlignLeft, 0};
  SjisString visible;
  MarkupTrace trace;
  InterpretLineMarkup(SjisString(line), visible, format.alignment, format.color, format.font, clock, &trace);
  return trace.prefix;
}

// ---- the prefix

void NoteTrailByteItem(NoteWriter& w, const FlagItem& item, char letter, const Words& effect) {
  if (!item.fromTrailByte) return;
  w.Add(NoteKind::kItemFromTrailByte, item.position,
        {"the '{1}' at {2} is the second byte of {3}, yet it {4}: the prefix is searched byte by byte",
         "{2}\x82\xCC '{1}' \x82\xCD {3} \x82\xCC" "2\x83\x6F\x83\x43\x83\x67\x96\xDA\x82\xC5\x82\xB7\x82\xAA\x81\x41{4}\x81\x69\x8F\x91\x8E\xAE\x82\xCD" "1\x83\x6F\x83\x43\x83\x67\x82\xB8\x82\xC2\x92\x54\x82\xB3\x82\xEA\x82\xDC\x82\xB7\x81\x6A" /* {2}の '{1}' は {3} の2バイト目ですが、{4}（書式は1バイトずつ探されます） */},
        {std::string(1, letter), w.At(item.position), CharacterEndingAt(w.line().raw, item.position),
         w.Text(effect)});
}

void NoteColor(NoteWriter& w) {
  const LineExplanation& e = w.line();
  const ColorItem& c = e.prefix.color;
  if (c.fromTrailByte && (c.length > 0 || c.untriedPosition != 0)) {
    NoteTrailByteItem(w, FlagItem{c.position, true}, 'C',
                      {"is the C the colour is read from", "\x90\x46\x82\xF0\x93\xC7\x82\xDE C \x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB7" /* 色を読む C になります */});
  }
  if (c.untriedPosition == 0) {
    if (c.position != 0 && c.length == 0 && !c.insideFace && !c.fromTrailByte) {
      w.Add(NoteKind::kColorUnreadable, c.position,
            {"the 'c' at {1} begins no colour: a name of the colour table or six hexadecimal digits RRGGBB "
             "must follow it at once; the colour stays as it was",
             "{1}\x82\xCC c \x82\xCC\x8C\xE3\x82\xC9\x90\x46\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42\x90\x46\x82\xCC\x96\xBC\x91\x4F\x81\x69\x90\xD4 \x82\xC8\x82\xC7\x81\x6A\x82\xA9" "16\x90\x69" "6\x8C\x85\x82\xCC RRGGBB \x82\xF0\x82\xB7\x82\xAE\x8C\xE3\x82\xC9\x8F\x91\x82\xAB\x82\xDC\x82\xB7\x81\x42\x90\x46\x82\xCD\x95\xCF\x82\xED\x82\xE8\x82\xDC\x82\xB9\x82\xF1" /* {1}の c の後に色がありません。色の名前（赤 など）か16進6桁の RRGGBB をすぐ後に書きます。色は変わりません */},
            {w.At(c.position)});
    }
    return;
  }
  if (c.insideFace) {
    w.Add(NoteKind::kColorHiddenByFace, c.untriedPosition,
          {"the colour item at {1} is ignored: only the first C of the prefix is read as a colour, and that is "
           "the C of FACE at {2}; write the colour before FACE=",
           "{1}\x82\xCC\x90\x46\x82\xCD\x96\xB3\x8E\x8B\x82\xB3\x82\xEA\x82\xDC\x82\xB7\x81\x42\x90\x46\x82\xC6\x82\xB5\x82\xC4\x93\xC7\x82\xDE\x82\xCC\x82\xCD\x8F\x91\x8E\xAE\x82\xCC\x8D\xC5\x8F\x89\x82\xCC C \x82\xBE\x82\xAF\x82\xC5\x81\x41\x82\xBB\x82\xEA\x82\xCD{2}\x82\xCC FACE \x82\xCC C \x82\xC5\x82\xB7\x81\x42\x90\x46\x82\xCD FACE= \x82\xE6\x82\xE8\x91\x4F\x82\xC9\x8F\x91\x82\xAB\x82\xDC\x82\xB7" /* {1}の色は無視されます。色として読むのは書式の最初の C だけで、それは{2}の FACE の C です。色は FACE= より前に書きます */},
          {w.At(c.untriedPosition), w.At(c.position)});
  } else if (c.length > 0) {
    w.Add(NoteKind::kColorNotTried, c.untriedPosition,
          {"the second colour item at {1} is ignored: only the first C of the prefix is read as a colour",
           "{1}\x82\xCC" "2\x82\xC2\x96\xDA\x82\xCC\x90\x46\x82\xCD\x96\xB3\x8E\x8B\x82\xB3\x82\xEA\x82\xDC\x82\xB7\x81\x42\x90\x46\x82\xC6\x82\xB5\x82\xC4\x93\xC7\x82\xDE\x82\xCC\x82\xCD\x8F\x91\x8E\xAE\x82\xCC\x8D\xC5\x8F\x89\x82\xCC C \x82\xBE\x82\xAF\x82\xC5\x82\xB7" /* {1}の2つ目の色は無視されます。色として読むのは書式の最初の C だけです */},
          {w.At(c.untriedPosition)});
  } else {
    w.Add(NoteKind::kColorNotTried, c.untriedPosition,
          {"the colour item at {1} is ignored: only the first C of the prefix is read as a colour, and the one "
           "at {2} does not begin a colour",
           "{1}\x82\xCC\x90\x46\x82\xCD\x96\xB3\x8E\x8B\x82\xB3\x82\xEA\x82\xDC\x82\xB7\x81\x42\x90\x46\x82\xC6\x82\xB5\x82\xC4\x93\xC7\x82\xDE\x82\xCC\x82\xCD\x8F\x91\x8E\xAE\x82\xCC\x8D\xC5\x8F\x89\x82\xCC C \x82\xBE\x82\xAF\x82\xC5\x81\x41{2}\x82\xCC C \x82\xCC\x8C\xE3\x82\xCD\x90\x46\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1" /* {1}の色は無視されます。色として読むのは書式の最初の C だけで、{2}の C の後は色ではありません */},
          {w.At(c.untriedPosition), w.At(c.position)});
  }
}

// ", here: bold, italic" for the flags that letters after `position` set.
std::string FlagsAfter(const NoteWriter& w, int position) {
  const PrefixTrace& p = w.line().prefix;
  const struct {
    const FlagItem& item;
    Words name;
  } all[] = {{p.bold, {"bold", "\x91\xBE\x8E\x9A" /* 太字 */}},
             {p.italic, {"italic", "\x8E\xCE\x91\xCC" /* 斜体 */}},
             {p.strikeOut, {"strike-out", "\x8E\xE6\x82\xE8\x8F\xC1\x82\xB5\x90\xFC" /* 取り消し線 */}},
             {p.underline, {"underline", "\x89\xBA\x90\xFC" /* 下線 */}}};
  std::string flags;
  for (const auto& flag : all) {
    if (flag.item.position <= position) continue;
    if (!flags.empty()) flags += w.Text({", ", "\x81\x41" /* 、 */});
    flags += w.Text(flag.name);
  }
  return flags.empty() ? "" : w.Text({" (here: {1})", "\x81\x69\x82\xB1\x82\xB1\x82\xC5\x82\xCD{1}\x81\x6A" /* （ここでは{1}） */}, {flags});
}

void NoteFace(NoteWriter& w, const FaceItem& face, const char* keyword) {
  if (face.position == 0) return;
  if (!face.closed) {
    w.Add(NoteKind::kFaceUnclosed, face.position,
          {"{1} at {2} has no closing double quote before the prefix ends: the face stays as it was, and the "
           "item's letters count as format letters{3}",
           "{2}\x82\xCC {1} \x82\xF0\x95\xC2\x82\xB6\x82\xE9 \" \x82\xAA\x8F\x91\x8E\xAE\x82\xCC\x92\x86\x82\xC9\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42\x8F\x91\x91\xCC\x82\xCD\x95\xCF\x82\xED\x82\xE7\x82\xB8\x81\x41\x82\xBB\x82\xCC\x95\xB6\x8E\x9A\x82\xCD\x8F\x91\x8E\xAE\x82\xCC\x95\xB6\x8E\x9A\x82\xC6\x82\xB5\x82\xC4\x93\xC7\x82\xDC\x82\xEA\x82\xDC\x82\xB7{3}" /* {2}の {1} を閉じる " が書式の中にありません。書体は変わらず、その文字は書式の文字として読まれます{3} */},
          {keyword, w.At(face.position), FlagsAfter(w, face.position)});
  } else if (face.Cut()) {
    w.Add(NoteKind::kFaceNameCut, face.position,
          {"the face name {1} is {2} bytes long; the font holds only 31: {3}",
           "\x8F\x91\x91\xCC\x96\xBC {1} \x82\xCD {2} \x83\x6F\x83\x43\x83\x67\x82\xA0\x82\xE8\x82\xDC\x82\xB7\x81\x42\x83\x74\x83\x48\x83\x93\x83\x67\x82\xC9\x93\xFC\x82\xE9\x82\xCC\x82\xCD" "31\x83\x6F\x83\x43\x83\x67\x82\xDC\x82\xC5\x82\xC5\x82\xB7: {3}" /* 書体名 {1} は {2} バイトあります。フォントに入るのは31バイトまでです: {3} */},
          {Quote(face.name), std::to_string(face.name.size()), Quote(face.name.substr(0, 31))});
  }
}

void NoteUnquotedFace(NoteWriter& w) {
  const LineExplanation& e = w.line();
  const int at = e.prefix.unquotedFace;
  if (at == 0) return;
  const bool ansi = (e.raw[static_cast<std::size_t>(at) + 3] | 0x20) == 'a';
  const std::string keyword = ansi ? "FACEA=" : "FACE=";
  // The name the author most likely meant: what stands between the '=' and the prefix's end.
  const std::size_t nameAt = static_cast<std::size_t>(at - 1) + keyword.size();
  const std::size_t barAt = static_cast<std::size_t>(e.prefix.barPosition - 1);
  const std::string name = nameAt < barAt ? e.raw.substr(nameAt, barAt - nameAt) : "...";
  w.Add(NoteKind::kFaceUnquoted, at,
        {"{1} at {2} has no double quote after the '=': it sets no face, and its letters count as format "
         "letters{3}; probably meant {4}",
         "{2}\x82\xCC {1} \x82\xCC = \x82\xCC\x8C\xE3\x82\xC9 \" \x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42\x8F\x91\x91\xCC\x82\xCD\x95\xCF\x82\xED\x82\xE7\x82\xB8\x81\x41\x82\xBB\x82\xCC\x95\xB6\x8E\x9A\x82\xCD\x8F\x91\x8E\xAE\x82\xCC\x95\xB6\x8E\x9A\x82\xC6\x82\xB5\x82\xC4\x93\xC7\x82\xDC\x82\xEA\x82\xDC\x82\xB7{3}\x81\x42{4} \x82\xCC\x82\xC2\x82\xE0\x82\xE8\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x82\xA9" /* {2}の {1} の = の後に " がありません。書体は変わらず、その文字は書式の文字として読まれます{3}。{4} のつもりではありませんか */},
        {keyword, w.At(at), FlagsAfter(w, at), Quote(keyword + "\"" + name + "\"")});
}

void NoteSize(NoteWriter& w) {
  const SizeItem& size = w.line().prefix.size;
  if (size.sign == 0) return;
  if (size.ignoredMinus != 0 && size.ignoredMinusDigit >= 0) {
    w.Add(NoteKind::kMinusIgnored, size.ignoredMinus,
          {"the size '-{1}' at {2} is ignored: a prefix that holds a '+' ({3}) is never read for '-'",
           "{2}\x82\xCC\x91\xE5\x82\xAB\x82\xB3 '-{1}' \x82\xCD\x96\xB3\x8E\x8B\x82\xB3\x82\xEA\x82\xDC\x82\xB7\x81\x42\x8F\x91\x8E\xAE\x82\xC9 '+'\x81\x69{3}\x81\x6A\x82\xAA\x82\xA0\x82\xE9\x82\xC6 '-' \x82\xCD\x93\xC7\x82\xDC\x82\xEA\x82\xDC\x82\xB9\x82\xF1" /* {2}の大きさ '-{1}' は無視されます。書式に '+'（{3}）があると '-' は読まれません */},
          {std::to_string(size.ignoredMinusDigit), w.At(size.ignoredMinus), w.At(size.position)});
  }
  if (size.digit < 0) {
    w.Add(NoteKind::kSizeWithoutDigit, size.position,
          {"the '{1}' at {2} is not followed by a digit: the height stays as it was{3}",
           "{2}\x82\xCC '{1}' \x82\xCC\x8C\xE3\x82\xC9\x90\x94\x8E\x9A\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42\x95\xB6\x8E\x9A\x82\xCC\x8D\x82\x82\xB3\x82\xCD\x95\xCF\x82\xED\x82\xE8\x82\xDC\x82\xB9\x82\xF1{3}" /* {2}の '{1}' の後に数字がありません。文字の高さは変わりません{3} */},
          {std::string(1, size.sign), w.At(size.position),
           size.ignoredMinus != 0 ? w.Text({", and the '-' is not tried", "\x81\x42'-' \x82\xE0\x93\xC7\x82\xDC\x82\xEA\x82\xDC\x82\xB9\x82\xF1" /* 。'-' も読まれません */}) : ""});
  }
}

// ＃ ＄ ％ and ｜, full-width, where the ASCII marks of a prefix were meant:
// the line with them made ASCII, when the interpreter then finds a prefix.
void NoteFullWidthMarks(NoteWriter& w, const Clock& clock) {
  const std::string& raw = w.line().raw;
  static const struct {
    const char* wide;
    char ascii;
  } kMarks[] = {{"\x81\x94", '#'}, {"\x81\x90", '$'}, {"\x81\x93", '%'}, {"\x81\x62", '|'}};
  auto markAt = [](const std::string& text, std::size_t at, bool bar) -> char {
    for (const auto& mark : kMarks) {
      if ((mark.ascii == '|') == bar && text.compare(at, 2, mark.wide) == 0) return mark.ascii;
    }
    return 0;
  };
  std::size_t at = 0;
  while (at < raw.size() && static_cast<unsigned char>(raw[at]) <= 0x20) ++at;
  if (at >= raw.size()) return;
  std::string meant = raw;
  bool wide = false;
  if (const char lead = markAt(raw, at, false)) {
    meant.replace(at, 2, 1, lead);
    wide = true;
  } else if (raw[at] != '#' && raw[at] != '$' && raw[at] != '%') {
    return;
  }
  for (std::size_t i = at + 1; i < meant.size() && meant[i] != '|'; ++i) {
    if (markAt(meant, i, true) != 0) {
      meant.replace(i, 2, 1, '|');
      wide = true;
      break;
    }
    if (IsLeadValue(static_cast<unsigned char>(meant[i]))) ++i;
  }
  if (!wide || !PrefixOf(meant, clock).found) return;
  w.Add(NoteKind::kFullWidthMark, 0,
        {"full-width marks (\x81\x94 \x81\x90 \x81\x93 \x81\x62) make no prefix; probably meant {1}",
         "\x91\x53\x8A\x70\x82\xCC\x8B\x4C\x8D\x86\x81\x69\x81\x94 \x81\x90 \x81\x93 \x81\x62\x81\x6A\x82\xCD\x8F\x91\x8E\xAE\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42{1} \x82\xCC\x82\xC2\x82\xE0\x82\xE8\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x82\xA9" /* 全角の記号（＃ ＄ ％ ｜）は書式になりません。{1} のつもりではありませんか */},
        {Quote(meant)});
}

void NotePrefix(NoteWriter& w, const Clock& clock) {
  const LineExplanation& e = w.line();
  const PrefixTrace& p = e.prefix;
  if (!p.found) {
    if (p.looksLikePrefix) {
      w.Add(NoteKind::kLeadWithoutPrefix, 0,
            {"the line begins like a prefix but {1}: it has no prefix and is shown as written",
             "\x8F\x91\x8E\xAE\x82\xCC\x82\xE6\x82\xA4\x82\xC9\x8E\x6E\x82\xDC\x82\xE8\x82\xDC\x82\xB7\x82\xAA\x81\x41{1}\x82\xBD\x82\xDF\x8F\x91\x8E\xAE\x82\xC9\x82\xC8\x82\xE7\x82\xB8\x81\x41\x82\xBB\x82\xCC\x82\xDC\x82\xDC\x95\x5C\x8E\xA6\x82\xB3\x82\xEA\x82\xDC\x82\xB7" /* 書式のように始まりますが、{1}ため書式にならず、そのまま表示されます */},
            {p.absence == PrefixAbsence::kNoBar ? w.Text({"holds no '|'", "'|' \x82\xAA\x82\xC8\x82\xA2" /* '|' がない */})
                                                : w.Text({"is shorter than 3 bytes", "3\x83\x6F\x83\x43\x83\x67\x82\xE6\x82\xE8\x92\x5A\x82\xA2" /* 3バイトより短い */})});
    }
    NoteFullWidthMarks(w, clock);
    return;
  }
  if (p.barIsTrailByte) {
    w.Add(NoteKind::kBarIsTrailByte, p.barPosition,
          {"the prefix ends at {1}, the second byte of {2}, which is a '|' byte: the prefix is searched byte by "
           "byte, so the character is cut and the content begins after it",
           "\x8F\x91\x8E\xAE\x82\xCD{1}\x82\xC5\x8F\x49\x82\xED\x82\xE8\x82\xDC\x82\xB7\x81\x42{2} \x82\xCC" "2\x83\x6F\x83\x43\x83\x67\x96\xDA\x82\xAA '|' \x82\xC6\x93\xAF\x82\xB6\x83\x6F\x83\x43\x83\x67\x82\xBE\x82\xA9\x82\xE7\x82\xC5\x82\xB7\x81\x69\x8F\x91\x8E\xAE\x82\xCD" "1\x83\x6F\x83\x43\x83\x67\x82\xB8\x82\xC2\x92\x54\x82\xB3\x82\xEA\x82\xDC\x82\xB7\x81\x6A\x81\x42\x82\xB1\x82\xCC\x95\xB6\x8E\x9A\x82\xCD\x90\xD8\x82\xEA\x82\xC4\x81\x41\x82\xBB\x82\xCC\x8C\xE3\x82\xEB\x82\xA9\x82\xE7\x93\xE0\x97\x65\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB7" /* 書式は{1}で終わります。{2} の2バイト目が '|' と同じバイトだからです（書式は1バイトずつ探されます）。この文字は切れて、その後ろから内容になります */},
          {w.At(p.barPosition), CharacterEndingAt(e.raw, p.barPosition)});
  }
  NoteColor(w);
  NoteFace(w, p.face, "FACE=\"");
  NoteFace(w, p.ansiFace, "FACEA=\"");
  NoteUnquotedFace(w);
  NoteTrailByteItem(w, p.bold, 'B', {"makes the line bold", "\x91\xBE\x8E\x9A\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB7" /* 太字になります */});
  NoteTrailByteItem(w, p.italic, 'I', {"turns italic on", "\x8E\xCE\x91\xCC\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB7" /* 斜体になります */});
  NoteTrailByteItem(w, p.strikeOut, 'S', {"turns strike-out on", "\x8E\xE6\x82\xE8\x8F\xC1\x82\xB5\x90\xFC\x82\xAA\x95\x74\x82\xAB\x82\xDC\x82\xB7" /* 取り消し線が付きます */});
  NoteTrailByteItem(w, p.underline, 'U', {"turns underline on", "\x89\xBA\x90\xFC\x82\xAA\x95\x74\x82\xAB\x82\xDC\x82\xB7" /* 下線が付きます */});
  NoteSize(w);
}

// ---- fields

// The line with the field closed where its pattern most likely ended: before
// the blanks that were to separate it from what follows.
std::string LineWithFieldClosed(const std::string& raw, const FieldTrace& field) {
  const std::size_t at = raw.find(field.written);
  if (at == std::string::npos || field.written.size() < 6) return raw;
  const std::string keyword = field.written.substr(0, 5);
  std::string pattern = field.pattern;
  std::string blanks;
  while (!pattern.empty() && pattern.back() == ' ') {
    blanks += ' ';
    pattern.pop_back();
  }
  std::string meant = raw;
  meant.replace(at, field.written.size(), keyword + pattern + "%" + blanks + "%");
  return meant;
}

void NoteField(NoteWriter& w, const FieldTrace& field, const char* keyword) {
  if (!field.found) return;
  if (field.laterKeyword) {
    w.Add(NoteKind::kFieldNotExpanded, 0,
          {"only the first {1} field of a line is expanded; a later one stays as written",
           "1\x8D\x73\x82\xC5\x93\x57\x8A\x4A\x82\xB3\x82\xEA\x82\xE9 {1} \x82\xCD\x8D\xC5\x8F\x89\x82\xCC" "1\x82\xC2\x82\xBE\x82\xAF\x82\xC5\x82\xB7\x81\x42" "2\x82\xC2\x96\xDA\x82\xA9\x82\xE7\x82\xCD\x82\xBB\x82\xCC\x82\xDC\x82\xDC\x95\x5C\x8E\xA6\x82\xB3\x82\xEA\x82\xDC\x82\xB7" /* 1行で展開される {1} は最初の1つだけです。2つ目からはそのまま表示されます */},
          {keyword});
  }
  if (field.patternCut) {
    w.Add(NoteKind::kDatePatternCut, 0,
          {"the {1} pattern ran 50 bytes without a closing '%': the byte after them was removed with the field",
           "{1} \x82\xCC\x83\x70\x83\x5E\x81\x5B\x83\x93\x82\xAA '%' \x82\xC8\x82\xB5\x82\xC5" "50\x83\x6F\x83\x43"
           "\x83\x67\x91\xB1\x82\xA2\x82\xBD\x82\xBD\x82\xDF\x81\x41\x82\xBB\x82\xCC\x8E\x9F\x82\xCC" "1\x83\x6F"
           "\x83\x43\x83\x67\x82\xE0\x88\xEA\x8F\x8F\x82\xC9\x8F\xC1\x82\xA6\x82\xDC\x82\xB5\x82\xBD"
           /* {1} のパターンが '%' なしで50バイト続いたため、その次の1バイトも一緒に消えました */},
          {keyword});
  }
  if (field.closingOpensCountdown || !field.closingOpensField.empty()) {
    const bool countdown = field.closingOpensCountdown;
    const std::string meant = Quote(LineWithFieldClosed(w.line().raw, field));
    if (countdown) {
      w.Add(NoteKind::kFieldTakesCountdownMark, 0,
            {"the {1} pattern {2} runs up to the '%' that was to open the countdown, so the countdown is not "
             "expanded; probably meant {3}",
             "{1} \x82\xCC\x83\x70\x83\x5E\x81\x5B\x83\x93 {2} \x82\xAA\x83\x4A\x83\x45\x83\x93\x83\x67\x83\x5F\x83\x45"
             "\x83\x93\x82\xCC '%' \x82\xDC\x82\xC5\x91\xB1\x82\xAD\x82\xBD\x82\xDF\x81\x41\x83\x4A\x83\x45\x83\x93"
             "\x83\x67\x83\x5F\x83\x45\x83\x93\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42{3} \x82\xCC"
             "\x82\xC2\x82\xE0\x82\xE8\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x82\xA9"
             /* {1} のパターン {2} がカウントダウンの '%' まで続くため、カウントダウンになりません。{3} のつもりではありませんか */},
            {keyword, Quote(field.pattern), meant});
    } else {
      w.Add(NoteKind::kFieldTakesFieldMark, 0,
            {"the {1} pattern {2} runs up to the '%' of {3}, so {3} is not expanded; probably meant {4}",
             "{1} \x82\xCC\x83\x70\x83\x5E\x81\x5B\x83\x93 {2} \x82\xAA {3} \x82\xCC '%' \x82\xDC\x82\xC5\x91\xB1"
             "\x82\xAD\x82\xBD\x82\xDF\x81\x41{3} \x82\xCD\x93\x57\x8A\x4A\x82\xB3\x82\xEA\x82\xDC\x82\xB9\x82\xF1"
             "\x81\x42{4} \x82\xCC\x82\xC2\x82\xE0\x82\xE8\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1"
             "\x82\xA9" /* {1} のパターン {2} が {3} の '%' まで続くため、{3} は展開されません。{4} のつもりではありませんか */},
            {keyword, Quote(field.pattern), field.closingOpensField, meant});
    }
  }
}

// A time field spelt in other than capitals shows the time, but the chip
// ticks only for "%TIME" itself, so the time stands still.
void NoteTimeStandsStill(NoteWriter& w, const ExplainSettings& settings) {
  const LineExplanation& e = w.line();
  const FieldTrace& time = e.time;
  if (settings.boardLines || !time.found || settings.memoShowsTime || MemoShowsTime(e.raw)) return;
  const std::string written = time.written.substr(0, 5);
  std::string meant = e.raw;
  const std::size_t at = meant.find(time.written);
  if (at != std::string::npos) meant.replace(at, 5, "%TIME");
  w.Add(NoteKind::kTimeStandsStill, 0,
        {"{1} shows the time, but the chip redraws on its ticks only for a memo that holds %TIME in capitals: "
         "the time stands still; probably meant {2}",
         "{1} \x82\xC5\x82\xE0\x8E\x9E\x8D\x8F\x82\xCD\x95\x5C\x8E\xA6\x82\xB3\x82\xEA\x82\xDC\x82\xB7\x82\xAA\x81\x41"
         "\x8F\xAC\x95\xB6\x8E\x9A\x82\xAA\x8D\xAC\x82\xB6\x82\xC1\x82\xC4\x82\xA2\x82\xE9\x82\xCC\x82\xC5\x8E\x9E"
         "\x8D\x8F\x82\xAA\x90\x69\x82\xDD\x82\xDC\x82\xB9\x82\xF1\x81\x69\x90\x69\x82\xDE\x82\xCC\x82\xCD\x83\x81"
         "\x83\x82\x82\xC9\x91\xE5\x95\xB6\x8E\x9A\x82\xCC %TIME \x82\xAA\x82\xA0\x82\xE9\x82\xC6\x82\xAB\x82\xBE"
         "\x82\xAF\x81\x6A\x81\x42{2} \x82\xCC\x82\xC2\x82\xE0\x82\xE8\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9"
         "\x82\xF1\x82\xA9" /* {1} でも時刻は表示されますが、小文字が混じっているので時刻が進みません（進むのはメモに大文字の %TIME があるときだけ）。{2} のつもりではありませんか */},
        {Quote(written), Quote(meant)});
}

// A date with its day or month beyond range: the day most likely meant.
std::string MeantDate(const CountdownTrace& c) {
  const int y = c.writtenYear, m = c.writtenMonth, d = c.writtenDay;
  if (m >= 1 && m <= 12 && d > 28) {
    const CivilDate last = CivilFromDays(DaysFromCivil(y, m + 1, 1) - 1);
    if (d > last.day) return DateText(last);
  }
  if (m > 12 && d >= 1 && d <= 12 && m <= 31) {
    const CivilDate swapped = CivilFromDays(DaysFromCivil(y, d, m));
    if (swapped.month == d && swapped.day == m) return DateText(swapped);
  }
  return "";
}

void NoteCountdownDate(NoteWriter& w) {
  const CountdownTrace& c = w.line().countdown;
  if (!c.dateValid) {
    std::string digits;
    for (char b : c.dateBytes + c.offsetBytes) {
      if (b >= '0' && b <= '9') digits += b;
    }
    const std::string meant = digits.size() == 8 ? "%" + std::string(1, c.marker) + digits + "%"
                                                 : "%" + std::string(1, c.marker) + "YYYYMMDD%";
    w.Add(NoteKind::kCountdownBadDate, 0,
          {"the date bytes {1} are not eight digits: the field shows an error text; probably meant {2}",
           "\x93\xFA\x95\x74 {1} \x82\xAA" "8\x8C\x85\x82\xCC\x90\x94\x8E\x9A\x82\xC5\x82\xCD\x82\xC8\x82\xA2\x82\xBD"
           "\x82\xDF\x81\x41\x83\x47\x83\x89\x81\x5B\x83\x81\x83\x62\x83\x5A\x81\x5B\x83\x57\x82\xAA\x95\x5C\x8E\xA6"
           "\x82\xB3\x82\xEA\x82\xDC\x82\xB7\x81\x42{2} \x82\xCC\x82\xC2\x82\xE0\x82\xE8\x82\xC5\x82\xCD\x82\xA0"
           "\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x82\xA9" /* 日付 {1} が8桁の数字ではないため、エラーメッセージが表示されます。{2} のつもりではありませんか */},
          {Quote(c.dateBytes), Quote(meant)});
    return;
  }
  if (!c.carried) return;
  const std::string meant = MeantDate(c);
  w.Add(NoteKind::kCountdownDateCarried, 0,
        {"the date {1} is no day of the calendar and is read as {2}: months and days beyond their range carry "
         "over{3}",
         "\x93\xFA\x95\x74 {1} \x82\xCD\x97\xEF\x82\xC9\x82\xC8\x82\xA2\x93\xFA\x82\xC8\x82\xCC\x82\xC5 {2} \x82\xC6\x93\xC7\x82\xDC\x82\xEA\x82\xDC\x82\xB7\x81\x69\x82\xCD\x82\xDD\x8F\x6F\x82\xB5\x82\xBD\x8C\x8E\x82\xE2\x93\xFA\x82\xCD\x8C\x4A\x82\xE8\x89\x7A\x82\xB3\x82\xEA\x82\xDC\x82\xB7\x81\x6A{3}" /* 日付 {1} は暦にない日なので {2} と読まれます（はみ出した月や日は繰り越されます）{3} */},
        {c.dateBytes, DateText(c.date),
         meant.empty() ? "" : w.Text({"; probably meant {1}", "\x81\x42{1} \x82\xCC\x82\xC2\x82\xE0\x82\xE8\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x82\xA9" /* 。{1} のつもりではありませんか */}, {meant})});
}

void NoteCountdown(NoteWriter& w) {
  const CountdownTrace& c = w.line().countdown;
  switch (c.state) {
    case CountdownState::kNone:
      return;
    case CountdownState::kNotFirstPercent:
      w.Add(NoteKind::kCountdownNotFirstPercent, 0,
            {"the countdown is not expanded: only the first '%' of the text can open one, and that '%' is not "
             "followed by !, $ or @",
             "\x83\x4A\x83\x45\x83\x93\x83\x67\x83\x5F\x83\x45\x83\x93\x82\xCD\x93\x57\x8A\x4A\x82\xB3\x82\xEA\x82\xDC"
             "\x82\xB9\x82\xF1\x81\x42\x83\x4A\x83\x45\x83\x93\x83\x67\x83\x5F\x83\x45\x83\x93\x82\xC9\x82\xC8\x82\xE9"
             "\x82\xCC\x82\xCD\x8D\x73\x82\xCC\x8D\xC5\x8F\x89\x82\xCC '%' \x82\xBE\x82\xAF\x82\xC5\x81\x41\x82\xBB"
             "\x82\xCC\x8C\xE3\x82\xC9 ! $ @ \x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1"
             /* カウントダウンは展開されません。カウントダウンになるのは行の最初の '%' だけで、その後に ! $ @ がありません */});
      return;
    case CountdownState::kNotClosed:
      w.Add(NoteKind::kCountdownNotClosed, 0,
            {"'%{1}' opens no countdown: no closing '%' stands within 4 bytes after the eight date bytes",
             "'%{1}' \x82\xCD\x83\x4A\x83\x45\x83\x93\x83\x67\x83\x5F\x83\x45\x83\x93\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42\x93\xFA\x95\x74" "8\x83\x6F\x83\x43\x83\x67\x82\xCC\x8C\xE3" "4\x83\x6F\x83\x43\x83\x67\x88\xC8\x93\xE0\x82\xC9\x95\xC2\x82\xB6\x82\xE9 '%' \x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1" /* '%{1}' はカウントダウンになりません。日付8バイトの後4バイト以内に閉じる '%' がありません */},
            {std::string(1, c.marker)});
      return;
    case CountdownState::kExpanded:
      break;
  }
  if (c.offsetUnread) {
    w.Add(NoteKind::kCountdownOffsetUnread, 0,
          {"the offset {1} after the date is not a number with an optional sign: it counts as {2}, so the "
           "colour applies from {3}; write for example -3",
           "\x93\xFA\x95\x74\x82\xCC\x8C\xE3\x82\xCC {1} \x82\xCD\x95\x84\x8D\x86\x95\x74\x82\xAB\x82\xCC\x90\x94\x82\xC5\x82\xCD\x82\xC8\x82\xA2\x82\xCC\x82\xC5 {2} \x82\xC6\x82\xDD\x82\xC8\x82\xB3\x82\xEA\x81\x41\x90\x46\x82\xCD{3}\x82\xA9\x82\xE7\x95\x74\x82\xAB\x82\xDC\x82\xB7\x81\x42-3 \x82\xCC\x82\xE6\x82\xA4\x82\xC9\x8F\x91\x82\xAB\x82\xDC\x82\xB7" /* 日付の後の {1} は符号付きの数ではないので {2} とみなされ、色は{3}から付きます。-3 のように書きます */},
          {Quote(c.offsetBytes), std::to_string(-c.threshold),
           c.threshold == 0 ? w.Text({"the date itself", "\x82\xBB\x82\xCC\x93\xFA" /* その日 */})
                            : w.Text({"that many days away", "\x82\xBB\x82\xCC\x93\xFA\x90\x94\x82\xBE\x82\xAF\x82\xB8\x82\xEA\x82\xBD\x93\xFA" /* その日数だけずれた日 */})});
  }
  NoteCountdownDate(w);
  if (c.strayAngle) {
    w.Add(NoteKind::kCountdownStrayAngle, 0,
          {"in a line with a countdown every '<' is read as a field: a '<' that begins no <!YYYYMMDD> turns, "
           "with the bytes up to the next '>', into an error text",
           "\x83\x4A\x83\x45\x83\x93\x83\x67\x83\x5F\x83\x45\x83\x93\x82\xCC\x82\xA0\x82\xE9\x8D\x73\x82\xC5\x82\xCD '<"
           "' \x82\xCD\x82\xB7\x82\xD7\x82\xC4\x97\x93\x82\xC6\x82\xB5\x82\xC4\x93\xC7\x82\xDC\x82\xEA\x82\xDC\x82\xB7"
           "\x81\x42<!YYYYMMDD> \x82\xC5\x8E\x6E\x82\xDC\x82\xE7\x82\xC8\x82\xA2 '<' \x82\xCD\x81\x41\x8E\x9F\x82\xCC '"
           ">' \x82\xDC\x82\xC5\x82\xC6\x88\xEA\x8F\x8F\x82\xC9\x83\x47\x83\x89\x81\x5B\x83\x81\x83\x62\x83\x5A\x81\x5B"
           "\x83\x57\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB7"
           /* カウントダウンのある行では '<' はすべて欄として読まれます。<!YYYYMMDD> で始まらない '<' は、次の '>' までと一緒にエラーメッセージになります */});
  }
  if (c.dateValid && c.colorCount != c.dayCount) {
    w.Add(NoteKind::kCountdownOtherCount, 0,
          {"the colour rule uses the count of the line's last <...> field ({1}), not this countdown's",
           "\x90\x46\x82\xF0\x95\x74\x82\xAF\x82\xE9\x82\xA9\x82\xC7\x82\xA4\x82\xA9\x82\xF0\x8C\x88\x82\xDF\x82\xE9"
           "\x82\xCC\x82\xCD\x81\x41\x82\xB1\x82\xCC\x8D\x73\x82\xCC\x8D\xC5\x8C\xE3\x82\xCC <...> \x97\x93\x82\xCC"
           "\x93\xFA\x90\x94\x81\x69{1}\x81\x6A\x82\xC5\x81\x41\x82\xB1\x82\xCC\x83\x4A\x83\x45\x83\x93\x83\x67\x83\x5F"
           "\x83\x45\x83\x93\x82\xCC\x93\xFA\x90\x94\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1"
           /* 色を付けるかどうかを決めるのは、この行の最後の <...> 欄の日数（{1}）で、このカウントダウンの日数ではありません */},
          {std::to_string(c.colorCount)});
  }
}

void NoteFieldsWithoutPrefix(NoteWriter& w, const BrokenDownTime& now) {
  // What the fields would do with a prefix, read by the interpreter itself.
  SjisString scratch(w.line().raw);
  FieldTrace dateField, timeField;
  ExpandDateTimeFields(scratch, now, &dateField, &timeField);
  const bool date = dateField.found;
  const bool time = timeField.found;
  const bool countdown = OpensCountdown(scratch.View());
  if (!date && !time && !countdown) return;
  std::string what;
  const std::string comma = w.Text({", ", "\x81\x41" /* 、 */});
  if (date) what += "%DATE";
  if (time) what += (what.empty() ? "" : comma) + "%TIME";
  if (countdown) what += (what.empty() ? "" : comma) + w.Text({"countdown", "\x83\x4A\x83\x45\x83\x93\x83\x67\x83\x5F\x83\x45\x83\x93" /* カウントダウン */});
  w.Add(NoteKind::kFieldWithoutPrefix, 0,
        {"the line has no prefix, so its fields ({1}) are shown as written; begin the line with #| to expand "
         "them",
         "\x82\xB1\x82\xCC\x8D\x73\x82\xC9\x82\xCD\x8F\x91\x8E\xAE\x82\xAA\x82\xC8\x82\xA2\x82\xCC\x82\xC5\x81\x41"
         "\x97\x93\x81\x69{1}\x81\x6A\x82\xCD\x82\xBB\x82\xCC\x82\xDC\x82\xDC\x95\x5C\x8E\xA6\x82\xB3\x82\xEA\x82\xDC"
         "\x82\xB7\x81\x42\x92\x75\x82\xAB\x8A\xB7\x82\xA6\x82\xE9\x82\xC9\x82\xCD\x8D\x73\x93\xAA\x82\xC9 #| \x82\xF0"
         "\x95\x74\x82\xAF\x82\xDC\x82\xB7" /* この行には書式がないので、欄（{1}）はそのまま表示されます。置き換えるには行頭に #| を付けます */},
        {what});
}

void NoteStamps(NoteWriter& w, const ExplainSettings& settings) {
  if (settings.boardLines) return;
  const SjisString upper = SjisString(w.line().raw).ToUpper();
  if (upper.Locate("%UPDATE") == 0 && upper.Locate("%UPTIME") == 0) return;
  w.Add(NoteKind::kStampOutsideBoard, 0,
        {"%UPDATE and %UPTIME are expanded only in board files; in the memo they are shown as written",
         "%UPDATE \x82\xC6 %UPTIME \x82\xAA\x93\x57\x8A\x4A\x82\xB3\x82\xEA\x82\xE9\x82\xCC\x82\xCD\x8C\x66\x8E\xA6\x94\xC2\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x92\x86\x82\xBE\x82\xAF\x82\xC5\x82\xB7\x81\x42\x83\x81\x83\x82\x82\xC5\x82\xCD\x82\xBB\x82\xCC\x82\xDC\x82\xDC\x95\x5C\x8E\xA6\x82\xB3\x82\xEA\x82\xDC\x82\xB7" /* %UPDATE と %UPTIME が展開されるのは掲示板ファイルの中だけです。メモではそのまま表示されます */});
}

// ---- links

bool BeginsWithFolded(std::string_view text, std::string_view word) {
  if (text.size() < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const char c = text[i];
    const char folded = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c;
    if (folded != word[i]) return false;
  }
  return true;
}

void NoteNotALink(NoteWriter& w, std::string_view trimmed) {
  for (std::string_view word : {"http", "mailto", "news", "ftp", "file"}) {
    if (BeginsWithFolded(trimmed, word)) {
      w.Add(NoteKind::kNotALink, 0,
            {"not a link: scheme words are matched case-sensitively, only \"{1}\" in small letters begins a link",
             "\x83\x8A\x83\x93\x83\x4E\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42\x83\x58\x83\x4C\x81\x5B\x83\x80\x96\xBC\x82\xCD\x91\xE5\x95\xB6\x8E\x9A\x82\xC6\x8F\xAC\x95\xB6\x8E\x9A\x82\xF0\x8B\xE6\x95\xCA\x82\xB5\x81\x41\x8F\xAC\x95\xB6\x8E\x9A\x82\xCC \"{1}\" \x82\xC5\x8E\x6E\x82\xDC\x82\xE9\x8D\x73\x82\xBE\x82\xAF\x82\xAA\x83\x8A\x83\x93\x83\x4E\x82\xC5\x82\xB7" /* リンクになりません。スキーム名は大文字と小文字を区別し、小文字の "{1}" で始まる行だけがリンクです */},
            {std::string(word)});
      return;
    }
  }
  if (trimmed.find("://") != std::string_view::npos) {
    w.Add(NoteKind::kNotALink, 0,
          {"not a link: a line is a link only when its text (after the prefix) begins with the address",
           "\x83\x8A\x83\x93\x83\x4E\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42\x83\x8A\x83\x93\x83\x4E"
           "\x82\xC9\x82\xC8\x82\xE9\x82\xCC\x82\xCD\x81\x41\x8F\x91\x8E\xAE\x8E\x77\x92\xE8\x82\xCC\x8C\xE3\x82\xCC"
           "\x96\x7B\x95\xB6\x82\xAA\x83\x41\x83\x68\x83\x8C\x83\x58\x82\xC5\x8E\x6E\x82\xDC\x82\xE9\x8D\x73\x82\xBE"
           "\x82\xAF\x82\xC5\x82\xB7" /* リンクになりません。リンクになるのは、書式指定の後の本文がアドレスで始まる行だけです */});
  }
}

void NoteLink(NoteWriter& w) {
  const LineExplanation& e = w.line();
  const LinkTrace& link = e.link;
  const SjisString trimmed = e.prepared.lineText.TrimBlanks();
  if (link.form == LinkForm::kNone) {
    NoteNotALink(w, trimmed.View());
    return;
  }
  if (link.form == LinkForm::kTitled && !link.titleHasBar) {
    w.Add(NoteKind::kLinkTitleWithoutBar, 0,
          {"the titled link has no '|' after its title (a '|' that is the second byte of a character does not "
           "count): its last byte serves as the separator, so the title loses it and there is no command",
           "\x91\xE8\x96\xBC\x95\x74\x82\xAB\x83\x8A\x83\x93\x83\x4E\x82\xCC\x91\xE8\x96\xBC\x82\xCC\x8C\xE3\x82\xC9 '|' \x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x69\x95\xB6\x8E\x9A\x82\xCC" "2\x83\x6F\x83\x43\x83\x67\x96\xDA\x82\xCC '|' \x82\xCD\x90\x94\x82\xA6\x82\xDC\x82\xB9\x82\xF1\x81\x6A\x81\x42\x8D\xC5\x8C\xE3\x82\xCC" "1\x83\x6F\x83\x43\x83\x67\x82\xAA\x8B\xE6\x90\xD8\x82\xE8\x82\xC9\x82\xC8\x82\xE9\x82\xCC\x82\xC5\x81\x41\x91\xE8\x96\xBC\x82\xA9\x82\xE7\x82\xBB\x82\xCC" "1\x83\x6F\x83\x43\x83\x67\x82\xAA\x8C\x87\x82\xAF\x81\x41\x83\x52\x83\x7D\x83\x93\x83\x68\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1" /* 題名付きリンクの題名の後に '|' がありません（文字の2バイト目の '|' は数えません）。最後の1バイトが区切りになるので、題名からその1バイトが欠け、コマンドはありません */});
  }
  const bool automatic = link.form == LinkForm::kDrivePath || link.form == LinkForm::kUncPath ||
                         link.form == LinkForm::kScheme;
  if (automatic && link.launch && !link.launch->parameters.empty()) {
    w.Add(NoteKind::kLinkCommandSplit, 0,
          {"blanks or commas split the command: the click opens {1} with the rest as parameters; write the line "
           "as !\"...\" to open the whole text",
           "\x8B\xF3\x94\x92\x82\xA9\x83\x52\x83\x93\x83\x7D\x82\xC5\x83\x52\x83\x7D\x83\x93\x83\x68\x82\xAA\x95\xAA\x82\xA9\x82\xEA\x82\xDC\x82\xB7\x81\x42\x83\x4E\x83\x8A\x83\x62\x83\x4E\x82\xB7\x82\xE9\x82\xC6 {1} \x82\xAA\x8A\x4A\x82\xAB\x81\x41\x8E\x63\x82\xE8\x82\xCD\x83\x70\x83\x89\x83\x81\x81\x5B\x83\x5E\x81\x5B\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB7\x81\x42\x91\x53\x91\xCC\x82\xF0\x8A\x4A\x82\xAD\x82\xC9\x82\xCD !\"...\" \x82\xC6\x8F\x91\x82\xAB\x82\xDC\x82\xB7" /* 空白かコンマでコマンドが分かれます。クリックすると {1} が開き、残りはパラメーターになります。全体を開くには !"..." と書きます */},
          {Quote(link.launch->program)});
  }
  if (link.form == LinkForm::kScheme) {
    const std::string_view rest = trimmed.View().substr(link.scheme.size());
    if (rest.empty() || rest[0] != ':') {
      w.Add(NoteKind::kSchemeWithoutColon, 0,
            {"the line begins with the word \"{1}\" without a ':' after it, and still is a link",
             "\x8D\x73\x82\xAA \"{1}\" \x82\xC6\x82\xA2\x82\xA4\x8C\xEA\x82\xC5\x8E\x6E\x82\xDC\x82\xE9\x82\xCC\x82\xC5\x81\x41\x8C\xE3\x82\xC9 ':' \x82\xAA\x82\xC8\x82\xAD\x82\xC4\x82\xE0\x83\x8A\x83\x93\x83\x4E\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB7" /* 行が "{1}" という語で始まるので、後に ':' がなくてもリンクになります */},
            {link.scheme});
    }
  }
}

}  // namespace

bool HasNote(const std::vector<Note>& notes, NoteKind kind) { return FindNote(notes, kind) != nullptr; }

const Note* FindNote(const std::vector<Note>& notes, NoteKind kind) {
  for (const Note& note : notes) {
    if (note.kind == kind) return &note;
  }
  return nullptr;
}

ExplainSettings DefaultSettings() {
  ExplainSettings settings;
  settings.baseFont.lfHeight = -12;
  settings.baseFont.lfWeight = 400;
  settings.baseFont.lfCharSet = kShiftJisCharset;
  settings.textColor = MakeRgb(0, 0, 0);
  return settings;
}

LineExplanation ExplainLine(std::string_view line, int number, const ExplainSettings& settings,
                            const Clock& clock) {
  LineExplanation e;
  e.number = number;
  e.raw = std::string(line);
  e.prepared = PrepareLine(line, LineContext{settings.baseFont, settings.textColor, &clock});

  // The interpreter alone gives the format before a link underlines it, and
  // its trace tells how it read the line.
  const SjisString lineText = line.empty() ? SjisString(" ") : SjisString(line);
  e.markupFormat = LineFormat{settings.baseFont, kAlignLeft, settings.textColor};
  SjisString visible;
  MarkupTrace trace;
  InterpretLineMarkup(lineText, visible, e.markupFormat.alignment, e.markupFormat.color,
                      e.markupFormat.font, clock, &trace);
  e.prefix = std::move(trace.prefix);
  e.date = std::move(trace.date);
  e.time = std::move(trace.time);
  e.countdown = std::move(trace.countdown);
  e.link = TraceLink(e.prepared.lineText.View());

  NoteWriter w(e, settings.language);
  NotePrefix(w, clock);
  if (e.prefix.found) {
    NoteField(w, e.date, "%DATE");
    NoteField(w, e.time, "%TIME");
    NoteTimeStandsStill(w, settings);
    NoteCountdown(w);
  } else {
    NoteFieldsWithoutPrefix(w, clock.LocalNow());
  }
  NoteStamps(w, settings);
  NoteLink(w);
  return e;
}

std::vector<LineExplanation> ExplainText(std::string_view text, const ExplainSettings& settings,
                                         const Clock& clock) {
  ExplainSettings whole = settings;
  whole.memoShowsTime = settings.memoShowsTime || MemoShowsTime(text);
  std::vector<LineExplanation> lines;
  LineCursor cursor(text);
  std::string_view line;
  while (cursor.Next(line)) {
    lines.push_back(ExplainLine(line, static_cast<int>(lines.size()) + 1, whole, clock));
  }
  return lines;
}

}  // namespace kn::explain
