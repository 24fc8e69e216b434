// The language of kn-explain's own words. Reports are code page 932 text
// (see terminal_text.h), so a Japanese text is written as code page 932
// bytes, with the text itself in a comment beside it.
#pragma once

namespace kn::explain {

enum class Language { kEnglish, kJapanese };

// One of the explainer's texts in both languages: the English in ASCII, the
// Japanese in code page 932 bytes.
struct Words {
  const char* english;
  const char* japanese;
};

inline const char* In(Language language, const Words& words) {
  return language == Language::kJapanese ? words.japanese : words.english;
}

}  // namespace kn::explain
