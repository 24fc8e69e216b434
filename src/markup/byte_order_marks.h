// The byte-order marks a text file may begin with, and how each is spelled:
// the one table that every reader of board files and memos goes by.
#pragma once

#include <cstddef>
#include <string_view>

namespace kn {

enum class ByteOrderMark { kNone, kUtf8, kUtf16LittleEndian, kUtf16BigEndian };

struct ByteOrderMarkSpelling {
  ByteOrderMark mark;
  std::string_view bytes;
};

inline constexpr ByteOrderMarkSpelling kByteOrderMarks[] = {
    {ByteOrderMark::kUtf8, "\xEF\xBB\xBF"},
    {ByteOrderMark::kUtf16LittleEndian, "\xFF\xFE"},
    {ByteOrderMark::kUtf16BigEndian, "\xFE\xFF"},
};

// The longest mark: a reader that has this many bytes (or the whole file)
// can tell which mark, if any, the file begins with.
inline constexpr std::size_t kLongestByteOrderMark = 3;

// The mark the bytes begin with; kNone when none.
ByteOrderMark DetectByteOrderMark(std::string_view bytes);

// The mark's bytes; empty for kNone.
std::string_view ByteOrderMarkBytes(ByteOrderMark mark);

// The bytes after the mark they begin with, if any.
std::string_view WithoutByteOrderMark(std::string_view bytes);

}  // namespace kn
