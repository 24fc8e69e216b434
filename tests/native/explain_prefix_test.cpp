// The explainer's reading of format prefixes: where the prefix ends, which
// byte set each format item, and the notes on surprising readings.
#include <gtest/gtest.h>

#include <string>

#include "explain/line_explanation.h"
#include "system/clock.h"
#include "markup/civil_date.h"

namespace kn::explain {
namespace {

const std::string kPo = "\x83\x7C";   // ポ: second byte '|'
const std::string kO = "\x83\x49";    // オ: second byte 'I'
const std::string kI = "\x83\x43";    // イ: second byte 'C'
const std::string kAka = "\x90\xD4";  // 赤

LineExplanation Explain(const std::string& line, bool boardLines = false) {
  const FixedClock clock(MakeLocalTime(2000, 12, 25, 12, 0, 0));
  ExplainSettings settings = DefaultSettings();
  settings.boardLines = boardLines;
  return ExplainLine(line, 1, settings, clock);
}

struct PrefixCase {
  const char* name;
  std::string line;
  bool found;
  int lead, bar;
  int bold, italic, strikeOut, underline;  // positions, 0 = off
};

const PrefixCase kPrefixCases[] = {
    {"plain prefix", "#|abc", true, 1, 2, 0, 0, 0, 0},
    {"blanks before the lead count", "  #u|text  ", true, 3, 5, 0, 0, 0, 4},
    {"every flag", "#bisu|x", true, 1, 6, 2, 3, 4, 5},
    {"flags in any case", "#BIsU|x", true, 1, 6, 2, 3, 4, 5},
    {"colour then bold", "#c" + kAka + "b|x", true, 1, 6, 5, 0, 0, 0},
    {"only the first of a letter", "#bb|x", true, 1, 4, 2, 0, 0, 0},
    {"po closes the prefix", "#" + kPo + "|x", true, 1, 3, 0, 0, 0, 0},
    {"o switches italic on", "#" + kO + "|x", true, 1, 4, 0, 3, 0, 0},
    {"unclosed face lends its letters", "#FACE=\"Arial|x", true, 1, 13, 0, 10, 0, 0},
    {"closed face hides its letters", "#FACE=\"Bius\"|x", true, 1, 13, 0, 0, 0, 0},
    {"too short", "#|", false, 0, 0, 0, 0, 0, 0},
    {"no bar", "#bi", false, 0, 0, 0, 0, 0, 0},
    {"no lead", "x#|a", false, 0, 0, 0, 0, 0, 0},
};

TEST(ExplainPrefix, EndAndFlagPositions) {
  for (const PrefixCase& c : kPrefixCases) {
    SCOPED_TRACE(c.name);
    const LineExplanation e = Explain(c.line);
    EXPECT_EQ(e.prefix.found, c.found);
    EXPECT_EQ(e.prefix.leadPosition, c.lead);
    EXPECT_EQ(e.prefix.barPosition, c.bar);
    EXPECT_EQ(e.prefix.bold.position, c.bold);
    EXPECT_EQ(e.prefix.italic.position, c.italic);
    EXPECT_EQ(e.prefix.strikeOut.position, c.strikeOut);
    EXPECT_EQ(e.prefix.underline.position, c.underline);
    // The positions explain the interpreter's format, never another one.
    EXPECT_EQ(e.markupFormat.font.lfWeight, c.bold != 0 ? 700 : 400);
    EXPECT_EQ(e.markupFormat.font.lfItalic, c.italic != 0 ? 1 : 0);
    EXPECT_EQ(e.markupFormat.font.lfUnderline, c.underline != 0 ? 1 : 0);
  }
}

TEST(ExplainPrefix, Absence) {
  EXPECT_EQ(Explain("#|").prefix.absence, PrefixAbsence::kTooShort);
  EXPECT_EQ(Explain("ab|c").prefix.absence, PrefixAbsence::kNoLead);
  EXPECT_EQ(Explain("#abc").prefix.absence, PrefixAbsence::kNoBar);
  EXPECT_EQ(Explain(" \t").prefix.absence, PrefixAbsence::kTooShort);
}

struct ColorCase {
  const char* name;
  std::string line;
  int position, length, nameIndex, untried;
  bool insideFace, fromTrailByte;
  ColorRef color;  // the interpreter's colour for the line
};

const ColorCase kColorCases[] = {
    {"kanji name", "#c" + kAka + "|x", 2, 3, 7, 0, false, false, MakeRgb(255, 0, 0)},
    {"hexadecimal", "#c0080ff|x", 2, 7, -1, 0, false, false, MakeRgb(0, 0x80, 0xFF)},
    {"unreadable", "#c123|x", 2, 0, -1, 0, false, false, 0},
    {"hidden behind FACE", "#FACE=\"Arial\"cFF0000|x", 4, 0, -1, 14, true, false, 0},
    {"c after a face with C in its name", "#FACE=\"MS Gothic\"c" + kAka + "|x", 4, 0, -1, 18, true, false, 0},
    {"colour before FACE works", "#c" + kAka + "FACE=\"Arial\"|x", 2, 3, 7, 0, false, false, MakeRgb(255, 0, 0)},
    {"a failed first c hides a good one", "#cGG0000cFF0000|x", 2, 0, -1, 9, false, false, 0},
    {"second colour ignored", "#cFF0000c0000FF|x", 2, 7, -1, 9, false, false, MakeRgb(255, 0, 0)},
    {"colour from the second byte of i", "#" + kI + "FF0000|x", 3, 7, -1, 0, false, true, MakeRgb(255, 0, 0)},
};

TEST(ExplainPrefix, ColourItem) {
  for (const ColorCase& c : kColorCases) {
    SCOPED_TRACE(c.name);
    const LineExplanation e = Explain(c.line);
    const ColorItem& item = e.prefix.color;
    EXPECT_EQ(item.position, c.position);
    EXPECT_EQ(item.length, c.length);
    EXPECT_EQ(item.nameIndex, c.nameIndex);
    EXPECT_EQ(item.untriedPosition, c.untried);
    EXPECT_EQ(item.insideFace, c.insideFace);
    EXPECT_EQ(item.fromTrailByte, c.fromTrailByte);
    EXPECT_EQ(e.markupFormat.color, c.color);
  }
}

TEST(ExplainPrefix, FacesAndSize) {
  const LineExplanation both = Explain("#FACE=\"Gothic\"FACEA=\"Arial\"+3|x");
  EXPECT_TRUE(both.prefix.face.closed);
  EXPECT_EQ(both.prefix.face.name, "GOTHIC");
  EXPECT_EQ(both.prefix.ansiFace.position, 15);
  EXPECT_EQ(both.prefix.ansiFace.name, "ARIAL");
  EXPECT_STREQ(both.markupFormat.font.lfFaceName, "ARIAL");
  EXPECT_EQ(both.markupFormat.font.lfCharSet, 0);
  EXPECT_EQ(both.prefix.size.sign, '+');
  EXPECT_EQ(both.prefix.size.digit, 3);
  EXPECT_EQ(both.markupFormat.font.lfHeight, -18);

  const LineExplanation minus = Explain("#-2|x");
  EXPECT_EQ(minus.prefix.size.sign, '-');
  EXPECT_EQ(minus.prefix.size.position, 2);
  EXPECT_EQ(minus.markupFormat.font.lfHeight, -8);
}

struct NoteCase {
  const char* name;
  std::string line;
  NoteKind kind;
  int position;
};

const std::string kLongFace = "#FACE=\"" + std::string(40, 'X') + "\"|x";

const NoteCase kNoteCases[] = {
    {"po closes the prefix", "#" + kPo + "|x", NoteKind::kBarIsTrailByte, 3},
    {"o turns italic on", "#" + kO + "|x", NoteKind::kItemFromTrailByte, 3},
    {"i starts a colour", "#" + kI + "FF0000|x", NoteKind::kItemFromTrailByte, 3},
    {"colour behind FACE", "#FACE=\"Arial\"cFF0000|x", NoteKind::kColorHiddenByFace, 14},
    {"c after FACE", "#FACE=\"MS Gothic\"c" + kAka + "|x", NoteKind::kColorHiddenByFace, 18},
    {"second colour", "#cFF0000c0000FF|x", NoteKind::kColorNotTried, 9},
    {"c that begins no colour", "#c123|x", NoteKind::kColorUnreadable, 2},
    {"unclosed face", "#FACE=\"Arial|x", NoteKind::kFaceUnclosed, 2},
    {"face name cut", kLongFace, NoteKind::kFaceNameCut, 2},
    {"minus hidden by plus", "#+2-3|x", NoteKind::kMinusIgnored, 4},
    {"plus without digit", "#+x|x", NoteKind::kSizeWithoutDigit, 2},
    {"lead without bar", "#bold", NoteKind::kLeadWithoutPrefix, 0},
    {"date without prefix", "Today %DATE%", NoteKind::kFieldWithoutPrefix, 0},
    {"countdown without prefix", "\x82\xA0\x82\xC6%!20001231%", NoteKind::kFieldWithoutPrefix, 0},
    {"stamp in the memo", "#|%UPDATE%", NoteKind::kStampOutsideBoard, 0},
};

TEST(ExplainPrefix, Notes) {
  for (const NoteCase& c : kNoteCases) {
    SCOPED_TRACE(c.name);
    const LineExplanation e = Explain(c.line);
    const Note* note = FindNote(e.notes, c.kind);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->position, c.position);
    EXPECT_FALSE(note->text.empty());
  }
}

TEST(ExplainPrefix, NoNotesWhereNothingSurprises) {
  for (const std::string& line :
       {std::string("#|abc"), "#c" + kAka + "FACE=\"Arial\"|x", std::string("#-2|x"), std::string("plain text"),
        std::string("#bisu+2|x"), std::string("")}) {
    SCOPED_TRACE(line);
    EXPECT_TRUE(Explain(line).notes.empty());
  }
  // Board lines have had their stamps expanded already.
  EXPECT_FALSE(HasNote(Explain("#|%UPDATE%", true).notes, NoteKind::kStampOutsideBoard));
}

TEST(ExplainPrefix, FaceCutNoteShowsWhatTheFontGets) {
  const LineExplanation e = Explain(kLongFace);
  EXPECT_EQ(std::string(e.markupFormat.font.lfFaceName), std::string(31, 'X'));
  EXPECT_NE(FindNote(e.notes, NoteKind::kFaceNameCut)->text.find(std::string(31, 'X')), std::string::npos);
}

}  // namespace
}  // namespace kn::explain
