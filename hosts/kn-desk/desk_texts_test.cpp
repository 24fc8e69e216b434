// The desktop host's texts: both languages for every text, with the same
// values to fill in.
#include "desk_texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kn::desk {
namespace {

std::multiset<std::string> Placeholders(const std::string& text) {
  std::multiset<std::string> found;
  for (std::size_t at = text.find('{'); at != std::string::npos; at = text.find('{', at + 1)) {
    if (at + 2 < text.size() && text[at + 2] == '}') found.insert(text.substr(at, 3));
  }
  return found;
}

TEST(DeskTexts, EveryTextHasBothLanguagesWithTheSameValuesToFillIn) {
  for (int i = 0; i < static_cast<int>(Text::kCount); ++i) {
    const std::string japanese = SayIn(DeskLanguage::kJapanese, static_cast<Text>(i));
    const std::string english = SayIn(DeskLanguage::kEnglish, static_cast<Text>(i));
    EXPECT_FALSE(japanese.empty()) << "text " << i;
    EXPECT_FALSE(english.empty()) << "text " << i;
    EXPECT_EQ(Placeholders(japanese), Placeholders(english)) << "text " << i << ": " << english;
  }
}

TEST(DeskTexts, ValuesGoWhereTheLanguagePutsThem) {
  const DeskLanguage saved = CurrentDeskLanguage();
  UseDeskLanguage(DeskLanguage::kEnglish);
  EXPECT_EQ(Say(Text::kSettingsDamagedAt, {"3", "x"}), "The settings file is damaged (line 3: x).");
  EXPECT_EQ(Say(Text::kProblemUnknownEscape, {"q"}), "unknown escape \\q");
  EXPECT_EQ(Say(Text::kProblemNumber, {"-5"}), "expected a whole number from -5 to ")
      << "a value missing";
  UseDeskLanguage(DeskLanguage::kJapanese);
  EXPECT_EQ(Say(Text::kSettingsDamagedAt, {"3", "x"}), "設定ファイルが壊れています（3 行目: x）。");
  UseDeskLanguage(saved);
}

}  // namespace
}  // namespace kn::desk
