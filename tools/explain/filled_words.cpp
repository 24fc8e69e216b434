#include "explain/filled_words.h"

#include <vector>

#include "markup/sjis_string.h"

namespace kn::explain {

std::string Fill(const char* text, std::initializer_list<std::string> values) {
  const std::vector<std::string> all(values);
  std::string out;
  for (const char* p = text; *p != '\0'; ++p) {
    if (IsLeadValue(static_cast<unsigned char>(*p)) && p[1] != '\0') {
      out.append(p, 2);  // a trail byte may look like a brace
      ++p;
    } else if (p[0] == '{' && p[1] >= '1' && p[1] <= '9' && p[2] == '}') {
      const std::size_t index = static_cast<std::size_t>(p[1] - '1');
      if (index < all.size()) out += all[index];
      p += 2;
    } else {
      out += *p;
    }
  }
  return out;
}

}  // namespace kn::explain
