// Which language kn-explain speaks on this system: Japanese where the user
// interface speaks it (on Windows the same rule as kn-desk's), else English.
#pragma once

#include "explain/explain_language.h"

namespace kn::explain {

// The POSIX rule: the first of LC_ALL, LC_MESSAGES and LANG that is set and
// not empty names the locale; Japanese when it begins with "ja".
Language LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang);

Language SystemLanguage();

}  // namespace kn::explain
