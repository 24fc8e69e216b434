#include "explain/system_language.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kn::explain {

Language LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang) {
  for (const char* name : {lcAll, lcMessages, lang}) {
    if (name == nullptr || *name == '\0') continue;
    return std::strncmp(name, "ja", 2) == 0 ? Language::kJapanese : Language::kEnglish;
  }
  return Language::kEnglish;
}

Language SystemLanguage() {
#ifdef _WIN32
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? Language::kJapanese : Language::kEnglish;
#else
  return LanguageOfLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
#endif
}

}  // namespace kn::explain
