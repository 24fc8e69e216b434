// RecognizeLink: which trimmed lines are links, and the display text and the
// command each mode cuts from them.
#include "render/link_recognition.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

namespace kn {
namespace {

struct LinkCase {
  const char* name;
  std::string line;
  std::string display;
  std::string command;
};

// "ポ" (0x83 0x7C): its second byte is a '|'.
const std::string kPo = "\x83\x7C";

const LinkCase kLinks[] = {
    {"untitled 3 bytes", "!ab", "ab", "ab"},
    {"4 bytes with '=' is untitled", "!=ab", "=ab", "=ab"},
    {"titled keeps leading blanks", "  !=Title|cmd /x  ", "  Title", "cmd /x"},
    {"titled without bar drops the last byte", "!=Title", "Titl", ""},
    {"titled without bar, trailing blank", "!=Title ", "Title", ""},
    {"titled ending in bar", "!=Title|", "Title", ""},
    {"titled with empty title", "!=|cmd", "", "cmd"},
    {"shortest titled", "!=a|b", "a", "b"},
    {"title holding po", "!=" + kPo + "|cmd", kPo, "cmd"},
    {"only the first real bar splits", "!=a" + kPo + "b|c|d", "a" + kPo + "b", "c|d"},
    {"only a po, no real bar", "!=x" + kPo + "yz", "x" + kPo + "y", ""},
    {"titled ending in a lone lead byte", "!=ab\x83", "ab", ""},
    {"untitled keeps the blanks around it", "  !notepad.exe a.txt ", "  notepad.exe a.txt ",
     "notepad.exe a.txt"},
    {"tab before the bang", "\t!ab", "\tab", "ab"},
    {"drive path", "C:\\dir\\a.txt", "C:\\dir\\a.txt", "C:\\dir\\a.txt"},
    {"drive letter not examined", "1:\\ab", "1:\\ab", "1:\\ab"},
    {"UNC path", "\\\\server\\share", "\\\\server\\share", "\\\\server\\share"},
    {"shortest UNC path", "\\\\abc", "\\\\abc", "\\\\abc"},
    {"scheme alone", "news", "news", "news"},
    {"scheme word begins a longer word", "newsletter", "newsletter", "newsletter"},
    {"file prefix", "filed", "filed", "filed"},
    {"ftp exactly", "ftp", "ftp", "ftp"},
    {"mailto", "mailto:a,b", "mailto:a,b", "mailto:a,b"},
    {"automatic link with blanks", " http://x/  ", " http://x/  ", "http://x/"},
};

class LinkFormTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(LinkFormTest, DisplayAndCommandModes) {
  const LinkCase& c = GetParam();
  for (int mode : {0, 1, 7}) {
    SCOPED_TRACE("mode " + std::to_string(mode));
    LogFont font{};
    font.lfHeight = -12;
    font.lfWeight = 400;
    SjisString out("stale");
    ASSERT_EQ(RecognizeLink(mode, SjisString(c.line), out, font), 1);
    EXPECT_EQ(out.Bytes(), mode == 0 ? c.display : c.command);
    EXPECT_EQ(font.lfUnderline, 1);
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfWeight, 400);
  }
}

INSTANTIATE_TEST_SUITE_P(Links, LinkFormTest, ::testing::ValuesIn(kLinks),
                         [](const ::testing::TestParamInfo<LinkCase>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p) {
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           }
                           return name;
                         });

TEST(RecognizeLink, NonLinksLeaveOutputAndFontUntouched) {
  const char* const kNotLinks[] = {
      "",      " ",      "!a",   "  !a  ",      "C:/dir",
      "C:\\a", "\\\\ab", "FTP",  "Mailto:x",    "see http://x",
      "Http",  "a!=b|c", "=!ab", "\x81\x40!ab", "#|http://x",
  };
  for (const char* line : kNotLinks) {
    SCOPED_TRACE(line);
    for (int mode : {0, 1}) {
      LogFont font{};
      font.lfUnderline = 0;
      font.lfItalic = 1;
      std::strcpy(font.lfFaceName, "Face");
      const LogFont before = font;
      SjisString out("untouched");
      EXPECT_EQ(RecognizeLink(mode, SjisString(line), out, font), 0);
      EXPECT_EQ(out.Bytes(), "untouched");
      EXPECT_EQ(std::memcmp(&font, &before, sizeof font), 0);
    }
  }
}

TEST(RecognizeLink, LinkKeepsAnUnderlineAlreadySetAndTouchesNothingElse) {
  LogFont font{};
  font.lfUnderline = 1;
  font.lfStrikeOut = 1;
  font.lfCharSet = 128;
  LogFont expected = font;
  SjisString out;
  ASSERT_EQ(RecognizeLink(0, SjisString("http://x"), out, font), 1);
  EXPECT_EQ(std::memcmp(&font, &expected, sizeof font), 0);
}

}  // namespace
}  // namespace kn
