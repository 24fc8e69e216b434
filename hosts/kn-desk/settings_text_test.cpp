// The settings file's text form: what is written reads back the same, hand
// edits within the format are accepted, and damage or a newer format is
// recognised with the line where it shows.
#include "settings_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kn::desk {
namespace {

ChipRecord SampleChip() {
  ChipRecord chip;
  chip.x = -120;
  chip.y = 2400;
  chip.textRgb = 0x102030;
  chip.backRgb = 0xFFEEDD;
  chip.font.face = u8"IPA\u30b4\u30b7\u30c3\u30af";
  chip.font.height = -18;
  chip.font.weight = 700;
  chip.font.italic = true;
  chip.font.strikeOut = true;
  chip.font.charset = 0;
  chip.font.pitchAndFamily = 34;
  chip.zoomed = true;
  chip.memo = u8"$c\u8d64b|\u8d64\u3044\u592a\u5b57\r\n\"quoted\" \\path\\ \ttab\r\n\x01\x7f end";
  for (int i = 0; i < 68; ++i) chip.savedBlock.push_back(static_cast<std::uint8_t>(i * 7));
  return chip;
}

DeskSettings SampleSettings() {
  DeskSettings settings;
  settings.chips.push_back(SampleChip());
  settings.chips.push_back(ChipRecord{});  // every default, no saved block
  return settings;
}

TEST(DeskSettingsText, WrittenSettingsReadBackTheSame) {
  for (const DeskSettings& settings : {SampleSettings(), DeskSettings{}}) {
    SCOPED_TRACE(std::to_string(settings.chips.size()) + " chips");
    const std::string text = WriteSettingsText(settings);
    const SettingsReading reading = ReadSettingsText(text);
    ASSERT_EQ(reading.verdict, SettingsVerdict::kRead) << DescribeReading(reading) << "\n" << text;
    EXPECT_EQ(reading.version, kSettingsVersion);
    ASSERT_EQ(reading.settings.chips.size(), settings.chips.size());
    for (std::size_t i = 0; i < settings.chips.size(); ++i) {
      EXPECT_TRUE(reading.settings.chips[i] == settings.chips[i]) << "chip " << i;
    }
  }
}

TEST(DeskSettingsText, AMemoStaysOnOneLineOfTheFile) {
  const std::string text = WriteSettingsText(SampleSettings());
  std::size_t memoLines = 0;
  for (std::size_t at = text.find("\nmemo = "); at != std::string::npos; at = text.find("\nmemo = ", at + 1)) {
    const std::size_t end = text.find("\r\n", at + 1);
    EXPECT_EQ(text.substr(at + 8, 1), "\"");
    EXPECT_EQ(text.substr(end - 1, 1), "\"");
    ++memoLines;
  }
  EXPECT_EQ(memoLines, 2u);
}

// Every cut of a written file either reads back everything or is damaged:
// a file cut short never passes for one with fewer chips.
TEST(DeskSettingsText, AFileCutShortIsNeverTakenForFewerChips) {
  const DeskSettings settings = SampleSettings();
  const std::string text = WriteSettingsText(settings);
  for (std::size_t length = 0; length < text.size(); ++length) {
    const SettingsReading reading = ReadSettingsText(text.substr(0, length));
    if (reading.verdict == SettingsVerdict::kRead) {
      ASSERT_EQ(reading.settings.chips.size(), settings.chips.size()) << "cut at " << length;
      EXPECT_TRUE(reading.settings.chips[0] == settings.chips[0]) << "cut at " << length;
    } else {
      EXPECT_EQ(reading.verdict, SettingsVerdict::kDamaged) << "cut at " << length;
    }
  }
}

TEST(DeskSettingsText, HandWrittenFilesMayLeaveOutKeysAndUseLineFeeds) {
  const std::string text =
      "\xEF\xBB\xBF# made by hand\n"
      "  kaleidonote-desk 1  \n"
      "\n"
      "[chip]\n"
      "# only a memo and a place\n"
      "memo = \"hello\"\n"
      "position=5,6\n"
      "saved-block =\n"
      "[chip]\n"
      "[end]\n"
      "# trailing comment\n";
  const SettingsReading reading = ReadSettingsText(text);
  ASSERT_EQ(reading.verdict, SettingsVerdict::kRead) << DescribeReading(reading);
  ASSERT_EQ(reading.settings.chips.size(), 2u);
  ChipRecord expected;
  expected.memo = "hello";
  expected.x = 5;
  expected.y = 6;
  EXPECT_TRUE(reading.settings.chips[0] == expected);
  EXPECT_TRUE(reading.settings.chips[1] == ChipRecord{});
}

struct DamageCase {
  const char* name;
  std::string text;
  int line;
  std::string problem;  // a part of the problem's wording
};

const std::string kHeader = "kaleidonote-desk 1\n";

std::string OneChip(const std::string& line) { return kHeader + "[chip]\n" + line + "\n[end]\n"; }

class DeskSettingsDamage : public testing::TestWithParam<DamageCase> {};

TEST_P(DeskSettingsDamage, IsReportedWithItsLine) {
  const DamageCase& c = GetParam();
  const SettingsReading reading = ReadSettingsText(c.text);
  EXPECT_EQ(reading.verdict, SettingsVerdict::kDamaged) << c.text;
  EXPECT_EQ(reading.line, c.line);
  EXPECT_NE(reading.problem.find(c.problem), std::string::npos) << reading.problem;
  EXPECT_TRUE(reading.settings.chips.empty()) << "a damaged file yields no chips";
  const std::string told = DescribeReading(reading);
  EXPECT_NE(told.find("damaged"), std::string::npos) << told;
  if (c.line > 0) EXPECT_NE(told.find("line " + std::to_string(c.line)), std::string::npos) << told;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeskSettingsDamage,
    testing::Values(
        DamageCase{"Empty", "", 0, "empty"},
        DamageCase{"OnlyComments", "# nothing\n\n", 0, "empty"},
        DamageCase{"OtherFile", "[chip]\n", 1, "not a Kaleidonote"},
        DamageCase{"MagicRunsOn", "kaleidonote-desktop 1\n[end]\n", 1, "not a Kaleidonote"},
        DamageCase{"VersionMissing", "kaleidonote-desk\n[end]\n", 1, "version"},
        DamageCase{"VersionZero", "kaleidonote-desk 0\n[end]\n", 1, "version"},
        DamageCase{"VersionWord", "kaleidonote-desk one\n[end]\n", 1, "version"},
        DamageCase{"CutShort", kHeader + "[chip]\nmemo = \"a\"\n", 4, "cut short"},
        DamageCase{"TextAfterEnd", kHeader + "[end]\n[chip]\n", 3, "after [end]"},
        DamageCase{"UnknownSection", kHeader + "[chips]\n[end]\n", 2, "unknown section"},
        DamageCase{"KeyOutsideChip", kHeader + "memo = \"a\"\n[end]\n", 2, "outside"},
        DamageCase{"NoEquals", OneChip("memo \"a\""), 3, "key = value"},
        DamageCase{"UnknownKey", OneChip("colour = #000000"), 3, "unknown key 'colour'"},
        DamageCase{"KeyTwice", kHeader + "[chip]\nzoomed = 0\nzoomed = 1\n[end]\n", 4, "twice"},
        DamageCase{"ColorName", OneChip("text-color = red"), 3, "#RRGGBB"},
        DamageCase{"ColorShort", OneChip("back-color = #12345"), 3, "#RRGGBB"},
        DamageCase{"ColorNotHex", OneChip("back-color = #12345G"), 3, "#RRGGBB"},
        DamageCase{"PositionOneNumber", OneChip("position = 10"), 3, "X, Y"},
        DamageCase{"PositionFarAway", OneChip("position = 100001, 0"), 3, "X, Y"},
        DamageCase{"FontTooLarge", OneChip("font-height = 5000"), 3, "-1000 to 1000"},
        DamageCase{"WeightNegative", OneChip("font-weight = -1"), 3, "0 to 1000"},
        DamageCase{"CharsetTooLarge", OneChip("font-charset = 256"), 3, "0 to 255"},
        DamageCase{"NumberWithText", OneChip("font-height = 12px"), 3, "whole number"},
        DamageCase{"NumberTooLong", OneChip("font-height = 0000000001"), 3, "whole number"},
        DamageCase{"FlagTwo", OneChip("zoomed = 2"), 3, "0 or 1"},
        DamageCase{"ItalicWord", OneChip("font-italic = yes"), 3, "0 or 1"},
        DamageCase{"MemoUnquoted", OneChip("memo = hello"), 3, "double quotes"},
        DamageCase{"MemoUnknownEscape", OneChip("memo = \"a\\qb\""), 3, "escape"},
        DamageCase{"MemoBareQuote", OneChip("memo = \"a\"b\""), 3, "double quote"},
        DamageCase{"MemoNotUtf8", OneChip("memo = \"\x82\xa0\""), 3, "UTF-8"},
        DamageCase{"FaceNotUtf8", OneChip("font-face = \"\\xC0\\x80\""), 3, "UTF-8"},
        DamageCase{"BlockOddDigits", OneChip("saved-block = 3C0"), 3, "hexadecimal"},
        DamageCase{"BlockNotHex", OneChip("saved-block = 3C00XX00"), 3, "hexadecimal"},
        DamageCase{"BlockTooLarge", OneChip("saved-block = " + std::string(2 * 4097, '0')), 3,
                   "hexadecimal"}),
    [](const testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.name); });

TEST(DeskSettingsText, AFileLargerThanAnySettingsIsDamaged) {
  const std::string text = kHeader + std::string(kMaxSettingsBytes, '#');
  const SettingsReading reading = ReadSettingsText(text);
  EXPECT_EQ(reading.verdict, SettingsVerdict::kDamaged);
  EXPECT_NE(reading.problem.find("larger"), std::string::npos);
}

TEST(DeskSettingsText, ANewerVersionIsRecognisedBeforeItsContents) {
  for (const char* version : {"2", "17", "999999999"}) {
    SCOPED_TRACE(version);
    // The newer format's contents mean nothing to this version.
    const std::string text = std::string("# from the future\nkaleidonote-desk ") + version +
                             "\n[chip]\nhologram = on\n";
    const SettingsReading reading = ReadSettingsText(text);
    EXPECT_EQ(reading.verdict, SettingsVerdict::kTooNew);
    EXPECT_EQ(reading.version, std::stoi(version));
    EXPECT_EQ(reading.line, 2);
    EXPECT_TRUE(reading.settings.chips.empty());
    const std::string told = DescribeReading(reading);
    EXPECT_NE(told.find("newer version (" + std::string(version) + ")"), std::string::npos) << told;
  }
}

}  // namespace
}  // namespace kn::desk
