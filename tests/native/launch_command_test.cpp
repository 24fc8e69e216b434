// From a link's command to the program, parameters and working directory
// handed to the shell, and the message shown when the shell refuses them.
#include "render/launch_command.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace kn {
namespace {

using namespace std::string_literals;

struct TripleCase {
  const char* name;
  std::string command;
  std::string program;
  std::string parameters;
  std::string workingDirectory;
};

// "表" (0x95 0x5C): its second byte is a backslash.
const std::string kHyo = "\x95\x5C";

const TripleCase kTriples[] = {
    {"program with a parameter", "notepad.exe a.txt", "notepad.exe", "a.txt ", ""},
    {"unquoted path with a blank splits", "C:\\Program Files\\x.exe", "C:\\Program",
     "Files\\x.exe ", "C:\\"},
    {"quoted path stays whole", "\"C:\\Program Files\\x.exe\"", "C:\\Program Files\\x.exe", "",
     "C:\\Program Files\\"},
    {"comma separates", "mailto:a,b", "mailto:a", "b ", "mailto:"},
    {"blanks and commas around items", "  prog  -x , y  ", "prog", "-x y ", ""},
    {"empty item keeps its blank", "a,,b", "a", " b ", ""},
    {"kanji trail byte is no separator", "D:\\docs\\" + kHyo, "D:\\docs\\" + kHyo, "",
     "D:\\docs\\"},
    {"kanji trail byte alone", kHyo + "x.exe", kHyo + "x.exe", "", ""},
    {"colon after the last backslash", "C:\\a\\b:c", "C:\\a\\b:c", "", "C:\\a\\b:"},
    {"UNC program", "\\\\server\\share\\app.exe /q", "\\\\server\\share\\app.exe", "/q ",
     "\\\\server\\share\\"},
    {"doubled quotes inside quotes", "\"x\"\"y\" z", "x\"y", "z ", ""},
    {"unclosed quote runs to the end", "\"C:\\a b", "C:\\a b", "", "C:\\"},
    {"lone lead byte at the end", "prog \x83", "prog", "\x83 ", ""},
    {"ends at the first NUL", "abc\0 def"s, "abc", "", ""},
    // Parameters that hold a blank or a quote go in quotes, read back as one
    // argument by CommandLineToArgvW and the C runtime.
    {"quoted parameter with a blank stays one", "C:\\tools\\args.bat \"my file.txt\" second",
     "C:\\tools\\args.bat", "\"my file.txt\" second ", "C:\\tools\\"},
    {"UNC folder with a blank", "explorer.exe \"\\\\server\\share\\\x83\x60\x81\x5B \x8B\xA4\"",
     "explorer.exe", "\"\\\\server\\share\\\x83\x60\x81\x5B \x8B\xA4\" ", ""},
    {"quote inside a parameter is escaped", "p \"a\"\"b c\"", "p", "\"a\\\"b c\" ", ""},
    {"unquoted parameter holding a quote", "p ab\"c", "p", "\"ab\\\"c\" ", ""},
    {"backslashes before a quote are doubled", "p \"x\\\"\" y\"", "p", "\"x\\\\\\\" y\" ", ""},
    {"trailing backslash before the closing quote", "p \"C:\\my dir\\\"", "p",
     "\"C:\\my dir\\\\\" ", ""},
    {"kanji trail backslash before a quote is no backslash", "p \"" + kHyo + "\"\" z\"", "p",
     "\"" + kHyo + "\\\" z\" ", ""},
    {"control byte in a quoted parameter", "p \"a\tb\"", "p", "\"a\tb\" ", ""},
};

class LaunchTripleTest : public ::testing::TestWithParam<TripleCase> {};

TEST_P(LaunchTripleTest, SplitsProgramParametersAndDirectory) {
  const TripleCase& c = GetParam();
  const std::optional<LaunchTriple> triple = BuildLaunchTriple(c.command);
  ASSERT_TRUE(triple.has_value());
  EXPECT_EQ(triple->program, c.program);
  EXPECT_EQ(triple->parameters, c.parameters);
  EXPECT_EQ(triple->workingDirectory, c.workingDirectory);
}

INSTANTIATE_TEST_SUITE_P(Commands, LaunchTripleTest, ::testing::ValuesIn(kTriples),
                         [](const ::testing::TestParamInfo<TripleCase>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p) {
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           }
                           return name;
                         });

TEST(BuildLaunchTriple, CommandWithoutAProgramLaunchesNothing) {
  for (const std::string& command : {""s, "   "s, "\t\r\n"s, "\0notepad.exe"s, " \0x"s, ",x"s, "\"\" a"s,
                                      ", C:\\x.exe"s}) {
    SCOPED_TRACE(::testing::PrintToString(command));
    EXPECT_FALSE(BuildLaunchTriple(command).has_value());
  }
}

struct LimitCase {
  const char* name;
  std::size_t programLength;
  const char* programStart;
  std::size_t parametersLength;
  bool fits;
};

// Programs of the given length: the start, then 'a' up to the length.
const LimitCase kLimits[] = {
    {"URL at its limit", 2083, "http://", 0, true},
    {"URL one byte over", 2084, "http://", 0, false},
    {"other scheme at the URL limit", 2083, "mailto:", 0, true},
    {"path at its limit", 259, "C:\\", 0, true},
    {"path one byte over", 260, "C:\\", 0, false},
    {"a drive is no scheme", 300, "C:", 0, false},
    {"program without a folder over the path limit", 260, "a", 0, false},
    {"parameters at their limit", 10, "notepad", 32767, true},
    {"parameters one byte over", 10, "notepad", 32768, false},
};

TEST(FitsTheShell, ProgramsAndParametersUpToWhatWindowsTakes) {
  for (const LimitCase& c : kLimits) {
    SCOPED_TRACE(c.name);
    LaunchTriple triple;
    triple.program = c.programStart;
    triple.program.resize(c.programLength, 'a');
    triple.parameters.assign(c.parametersLength, 'p');
    EXPECT_EQ(FitsTheShell(triple), c.fits);
  }
}

TEST(FormatLaunchFailure, NamesTheProgramParametersAndDirectory) {
  const LaunchTriple triple{"C:\\x.exe", "a b ", "C:\\"};
  // 実行できませんでした。
  const std::string expected =
      "\x8E\xC0\x8D\x73\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81\x42"
      "\n\nExec:C:\\x.exe\nParams:a b \nWorkDir:C:\\";
  EXPECT_EQ(FormatLaunchFailure(triple), expected);
}

TEST(FormatLaunchFailure, LongMembersAreKeptWhole) {
  const LaunchTriple triple{std::string(700, 'p'), std::string(900, 'q'), std::string(300, 'w')};
  const std::string message = FormatLaunchFailure(triple);
  EXPECT_EQ(message.size(), 22u + 7 + 700 + 8 + 900 + 9 + 300);
  EXPECT_NE(message.find(std::string(700, 'p') + "\nParams:"), std::string::npos);
  EXPECT_EQ(message.substr(message.size() - 308), "WorkDir:" + std::string(300, 'w'));
}

TEST(LaunchFailureMessage, CutsARefusedParameterStringAtTheBoxLimit) {
  const std::string kanji = "\x8A\xBF";  // 漢
  LaunchTriple triple{"x.exe", std::string(2, 'q'), ""};  // kanji from an odd offset
  for (int i = 0; i < 3000; ++i) triple.parameters += kanji;
  const std::string whole = FormatLaunchFailure(triple);
  const std::string shown = LaunchFailureMessage(triple);
  ASSERT_GT(whole.size(), 4095u);
  EXPECT_EQ(shown.size(), 4094u) << "a character that does not fit whole is left out";
  EXPECT_EQ(shown, whole.substr(0, shown.size()));
  triple.parameters = "short";
  EXPECT_EQ(LaunchFailureMessage(triple), FormatLaunchFailure(triple));
}

struct CutCase {
  const char* name;
  std::string text;
  std::ptrdiff_t maxBytes;
  std::string expected;
};

const CutCase kCuts[] = {
    {"fits", "abc", 3, "abc"},
    {"room to spare", "abc", 100, "abc"},
    {"single bytes", "abc", 2, "ab"},
    {"zero", "abc", 0, ""},
    {"negative", "abc", -5, ""},
    {"stops before a kanji", "a\x82\xA0", 2, "a"},
    {"kanji fits", "a\x82\xA0", 3, "a\x82\xA0"},
    {"kanji alone too wide", "\x82\xA0", 1, ""},
    // The second byte of the first character is itself a lead value: only a
    // walk from the start tells that the third byte starts a character.
    {"trail byte with a lead value", "\x82\x82\x82\xA0", 3, "\x82\x82"},
    {"lone lead byte at the end fits", "ab\x83", 3, "ab\x83"},
    {"lone lead byte at the end cut", "ab\x83", 2, "ab"},
};

class CutAtCharBoundaryTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutAtCharBoundaryTest, NeverSplitsADoubleByteCharacter) {
  const CutCase& c = GetParam();
  EXPECT_EQ(CutAtCharBoundary(c.text, c.maxBytes), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cuts, CutAtCharBoundaryTest, ::testing::ValuesIn(kCuts),
                         [](const ::testing::TestParamInfo<CutCase>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p) {
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           }
                           return name;
                         });

TEST(CutAtCharBoundary, LongKanjiMessageFitsA512ByteBuffer) {
  std::string program = "C:\\";
  for (int i = 0; i < 300; ++i) program += "\x82\xA0";  // あ
  const std::string message = FormatLaunchFailure({program, "", ""});
  const std::string cut = CutAtCharBoundary(message, 511);
  // 22 bytes of heading, 7 of "\n\nExec:", 3 of "C:\": 32 bytes, then kanji
  // of 2 bytes each; 511 - 32 is odd, so the last byte of room stays empty.
  EXPECT_EQ(cut.size(), 510u);
  EXPECT_EQ(cut, message.substr(0, 510));
}

}  // namespace
}  // namespace kn
