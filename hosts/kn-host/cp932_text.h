// Unicode text as the host keeps memos: code page 932, by the text
// toolkit's conversion (the seven symbols that JIS-based text uses, such as
// 〜 U+301C and − U+2212, become the code page's own; half-width katakana
// their single bytes), with 〓 for each character the code page cannot hold
// and where those characters were.
#pragma once

#include <string>
#include <vector>

namespace kn::host {

// A character that became 〓.
struct LostCharacter {
  int line = 0;         // from 1
  int column = 0;       // characters from the line's start, from 1
  std::string utf8;     // the character, or the byte that starts no UTF-8 one
  char32_t code = 0;    // its code point; 0 for a byte that starts none
};

struct Cp932Text {
  std::string text;  // code page 932
  std::vector<LostCharacter> lost;
};

Cp932Text Utf8ToCp932Text(const std::string& utf8);

// "line 3, character 5: 🍣 (U+1F363)", for messages.
std::string DescribeLost(const LostCharacter& lost);

}  // namespace kn::host
