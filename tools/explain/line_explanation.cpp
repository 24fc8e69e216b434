#include "explain/line_explanation.h"

#include <cstring>
#include <string>

#include "explain/report_writer.h"
#include "explain/terminal_text.h"
#include "markup/date_time_format.h"
#include "markup/line_list.h"
#include "markup/countdown.h"
#include "markup/line_markup.h"

namespace kn::explain {
namespace {

std::string At(int position) { return "byte " + std::to_string(position); }

void AddNote(LineExplanation& e, NoteKind kind, int position, std::string text) {
  e.notes.push_back(Note{kind, position, std::move(text)});
}

// The double-byte character whose second byte is at `trailPosition`.
std::string CharacterEndingAt(std::string_view line, int trailPosition) {
  const std::string_view pair = line.substr(static_cast<std::size_t>(trailPosition - 2), 2);
  return Quote(pair) + " (" + HexBytes(pair) + ")";
}

// ---- the prefix

void NoteTrailByteItem(LineExplanation& e, const FlagItem& item, char letter, const char* effect) {
  if (!item.fromTrailByte) return;
  AddNote(e, NoteKind::kItemFromTrailByte, item.position,
          std::string("the '") + letter + "' at " + At(item.position) + " is the second byte of " +
              CharacterEndingAt(e.raw, item.position) + ", yet it " + effect +
              ": the prefix is searched byte by byte");
}

void NoteColor(LineExplanation& e) {
  const ColorItem& c = e.prefix.color;
  if (c.fromTrailByte && (c.length > 0 || c.untriedPosition != 0)) {
    AddNote(e, NoteKind::kItemFromTrailByte, c.position,
            "the 'C' at " + At(c.position) + " is the second byte of " + CharacterEndingAt(e.raw, c.position) +
                ", yet it is the C the colour is read from: the prefix is searched byte by byte");
  }
  if (c.untriedPosition == 0) {
    if (c.position != 0 && c.length == 0 && !c.insideFace && !c.fromTrailByte) {
      AddNote(e, NoteKind::kColorUnreadable, c.position,
              "the 'c' at " + At(c.position) +
                  " begins no colour: a name of the colour table or six hexadecimal digits RRGGBB must follow "
                  "it at once; the colour stays as it was");
    }
    return;
  }
  if (c.insideFace) {
    AddNote(e, NoteKind::kColorHiddenByFace, c.untriedPosition,
            "the colour item at " + At(c.untriedPosition) +
                " is ignored: only the first C of the prefix is read as a colour, and that is the C of "
                "FACE at " + At(c.position) + "; write the colour before FACE=");
  } else if (c.length > 0) {
    AddNote(e, NoteKind::kColorNotTried, c.untriedPosition,
            "the second colour item at " + At(c.untriedPosition) +
                " is ignored: only the first C of the prefix is read as a colour");
  } else {
    AddNote(e, NoteKind::kColorNotTried, c.untriedPosition,
            "the colour item at " + At(c.untriedPosition) +
                " is ignored: only the first C of the prefix is read as a colour, and the one at " +
                At(c.position) + " does not begin a colour");
  }
}

std::string FlagsAfter(const PrefixTrace& p, int position) {
  std::string flags;
  const struct {
    const FlagItem& item;
    const char* name;
  } all[] = {{p.bold, "bold"}, {p.italic, "italic"}, {p.strikeOut, "strike-out"}, {p.underline, "underline"}};
  for (const auto& flag : all) {
    if (flag.item.position > position) flags += std::string(flags.empty() ? "" : ", ") + flag.name;
  }
  return flags;
}

void NoteFace(LineExplanation& e, const FaceItem& face, const char* keyword) {
  if (face.position == 0) return;
  if (!face.closed) {
    const std::string flags = FlagsAfter(e.prefix, face.position);
    AddNote(e, NoteKind::kFaceUnclosed, face.position,
            std::string(keyword) + " at " + At(face.position) +
                " has no closing double quote before the prefix ends: the face stays as it was, and the "
                "item's letters count as format letters" + (flags.empty() ? "" : " (here: " + flags + ")"));
  } else if (face.Cut()) {
    AddNote(e, NoteKind::kFaceNameCut, face.position,
            "the face name " + Quote(face.name) + " is " + std::to_string(face.name.size()) +
                " bytes long; the font holds only 31: " + Quote(face.name.substr(0, 31)));
  }
}

void NoteSize(LineExplanation& e) {
  const SizeItem& size = e.prefix.size;
  if (size.sign == 0) return;
  if (size.ignoredMinus != 0 && size.ignoredMinusDigit >= 0) {
    AddNote(e, NoteKind::kMinusIgnored, size.ignoredMinus,
            "the size '-" + std::to_string(size.ignoredMinusDigit) + "' at " + At(size.ignoredMinus) +
                " is ignored: a prefix that holds a '+' (" + At(size.position) + ") is never read for '-'");
  }
  if (size.digit < 0) {
    AddNote(e, NoteKind::kSizeWithoutDigit, size.position,
            std::string("the '") + size.sign + "' at " + At(size.position) +
                " is not followed by a digit: the height stays as it was" +
                (size.ignoredMinus != 0 ? ", and the '-' is not tried" : ""));
  }
}

void NotePrefix(LineExplanation& e) {
  const PrefixTrace& p = e.prefix;
  if (!p.found) {
    if (p.looksLikePrefix) {
      AddNote(e, NoteKind::kLeadWithoutPrefix, 0,
              std::string("the line begins like a prefix but ") +
                  (p.absence == PrefixAbsence::kNoBar ? "holds no '|'" : "is shorter than 3 bytes") +
                  ": it has no prefix and is shown as written");
    }
    return;
  }
  if (p.barIsTrailByte) {
    AddNote(e, NoteKind::kBarIsTrailByte, p.barPosition,
            "the prefix ends at " + At(p.barPosition) + ", the second byte of " +
                CharacterEndingAt(e.raw, p.barPosition) +
                ", which is a '|' byte: the prefix is searched byte by byte, so the character is cut "
                "and the content begins after it");
  }
  NoteColor(e);
  NoteFace(e, p.face, "FACE=\"");
  NoteFace(e, p.ansiFace, "FACEA=\"");
  NoteTrailByteItem(e, p.bold, 'B', "makes the line bold");
  NoteTrailByteItem(e, p.italic, 'I', "turns italic on");
  NoteTrailByteItem(e, p.strikeOut, 'S', "turns strike-out on");
  NoteTrailByteItem(e, p.underline, 'U', "turns underline on");
  NoteSize(e);
}

// ---- fields

void NoteField(LineExplanation& e, const FieldTrace& field, const char* keyword) {
  if (!field.found) return;
  if (field.laterKeyword) {
    AddNote(e, NoteKind::kFieldNotExpanded, 0,
            std::string("only the first ") + keyword + " field of a line is expanded; a later one stays as written");
  }
  if (field.patternCut) {
    AddNote(e, NoteKind::kDatePatternCut, 0,
            std::string("the ") + keyword +
                " pattern ran 50 bytes without a closing '%': the byte after them was removed with the field");
  }
  if (field.closingOpensCountdown) {
    AddNote(e, NoteKind::kFieldTakesCountdownMark, 0,
            std::string("the ") + keyword +
                " field ends at the '%' that was to open the countdown, so no countdown follows; close the "
                "field with its own '%'");
  }
}

void NoteCountdown(LineExplanation& e) {
  const CountdownTrace& c = e.countdown;
  switch (c.state) {
    case CountdownState::kNone:
      return;
    case CountdownState::kNotFirstPercent:
      AddNote(e, NoteKind::kCountdownNotFirstPercent, 0,
              "the countdown is not expanded: only the first '%' of the text can open one, and that '%' is "
              "not followed by !, $ or @");
      return;
    case CountdownState::kNotClosed:
      AddNote(e, NoteKind::kCountdownNotClosed, 0,
              std::string("'%") + c.marker +
                  "' opens no countdown: no closing '%' stands within 4 bytes after the eight date bytes");
      return;
    case CountdownState::kExpanded:
      break;
  }
  if (!c.dateValid) {
    AddNote(e, NoteKind::kCountdownBadDate, 0,
            "the date bytes " + Quote(c.dateBytes) + " are not eight digits: the field shows an error text");
  } else if (c.carried) {
    AddNote(e, NoteKind::kCountdownDateCarried, 0,
            "the date " + c.dateBytes + " is read as " + DateText(c.date) +
                ": months and days beyond their range carry over");
  }
  if (c.strayAngle) {
    AddNote(e, NoteKind::kCountdownStrayAngle, 0,
            "in a line with a countdown every '<' is read as a field: a '<' that begins no "
            "<!YYYYMMDD> turns, with the bytes up to the next '>', into an error text");
  }
  if (c.dateValid && c.colorCount != c.dayCount) {
    AddNote(e, NoteKind::kCountdownOtherCount, 0,
            "the colour rule uses the count of the line's last <...> field (" + std::to_string(c.colorCount) +
                "), not this countdown's");
  }
}

void NoteFieldsWithoutPrefix(LineExplanation& e, const BrokenDownTime& now) {
  // What the fields would do with a prefix, read by the interpreter itself.
  SjisString scratch(e.raw);
  FieldTrace dateField, timeField;
  ExpandDateTimeFields(scratch, now, &dateField, &timeField);
  const bool date = dateField.found;
  const bool time = timeField.found;
  const bool countdown = OpensCountdown(scratch.View());
  if (!date && !time && !countdown) return;
  std::string what;
  if (date) what += "%DATE";
  if (time) what += std::string(what.empty() ? "" : ", ") + "%TIME";
  if (countdown) what += std::string(what.empty() ? "" : ", ") + "countdown";
  AddNote(e, NoteKind::kFieldWithoutPrefix, 0,
          "the line has no prefix, so its fields (" + what +
              ") are shown as written; begin the line with #| to expand them");
}

void NoteStamps(LineExplanation& e, const ExplainSettings& settings) {
  if (settings.boardLines) return;
  const SjisString upper = SjisString(e.raw).ToUpper();
  if (upper.Locate("%UPDATE") == 0 && upper.Locate("%UPTIME") == 0) return;
  AddNote(e, NoteKind::kStampOutsideBoard, 0,
          "%UPDATE and %UPTIME are expanded only in board files; in the memo they are shown as written");
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

void NoteNotALink(LineExplanation& e, std::string_view trimmed) {
  for (std::string_view word : {"http", "mailto", "news", "ftp", "file"}) {
    if (BeginsWithFolded(trimmed, word)) {
      AddNote(e, NoteKind::kNotALink, 0,
              "not a link: scheme words are matched case-sensitively, only \"" + std::string(word) +
                  "\" in small letters begins a link");
      return;
    }
  }
  if (trimmed.find("://") != std::string_view::npos) {
    AddNote(e, NoteKind::kNotALink, 0,
            "not a link: a line is a link only when its text (after the prefix) begins with the address");
  }
}

void NoteLink(LineExplanation& e) {
  const LinkTrace& link = e.link;
  const SjisString trimmed = e.prepared.lineText.TrimBlanks();
  if (link.form == LinkForm::kNone) {
    NoteNotALink(e, trimmed.View());
    return;
  }
  if (link.form == LinkForm::kTitled && !link.titleHasBar) {
    AddNote(e, NoteKind::kLinkTitleWithoutBar, 0,
            "the titled link has no '|' after its title (a '|' that is the second byte of a character does "
            "not count): its last byte serves as the separator, so the title loses it and there is no command");
  }
  const bool automatic = link.form == LinkForm::kDrivePath || link.form == LinkForm::kUncPath ||
                         link.form == LinkForm::kScheme;
  if (automatic && link.launch && !link.launch->parameters.empty()) {
    AddNote(e, NoteKind::kLinkCommandSplit, 0,
            "blanks or commas split the command: the click opens " + Quote(link.launch->program) +
                " with the rest as parameters; write the line as !\"...\" to open the whole text");
  }
  if (link.form == LinkForm::kScheme) {
    const std::string_view rest = trimmed.View().substr(link.scheme.size());
    if (rest.empty() || rest[0] != ':') {
      AddNote(e, NoteKind::kSchemeWithoutColon, 0,
              "the line begins with the word \"" + link.scheme + "\" without a ':' after it, and still is a link");
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

  const BrokenDownTime now = clock.LocalNow();
  NotePrefix(e);
  if (e.prefix.found) {
    NoteField(e, e.date, "%DATE");
    NoteField(e, e.time, "%TIME");
    NoteCountdown(e);
  } else {
    NoteFieldsWithoutPrefix(e, now);
  }
  NoteStamps(e, settings);
  NoteLink(e);
  return e;
}

std::vector<LineExplanation> ExplainText(std::string_view text, const ExplainSettings& settings,
                                         const Clock& clock) {
  std::vector<LineExplanation> lines;
  LineCursor cursor(text);
  std::string_view line;
  while (cursor.Next(line)) {
    lines.push_back(ExplainLine(line, static_cast<int>(lines.size()) + 1, settings, clock));
  }
  return lines;
}

}  // namespace kn::explain
