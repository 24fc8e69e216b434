#include "quoted_text.h"

#include <cstdint>

#include "desk_texts.h"
#include "markup/utf8_decode.h"

namespace kn::desk {
namespace {

const char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string QuoteText(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    const auto byte = static_cast<std::uint8_t>(c);
    switch (c) {
      case '\\': quoted += "\\\\"; break;
      case '"': quoted += "\\\""; break;
      case '\r': quoted += "\\r"; break;
      case '\n': quoted += "\\n"; break;
      case '\t': quoted += "\\t"; break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          quoted += "\\x";
          quoted += kHexDigits[byte >> 4];
          quoted += kHexDigits[byte & 0x0F];
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "\"";
}

std::optional<std::string> UnquoteText(const std::string& quoted, std::string& problem) {
  const std::string text = Trim(quoted);
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') {
    problem = Say(Text::kProblemUnquoted);
    return std::nullopt;
  }
  std::string plain;
  for (std::size_t i = 1; i + 1 < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      problem = Say(Text::kProblemInnerQuote);
      return std::nullopt;
    }
    if (c != '\\') {
      plain += c;
      continue;
    }
    if (i + 2 >= text.size()) {
      problem = Say(Text::kProblemLastBackslash);
      return std::nullopt;
    }
    const char next = text[++i];
    if (next == '\\' || next == '"') plain += next;
    else if (next == 'r') plain += '\r';
    else if (next == 'n') plain += '\n';
    else if (next == 't') plain += '\t';
    else if (next == 'x' && i + 3 < text.size() && HexValue(text[i + 1]) >= 0 &&
             HexValue(text[i + 2]) >= 0) {
      plain += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      problem = Say(Text::kProblemUnknownEscape, {std::string(1, next)});
      return std::nullopt;
    }
  }
  if (!IsValidUtf8(plain)) {
    problem = Say(Text::kProblemNotUtf8);
    return std::nullopt;
  }
  return plain;
}

bool IsValidUtf8(const std::string& text) { return ScanUtf8(text).wellFormed; }

}  // namespace kn::desk
