#include "explain/terminal_text.h"

#include "markup/sjis_string.h"

namespace kn::explain {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendEscape(std::string& out, unsigned char b) {
  out += "\\x";
  out += kHexDigits[b >> 4];
  out += kHexDigits[b & 0x0F];
}

bool IsTrailValue(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

}  // namespace

std::string Quote(std::string_view memoBytes) {
  std::string out;
  out.reserve(memoBytes.size() + 2);
  out += '"';
  for (char c : memoBytes) {
    const auto b = static_cast<unsigned char>(c);
    // A trail byte is never below 0x40, so this never splits a character.
    if (b < 0x20 || b == 0x7F) {
      AppendEscape(out, b);
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

std::string HexBytes(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (!out.empty()) out += ' ';
    out += kHexDigits[b >> 4];
    out += kHexDigits[b & 0x0F];
  }
  return out;
}

std::string EncodeForTerminal(std::string_view report, OutputEncoding encoding, Cp932Decoder& decoder) {
  if (encoding == OutputEncoding::kRaw) return std::string(report);
  const bool decode = encoding == OutputEncoding::kUtf8 && decoder.Available();
  std::string out;
  out.reserve(report.size() + report.size() / 2);
  std::size_t i = 0;
  while (i < report.size()) {
    const auto b = static_cast<unsigned char>(report[i]);
    if (b < 0x80) {
      out += report[i++];
      continue;
    }
    if (decode) {
      const bool pair = IsLeadValue(b) && i + 1 < report.size() &&
                        IsTrailValue(static_cast<unsigned char>(report[i + 1]));
      const std::size_t width = pair ? 2 : 1;
      if (decoder.Append(report.substr(i, width), out)) {
        i += width;
        continue;
      }
    }
    // No character: the byte alone is escaped and the next one read afresh.
    AppendEscape(out, b);
    ++i;
  }
  return out;
}

}  // namespace kn::explain
