// Which language the explainer speaks, from the locale of a POSIX system.
#include <gtest/gtest.h>

#include "explain/system_language.h"

namespace kn::explain {
namespace {

struct LocaleCase {
  const char* name;
  const char* lcAll;
  const char* lcMessages;
  const char* lang;
  Language expected;
};

const LocaleCase kLocales[] = {
    {"nothing set", nullptr, nullptr, nullptr, Language::kEnglish},
    {"LANG Japanese", nullptr, nullptr, "ja_JP.UTF-8", Language::kJapanese},
    {"LANG English", nullptr, nullptr, "en_US.UTF-8", Language::kEnglish},
    {"LC_MESSAGES before LANG", nullptr, "ja_JP.eucJP", "en_GB.UTF-8", Language::kJapanese},
    {"LC_ALL before both", "C", "ja_JP.UTF-8", "ja_JP.UTF-8", Language::kEnglish},
    {"an empty LC_ALL counts as unset", "", nullptr, "ja", Language::kJapanese},
    {"only a beginning ja counts", nullptr, nullptr, "en_JA", Language::kEnglish},
};

TEST(ExplainLanguage, TheFirstLocaleSetDecides) {
  for (const LocaleCase& c : kLocales) {
    EXPECT_EQ(LanguageOfLocale(c.lcAll, c.lcMessages, c.lang), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace kn::explain
