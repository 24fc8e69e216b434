// The byte-order marks: which one a text begins with, and the text after it.
#include "markup/byte_order_marks.h"

#include <string>

#include <gtest/gtest.h>

namespace kn {
namespace {

TEST(ByteOrderMarks, TellTheMarkAndWhatFollows) {
  const struct {
    const char* name;
    std::string bytes;
    ByteOrderMark mark;
    std::string after;
  } cases[] = {
      {"UTF-8", "\xEF\xBB\xBFtext", ByteOrderMark::kUtf8, "text"},
      {"UTF-16 little-endian", std::string("\xFF\xFE" "a\0", 4), ByteOrderMark::kUtf16LittleEndian,
       std::string("a\0", 2)},
      {"UTF-16 big-endian", std::string("\xFE\xFF\0a", 4), ByteOrderMark::kUtf16BigEndian, std::string("\0a", 2)},
      {"none", "text", ByteOrderMark::kNone, "text"},
      {"empty", "", ByteOrderMark::kNone, ""},
      {"a UTF-8 mark cut short", "\xEF\xBB", ByteOrderMark::kNone, "\xEF\xBB"},
      {"a mark only later", "a\xEF\xBB\xBF", ByteOrderMark::kNone, "a\xEF\xBB\xBF"},
      {"Shift-JIS that begins like no mark", "\x82\xA0", ByteOrderMark::kNone, "\x82\xA0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DetectByteOrderMark(c.bytes), c.mark);
    EXPECT_EQ(WithoutByteOrderMark(c.bytes), c.after);
    EXPECT_EQ(ByteOrderMarkBytes(c.mark).size() + c.after.size(), c.bytes.size());
  }
  for (const ByteOrderMarkSpelling& spelling : kByteOrderMarks) {
    EXPECT_LE(spelling.bytes.size(), kLongestByteOrderMark);
  }
}

}  // namespace
}  // namespace kn
