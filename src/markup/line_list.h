// Lists of lines and of comma-separated items.
#pragma once

#include <string_view>
#include <vector>

#include "markup/sjis_string.h"

namespace kn {

class LineList {
 public:
  // CR LF, a lone CR and a lone LF each end a line; a terminator at the very
  // end adds no empty line; the empty text gives no lines.
  void SplitLines(std::string_view text);
  // Items separated by commas or runs of blanks (0x01-0x20); double quotes
  // enclose items that hold blanks or commas, a pair of quotes inside stands
  // for one quote. The text ends at its first 0 byte.
  void SplitCommaList(std::string_view text);

  int Count() const { return static_cast<int>(lines_.size()); }
  // Throw std::out_of_range outside 0..Count-1.
  const SjisString& LineAt(int i) const;
  void ReplaceLine(int i, const SjisString& text);

 private:
  std::vector<SjisString> lines_;
};

// The first CR or LF in [p, end), or end. A machine word at a time: most
// bytes of a text are neither.
const char* FindLineBreak(const char* p, const char* end);

// Walks the lines of a text as SplitLines cuts them, without copying.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}
  // The next line, or false at the end of the text.
  bool Next(std::string_view& line);
  // Skips up to n lines; returns how many were skipped. Copies nothing.
  int Skip(int n);
  // The text not yet walked, starting at a line's first byte.
  std::string_view Rest() const { return text_.substr(pos_); }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// The number of lines SplitLines would give for the text, in one pass.
int CountLines(std::string_view text);

}  // namespace kn
