// Tells whether a file's bytes are the code page 932 (Shift-JIS) text the
// chip reads, and when they are not, why and where: a byte-order mark, text
// saved as UTF-8, or bytes that are no Shift-JIS character. A file saved in
// the wrong encoding otherwise only shows as garbage.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "explain/explain_language.h"
#include "markup/byte_order_marks.h"

namespace kn::explain {

enum class SjisFault {
  kLeadWithoutTrail,  // a lead byte followed by no valid second byte (or by nothing)
  kLoneByte,          // 0x80, 0xA0 or 0xFD-0xFF, which begin no character
};

struct SjisProblem {
  SjisFault fault;
  int line;     // 1-based; CR LF, a lone CR and a lone LF each end a line
  int column;   // 1-based byte position in the line
  std::string bytes;  // the offending byte and, for a lead, the byte after it if any
};

struct EncodingReport {
  static constexpr std::size_t kListed = 20;  // problems kept; the rest are only counted

  ByteOrderMark bom = ByteOrderMark::kNone;
  bool utf8 = false;          // valid UTF-8 that holds characters beyond ASCII
  int utf8FirstLine = 0;      // the first line with such a character
  std::size_t utf8Characters = 0;
  std::vector<SjisProblem> problems;  // at most kListed, in file order
  std::size_t problemCount = 0;
  int firstNulLine = 0;       // a 0 byte cuts the chip's line there
  int endOfFileLine = 0;      // a 0x1A byte: the chip reads nothing after it
  int lineCount = 0;

  // Plain Shift-JIS (or ASCII) without surprises.
  bool Clean() const;
};

EncodingReport CheckEncoding(std::string_view bytes);

// A few lines of plain words, each starting with `indent`; empty when clean.
std::string DescribeEncoding(const EncodingReport& report, const std::string& indent,
                             Language language = Language::kEnglish);

}  // namespace kn::explain
