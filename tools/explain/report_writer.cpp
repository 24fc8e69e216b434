#include "explain/report_writer.h"

#include <algorithm>
#include <cstdio>

#include "explain/terminal_text.h"
#include "markup/color_spec.h"

namespace kn::explain {
namespace {

std::string At(int position) { return "byte " + std::to_string(position); }

class Rows {
 public:
  explicit Rows(std::string& out) : out_(out) {}
  void Add(const std::string& row, int depth = 1) {
    out_.append(static_cast<std::size_t>(depth) * 2, ' ');
    out_ += row;
    out_ += '\n';
  }

 private:
  std::string& out_;
};

const char* AlignmentName(char lead) {
  if (lead == '$') return "centred";
  if (lead == '%') return "right";
  return "left";
}

const char* AbsenceText(PrefixAbsence absence) {
  switch (absence) {
    case PrefixAbsence::kTooShort: return "shorter than 3 bytes without its blanks";
    case PrefixAbsence::kNoLead: return "does not begin with #, $ or %";
    case PrefixAbsence::kNoBar: return "no '|'";
    case PrefixAbsence::kNone: break;
  }
  return "";
}

std::string FontFace(const LogFont& font) {
  const char* end = std::find(font.lfFaceName, font.lfFaceName + sizeof font.lfFaceName, '\0');
  return std::string(font.lfFaceName, end);
}

// "'b' at byte 5", or for a trail byte the character it belongs to.
std::string Source(const std::string& raw, int position, bool fromTrailByte) {
  if (fromTrailByte) {
    return "the second byte of " + Quote(std::string_view(raw).substr(static_cast<std::size_t>(position - 2), 2)) +
           " at " + At(position);
  }
  return "'" + raw.substr(static_cast<std::size_t>(position - 1), 1) + "' at " + At(position);
}

void DescribeColor(Rows& rows, const LineExplanation& e) {
  const ColorItem& c = e.prefix.color;
  if (c.length == 0) return;
  std::string row = "colour: " + ColorText(c.color);
  if (c.nameIndex >= 0) row += " (" + std::string(ColorNames[c.nameIndex].name) + ", colour table)";
  const std::string_view item = std::string_view(e.raw).substr(static_cast<std::size_t>(c.position - 1),
                                                               static_cast<std::size_t>(c.length));
  rows.Add(row + ", from " + (c.fromTrailByte ? Source(e.raw, c.position, true) + " and the bytes after it"
                                               : Quote(item) + " at " + At(c.position)));
}

void DescribeFace(Rows& rows, const FaceItem& face, const char* keyword, const char* charset, bool replaced) {
  if (face.position == 0 || !face.closed) return;
  rows.Add(std::string("face: ") + Quote(face.name.substr(0, 31)) + ", charset " + charset + ", from " + keyword +
           " at " + At(face.position) + (replaced ? " (FACEA= comes later and wins)" : ""));
}

void DescribeFlag(Rows& rows, const LineExplanation& e, const FlagItem& flag, const char* row) {
  if (flag.position != 0) rows.Add(std::string(row) + ", from " + Source(e.raw, flag.position, flag.fromTrailByte));
}

void DescribePrefix(Rows& rows, const LineExplanation& e, const ExplainSettings& settings) {
  const PrefixTrace& p = e.prefix;
  if (!p.found) {
    if (!e.raw.empty()) rows.Add(std::string("prefix: none (") + AbsenceText(p.absence) + ")");
    return;
  }
  rows.Add("prefix: bytes " + std::to_string(p.leadPosition) + "-" + std::to_string(p.barPosition) +
           ", ended by the '|' at " + At(p.barPosition) + "; alignment " + AlignmentName(p.lead) + " ('" +
           p.lead + "')");
  DescribeColor(rows, e);
  DescribeFace(rows, p.face, "FACE=", "128 (Shift-JIS)", p.ansiFace.closed);
  DescribeFace(rows, p.ansiFace, "FACEA=", "0 (ANSI)", false);
  DescribeFlag(rows, e, p.bold, "weight: 700 (bold)");
  DescribeFlag(rows, e, p.italic, "italic: on");
  DescribeFlag(rows, e, p.strikeOut, "strike-out: on");
  DescribeFlag(rows, e, p.underline, "underline: on");
  if (p.size.sign != 0 && p.size.digit >= 0) {
    rows.Add("height: " + std::to_string(settings.baseFont.lfHeight) + " -> " +
             std::to_string(e.markupFormat.font.lfHeight) + ", from '" + p.size.sign +
             std::to_string(p.size.digit) + "' at " + At(p.size.position));
  }
  if (p.face.closed || p.ansiFace.closed) {
    rows.Add("font face as given to the font: " + Quote(FontFace(e.markupFormat.font)));
  }
}

void DescribeField(Rows& rows, const FieldTrace& field, const char* kind) {
  if (!field.found) return;
  rows.Add(std::string(kind) + " field " + Quote(field.written) + ": " +
           (field.pattern.empty() ? std::string("default pattern") : "pattern " + Quote(field.pattern)) + " -> " +
           Quote(field.value));
}

const char* MarkerName(char marker) {
  if (marker == '$') return "full-width digits";
  if (marker == '@') return "hidden";
  return "ASCII digits";
}

void DescribeColorRule(Rows& rows, const LineExplanation& e) {
  const CountdownTrace& c = e.countdown;
  const bool colored = e.prefix.color.length > 0;
  const std::string colour = colored ? "the prefix colour " + ColorText(e.prefix.color.color) : "a prefix colour";
  std::string row;
  if (c.hasFirstColorDay) {
    row = colour + " shows from " + DateText(c.firstColorDay) + " on (count <= " + std::to_string(c.threshold) + ")";
  } else {
    row = colour + " shows only while the line's count (" + std::to_string(c.colorCount) + ") is <= " +
          std::to_string(c.threshold);
  }
  if (!colored) {
    row += "; this prefix sets none";
  } else {
    row += c.colorShowsToday ? "; today it shows" : "; today the line keeps the text colour";
  }
  rows.Add(row, 2);
}

void DescribeCountdown(Rows& rows, const LineExplanation& e, const BrokenDownTime& now) {
  const CountdownTrace& c = e.countdown;
  if (c.state != CountdownState::kExpanded) return;
  std::string row = "countdown " + Quote(c.written) + ": " + MarkerName(c.marker) + ", date ";
  row += c.dateValid ? DateText(c.date) : Quote(c.dateBytes) + " (not eight digits)";
  row += c.offsetBytes.empty() ? ", no offset" : ", offset " + Quote(c.offsetBytes);
  rows.Add(row + " (threshold " + std::to_string(c.threshold) + ")");
  const CivilDate today{now.year + 1900, now.mon + 1, now.mday};
  if (c.dateValid) {
    rows.Add("day count " + std::to_string(c.dayCount) + " on " + DateText(today) + ", shown as " + Quote(c.shown), 2);
  } else {
    rows.Add("shown as the error text " + Quote(c.shown), 2);
  }
  DescribeColorRule(rows, e);
}

void DescribeLink(Rows& rows, const LineExplanation& e, const ExplainSettings& settings) {
  const LinkTrace& link = e.link;
  if (link.form == LinkForm::kNone) return;
  std::string form = LinkFormName(link.form);
  if (link.form == LinkForm::kScheme) form += " \"" + link.scheme + "\"";
  const bool ownColor = e.markupFormat.color != settings.textColor;
  rows.Add("link: " + form + ", shows " + Quote(link.display) + ", underlined, in " +
           (ownColor ? "its markup colour" : "the link colour"));
  rows.Add("command: " + Quote(link.command) + " (Shift-click copies it)", 2);
  if (!link.launch) {
    rows.Add("click: nothing to launch (the command holds no program)", 2);
    return;
  }
  rows.Add("click opens: program " + Quote(link.launch->program) + ", parameters " +
               Quote(link.launch->parameters) + ", working directory " + Quote(link.launch->workingDirectory),
           2);
}

}  // namespace

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

std::string DescribeLine(const LineExplanation& e, const ExplainSettings& settings, const BrokenDownTime& now) {
  std::string out = "line " + std::to_string(e.number) + ": ";
  out += e.raw.empty() ? "(empty: drawn as one blank)" : Quote(e.raw);
  out += '\n';
  Rows rows(out);
  DescribePrefix(rows, e, settings);
  DescribeField(rows, e.date, "date");
  DescribeField(rows, e.time, "time");
  DescribeCountdown(rows, e, now);
  DescribeLink(rows, e, settings);
  rows.Add("draws: " + Quote(e.prepared.Drawn()));
  for (const Note& note : e.notes) rows.Add("note: " + note.text);
  return out;
}

}  // namespace kn::explain
