// A text of kn-explain in the report's language with its values filled in:
// "{1}", "{2}"... stand where each language puts them.
#pragma once

#include <initializer_list>
#include <string>

#include "explain/explain_language.h"

namespace kn::explain {

std::string Fill(const char* text, std::initializer_list<std::string> values);

inline std::string Say(Language language, const Words& words, std::initializer_list<std::string> values = {}) {
  return Fill(In(language, words), values);
}

}  // namespace kn::explain
