// The explainer's account of link lines: the form, what the line shows, and
// the program, parameters and working directory a click would launch.
#include <gtest/gtest.h>

#include <string>

#include "explain/line_explanation.h"
#include "system/clock.h"
#include "markup/civil_date.h"

namespace kn::explain {
namespace {

LineExplanation Explain(const std::string& line) {
  const FixedClock clock(MakeLocalTime(2000, 12, 25, 12, 0, 0));
  return ExplainLine(line, 1, DefaultSettings(), clock);
}

struct LinkCase {
  const char* name;
  std::string line;
  LinkForm form;
  std::string display;
  std::string command;
  bool launches;
  std::string program, parameters, directory;
};

const LinkCase kLinks[] = {
    {"untitled", "!notepad.exe a.txt", LinkForm::kUntitled, "notepad.exe a.txt", "notepad.exe a.txt", true,
     "notepad.exe", "a.txt ", ""},
    {"titled", "  !=Memo|notepad.exe /x  ", LinkForm::kTitled, "  Memo", "notepad.exe /x", true, "notepad.exe",
     "/x ", ""},
    {"titled without bar", "!=Title", LinkForm::kTitled, "Titl", "", false, "", "", ""},
    {"drive path with a blank", "C:\\Program Files\\x.exe", LinkForm::kDrivePath, "C:\\Program Files\\x.exe",
     "C:\\Program Files\\x.exe", true, "C:\\Program", "Files\\x.exe ", "C:\\"},
    {"quoted path", "!\"C:\\Program Files\\x.exe\"", LinkForm::kUntitled, "\"C:\\Program Files\\x.exe\"",
     "\"C:\\Program Files\\x.exe\"", true, "C:\\Program Files\\x.exe", "", "C:\\Program Files\\"},
    {"UNC path", "\\\\server\\share\\a.txt", LinkForm::kUncPath, "\\\\server\\share\\a.txt",
     "\\\\server\\share\\a.txt", true, "\\\\server\\share\\a.txt", "", "\\\\server\\share\\"},
    {"mailto with a comma", "mailto:a,b", LinkForm::kScheme, "mailto:a,b", "mailto:a,b", true, "mailto:a", "b ",
     "mailto:"},
    {"kanji with a backslash byte", "C:\\dir\\\x95\x5C", LinkForm::kDrivePath, "C:\\dir\\\x95\x5C",
     "C:\\dir\\\x95\x5C", true, "C:\\dir\\\x95\x5C", "", "C:\\dir\\"},
    {"link after a prefix", "$b|http://x/", LinkForm::kScheme, "http://x/", "http://x/", true, "http://x/", "",
     "http:"},
    {"not a link", "see http://x/", LinkForm::kNone, "", "", false, "", "", ""},
};

TEST(ExplainLink, FormsAndLaunchTriple) {
  for (const LinkCase& c : kLinks) {
    SCOPED_TRACE(c.name);
    const LineExplanation e = Explain(c.line);
    EXPECT_EQ(e.link.form, c.form);
    EXPECT_EQ(e.link.recognized, c.form != LinkForm::kNone);
    EXPECT_EQ(e.link.display, c.display);
    EXPECT_EQ(e.link.command, c.command);
    ASSERT_EQ(e.link.launch.has_value(), c.launches);
    if (c.launches) {
      EXPECT_EQ(e.link.launch->program, c.program);
      EXPECT_EQ(e.link.launch->parameters, c.parameters);
      EXPECT_EQ(e.link.launch->workingDirectory, c.directory);
    }
  }
}

TEST(ExplainLink, SchemeWord) {
  EXPECT_EQ(Explain("newsletter").link.scheme, "news");
  EXPECT_EQ(Explain("ftp").link.scheme, "ftp");
  EXPECT_EQ(Explain("http://x").link.scheme, "http");
}

struct LinkNoteCase {
  const char* name;
  std::string line;
  NoteKind kind;
  bool expected;
};

const LinkNoteCase kLinkNotes[] = {
    {"title without bar", "!=Title", NoteKind::kLinkTitleWithoutBar, true},
    {"title with only a po", "!=a\x83\x7C" "b", NoteKind::kLinkTitleWithoutBar, true},
    {"title with a bar", "!=a|b", NoteKind::kLinkTitleWithoutBar, false},
    {"path split at a blank", "C:\\Program Files\\x.exe", NoteKind::kLinkCommandSplit, true},
    {"quoted path stays whole", "!\"C:\\Program Files\\x.exe\"", NoteKind::kLinkCommandSplit, false},
    {"scheme word without colon", "newsletter", NoteKind::kSchemeWithoutColon, true},
    {"scheme with colon", "news:x", NoteKind::kSchemeWithoutColon, false},
    {"scheme in capitals", "HTTP://x", NoteKind::kNotALink, true},
    {"address after words", "#b|see http://x", NoteKind::kNotALink, true},
    {"plain words", "see you", NoteKind::kNotALink, false},
};

TEST(ExplainLink, Notes) {
  for (const LinkNoteCase& c : kLinkNotes) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HasNote(Explain(c.line).notes, c.kind), c.expected);
  }
}

}  // namespace
}  // namespace kn::explain
