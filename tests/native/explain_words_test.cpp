// The explainer in both languages: every note says, in the report's
// language, what the line does and, for the likely mistakes, what was
// probably meant; the rows of every kind of line are said in Japanese too.
#include <gtest/gtest.h>

#include <string>

#include "explain/explain_options.h"
#include "explain/filled_words.h"
#include "explain/line_explanation.h"
#include "explain/report_writer.h"
#include "system/clock.h"
#include "markup/civil_date.h"

namespace kn::explain {
namespace {

const BrokenDownTime kNewYear = MakeLocalTime(2027, 1, 1, 12, 0, 0);

LineExplanation ExplainIn(const std::string& line, Language language) {
  ExplainSettings settings = DefaultSettings();
  settings.language = language;
  return ExplainLine(line, 1, settings, FixedClock(kNewYear));
}

std::string FactsIn(const std::string& line, Language language) {
  ExplainSettings settings = DefaultSettings();
  settings.language = language;
  return DescribeLineFacts(ExplainLine(line, 1, settings, FixedClock(kNewYear)), settings, kNewYear);
}

// Words of the English report that a Japanese one must not hold.
void ExpectNoEnglish(const std::string& japanese) {
  for (const char* word : {" at byte", "byte ", "from ", "note:", "prefix", "shown", "probably", " the "}) {
    EXPECT_EQ(japanese.find(word), std::string::npos) << word << " in: " << japanese;
  }
}

struct MistakeCase {
  const char* name;
  std::string line;
  NoteKind kind;
  std::string meant;  // quoted in the note of both languages; empty: the note names none
};

// "のつもりではありませんか"
const std::string kMeantJa = "\x82\xCC\x82\xC2\x82\xE0\x82\xE8\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x82\xA9";
const std::string kAka = "\x90\xD4";        // 赤
const std::string kDaiji = "\x91\xE5\x8E\x96";  // 大事

const MistakeCase kMistakes[] = {
    {"date pattern runs into the time field", "#cFF0000b+4|Big red %DATE %TIME", NoteKind::kFieldTakesFieldMark,
     "#cFF0000b+4|Big red %DATE% %TIME"},
    {"date pattern runs into a second date", "#|%DATEYYYY %DATE%", NoteKind::kFieldTakesFieldMark,
     "#|%DATEYYYY% %DATE%"},
    {"date pattern runs into the countdown", "#|%DATE %!20271231%", NoteKind::kFieldTakesCountdownMark,
     "#|%DATE% %!20271231%"},
    {"time pattern runs into the countdown", "#|%TIMEhh:mm %!20271231%", NoteKind::kFieldTakesCountdownMark,
     "#|%TIMEhh:mm% %!20271231%"},
    {"full-width lead and bar", "\x81\x94" "c" + kAka + "\x81\x62" + kDaiji, NoteKind::kFullWidthMark,
     "#c" + kAka + "|" + kDaiji},
    {"full-width dollar", "  \x81\x90|x", NoteKind::kFullWidthMark, "  $|x"},
    {"full-width bar after an ASCII lead", "%b\x81\x62x", NoteKind::kFullWidthMark, "%b|x"},
    {"full-width percent", "\x81\x93u|x", NoteKind::kFullWidthMark, "%u|x"},
    {"time in small letters", "#|%time%", NoteKind::kTimeStandsStill, "#|%TIME%"},
    {"time in mixed case", "#|now %Timehh:mm%", NoteKind::kTimeStandsStill, "#|now %TIMEhh:mm%"},
    {"face without quotes", "#FACE=Arial|x", NoteKind::kFaceUnquoted, "FACE=\"Arial\""},
    {"countdown date with slashes", "#|%!2027/12/31%", NoteKind::kCountdownBadDate, "%!20271231%"},
    {"countdown date too short", "#|%!2027ABCD%", NoteKind::kCountdownBadDate, "%!YYYYMMDD%"},
    {"countdown day beyond the month", "#|%!20270231%", NoteKind::kCountdownDateCarried, "2027-02-28"},
    {"countdown month and day swapped", "#|%!20273112%", NoteKind::kCountdownDateCarried, "2027-12-31"},
};

TEST(ExplainWords, EachLikelyMistakeSaysWhatWasMeantInBothLanguages) {
  for (const MistakeCase& c : kMistakes) {
    SCOPED_TRACE(c.name);
    const LineExplanation english = ExplainIn(c.line, Language::kEnglish);
    const LineExplanation japanese = ExplainIn(c.line, Language::kJapanese);
    const Note* en = FindNote(english.notes, c.kind);
    const Note* ja = FindNote(japanese.notes, c.kind);
    ASSERT_NE(en, nullptr);
    ASSERT_NE(ja, nullptr);
    EXPECT_NE(en->text.find("probably meant"), std::string::npos) << en->text;
    EXPECT_NE(ja->text.find(kMeantJa), std::string::npos) << ja->text;
    EXPECT_NE(en->text.find(c.meant), std::string::npos) << en->text;
    EXPECT_NE(ja->text.find(c.meant), std::string::npos) << ja->text;
    ExpectNoEnglish(ja->text);
  }
}

TEST(ExplainWords, TheMeantLinesReadAsMeant) {
  // A line the note proposes no longer has the note: the field or prefix reads.
  for (const MistakeCase& c : kMistakes) {
    if (c.meant.empty() || c.meant.find('|') == std::string::npos) continue;
    SCOPED_TRACE(c.name);
    const LineExplanation fixed = ExplainIn(c.meant, Language::kEnglish);
    EXPECT_FALSE(HasNote(fixed.notes, c.kind));
    EXPECT_TRUE(fixed.prefix.found);
  }
  const LineExplanation both = ExplainIn("#cFF0000b+4|Big red %DATE% %TIME", Language::kEnglish);
  EXPECT_TRUE(both.date.found && both.time.found);
  EXPECT_EQ(ExplainIn("#|%DATE% %!20271231%", Language::kEnglish).countdown.dayCount, 364);
}

TEST(ExplainWords, NoMistakeWhereNoneIsMade) {
  const struct {
    std::string line;
    NoteKind kind;
  } kFine[] = {
      {"#|%DATE% %TIME%", NoteKind::kFieldTakesFieldMark},
      {"#|%DATE%%!20271231%", NoteKind::kFieldTakesCountdownMark},
      {"#|%TIME%", NoteKind::kTimeStandsStill},
      {"\x81\x94 is a sign", NoteKind::kFullWidthMark},              // no bar at all
      {"\x81\x94\x81\x62", NoteKind::kFullWidthMark},                // too short for a prefix even in ASCII
      {"#FACE=\"Arial\"|x", NoteKind::kFaceUnquoted},
      {"#|%!20271231%", NoteKind::kCountdownBadDate},
      {"#|%!20271231%", NoteKind::kCountdownDateCarried},
  };
  for (const auto& c : kFine) {
    SCOPED_TRACE(c.line);
    EXPECT_FALSE(HasNote(ExplainIn(c.line, Language::kJapanese).notes, c.kind));
  }
  // The chip ticks for the whole memo: another line's %TIME makes %time tick too.
  ExplainSettings settings = DefaultSettings();
  const std::vector<LineExplanation> memo = ExplainText("#|%time%\n#|%TIME%", settings, FixedClock(kNewYear));
  EXPECT_FALSE(HasNote(memo[0].notes, NoteKind::kTimeStandsStill));
  // Board files do not tick for %TIME at all.
  settings.boardLines = true;
  EXPECT_FALSE(HasNote(ExplainLine("#|%time%", 1, settings, FixedClock(kNewYear)).notes, NoteKind::kTimeStandsStill));
}

// One line for every kind of note: each is said in Japanese, not in English.
const std::string kEveryNote[] = {
    "#\x83\x7C|x", "#\x83I|x", "#FACE=\"Arial\"cFF0000|x", "#cFF0000c0000FF|x", "#c123|x", "#FACE=\"Arial|x",
    "#FACE=\"" + std::string(40, 'X') + "\"|x", "#+2-3|x", "#+x|x", "#bold", "Today %DATE%", "#|%UPDATE%",
    "#|%DATEYYYY% and %DATEYYYY%", "#|%DATE" + std::string(50, 'x') + "Z", "#|50% %!20001231%", "#|%!20001231",
    "#|%!20001231+x%", "#|a<b %!20001231%", "#|%!20001231% <!20010101>", "!=Title", "C:\\Program Files\\x.exe",
    "newsletter", "HTTP://x",
};

TEST(ExplainWords, EveryNoteIsSaidInJapanese) {
  for (const std::string& line : kEveryNote) {
    SCOPED_TRACE(line);
    const LineExplanation english = ExplainIn(line, Language::kEnglish);
    const LineExplanation japanese = ExplainIn(line, Language::kJapanese);
    ASSERT_FALSE(japanese.notes.empty());
    ASSERT_EQ(japanese.notes.size(), english.notes.size());
    for (std::size_t i = 0; i < japanese.notes.size(); ++i) {
      EXPECT_EQ(japanese.notes[i].kind, english.notes[i].kind);
      ExpectNoEnglish(japanese.notes[i].text);
    }
  }
}

struct RowCase {
  const char* name;
  std::string line;
  std::string english;
  std::string japanese;
};

const RowCase kRows[] = {
    {"no prefix", "plain", "prefix: none (does not begin with #, $ or %)",
     "\x8F\x91\x8E\xAE: \x82\xC8\x82\xB5\x81\x69#\x81\x41$\x81\x41% \x82\xCC\x82\xC7\x82\xEA\x82\xC5\x82\xE0\x8E\x6E\x82\xDC\x82\xE7\x82\xC8\x82\xA2\x81\x6A" /* 書式: なし（#、$、% のどれでも始まらない） */},
    {"prefix and alignment", "$b|x", "prefix: bytes 1-3, ended by the '|' at byte 3; alignment centred ('$')",
     "\x8F\x91\x8E\xAE: 1-3\x83\x6F\x83\x43\x83\x67\x96\xDA\x81\x41" "3\x83\x6F\x83\x43\x83\x67\x96\xDA\x82\xCC '|' "
     "\x82\xDC\x82\xC5\x81\x42\x94\x7A\x92\x75: \x92\x86\x89\x9B\x8A\xF1\x82\xB9\x81\x69'$'\x81\x6A"
     /* 書式: 1-3バイト目、3バイト目の '|' まで。配置: 中央寄せ（'$'） */},
    {"colour from the table", "#c" + kAka + "|x", "colour: FF0000 (" + kAka + ", colour table), from",
     "\x90\x46: FF0000\x81\x69\x90\x46\x82\xCC\x96\xBC\x91\x4F \x90\xD4\x81\x6A\x81\x41" "2\x83\x6F\x83\x43\x83\x67"
     "\x96\xDA\x82\xCC \"c\x90\xD4\" \x82\xA9\x82\xE7" /* 色: FF0000（色の名前 赤）、2バイト目の "c赤" から */},
    {"face", "#FACE=\"Arial\"|x", "face: \"ARIAL\", charset 128 (Shift-JIS), from FACE= at byte 2",
     "\x8F\x91\x91\xCC: \"ARIAL\"\x81\x41\x95\xB6\x8E\x9A\x83\x5A\x83\x62\x83\x67 128\x81\x69\x83\x56\x83\x74\x83\x67JI"
     "S\x81\x6A\x81\x41" "2\x83\x6F\x83\x43\x83\x67\x96\xDA\x82\xCC FACE= \x82\xA9\x82\xE7"
     /* 書体: "ARIAL"、文字セット 128（シフトJIS）、2バイト目の FACE= から */},
    {"flags", "#u|x", "underline: on, from 'u' at byte 2", "\x89\xBA\x90\xFC: \x82\xA0\x82\xE8\x81\x41" "2\x83\x6F"
                                                           "\x83\x43\x83\x67\x96\xDA\x82\xCC 'u' \x82\xA9\x82\xE7"
                                                           /* 下線: あり、2バイト目の 'u' から */},
    {"height", "#+4|x", "height: -12 -> -20, from '+4' at byte 2", "\x8D\x82\x82\xB3: -12 -> -20\x81\x41" "2\x83\x6F\x83\x43\x83\x67\x96\xDA\x82\xCC '+4' \x82\xA9\x82\xE7" /* 高さ: -12 -> -20、2バイト目の '+4' から */},
    {"date field", "#|%DATEYYYY%", "date field \"%DATEYYYY%\": pattern \"YYYY\" -> \"2027\"",
     "\x93\xFA\x95\x74\x97\x93 \"%DATEYYYY%\": \x83\x70\x83\x5E\x81\x5B\x83\x93 \"YYYY\" -> \"2027\""
     /* 日付欄 "%DATEYYYY%": パターン "YYYY" -> "2027" */},
    {"time field", "#|%TIME%", "time field \"%TIME%\": default pattern -> \"12:00:00\"",
     "\x8E\x9E\x8D\x8F\x97\x93 \"%TIME%\": \x8A\xF9\x92\xE8\x82\xCC\x83\x70\x83\x5E\x81\x5B\x83\x93 -> \"12:00:00\""
     /* 時刻欄 "%TIME%": 既定のパターン -> "12:00:00" */},
    {"countdown", "#|%!20270105%", "day count 4 on 2027-01-01, shown as \"4\"",
     "2027-01-01 \x8E\x9E\x93\x5F\x82\xCC\x8E\x63\x82\xE8\x93\xFA\x90\x94 4\x81\x41\x95\x5C\x8E\xA6 \"4\""
     /* 2027-01-01 時点の残り日数 4、表示 "4" */},
    {"countdown colour", "#c" + kAka + "|%!20270105-4%", "today it shows", "\x8D\xA1\x93\xFA\x82\xCD\x95\x74\x82\xA2\x82\xC4\x82\xA2\x82\xDC\x82\xB7" /* 今日は付いています */},
    {"link", "!=Home|http://x", "link: titled, shows \"Home\", underlined, in the link colour",
     "\x83\x8A\x83\x93\x83\x4E: \x91\xE8\x96\xBC\x95\x74\x82\xAB\x81\x41\x95\x5C\x8E\xA6 \"Home\"\x81\x41\x89\xBA\x90\xFC\x95\x74\x82\xAB\x81\x41\x83\x8A\x83\x93\x83\x4E\x82\xCC\x90\x46" /* リンク: 題名付き、表示 "Home"、下線付き、リンクの色 */},
    {"click", "!=Home|http://x", "command: \"http://x\" (Shift-click copies it)",
     "\x83\x52\x83\x7D\x83\x93\x83\x68: \"http://x\"\x81\x69Shift+\x83\x4E\x83\x8A\x83\x62\x83\x4E\x82\xC5\x83\x52\x83\x73\x81\x5B\x81\x6A" /* コマンド: "http://x"（Shift+クリックでコピー） */},
    {"drawn text", "#|x", "draws: \"x\"", "\x95\x5C\x8E\xA6: \"x\"" /* 表示: "x" */},
};

TEST(ExplainWords, EveryKindOfRowInBothLanguages) {
  for (const RowCase& c : kRows) {
    SCOPED_TRACE(c.name);
    const std::string english = FactsIn(c.line, Language::kEnglish);
    const std::string japanese = FactsIn(c.line, Language::kJapanese);
    EXPECT_NE(english.find(c.english), std::string::npos) << english;
    EXPECT_NE(japanese.find(c.japanese), std::string::npos) << japanese;
    ExpectNoEnglish(japanese);
  }
}

TEST(ExplainWords, ValuesGoWhereTheTextPutsThem) {
  EXPECT_EQ(Fill("{2} before {1}", {"a", "b"}), "b before a");
  EXPECT_EQ(Fill("{3} missing", {"a"}), " missing");
  // A trail byte 0x7B looks like "{" but is part of a character: 0x98 0x7B.
  EXPECT_EQ(Fill("\x98{1}", {"x"}), "\x98{1}");
  EXPECT_EQ(Fill("\x98{\x82\xA0{1}", {"x"}), "\x98{\x82\xA0x");
}

}  // namespace
}  // namespace kn::explain
