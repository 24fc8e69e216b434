// The word-at-a-time scan behind CountLines and LineCursor: every position of
// a line break inside a machine word, every misaligned start, and bytes next
// to CR and LF in value (which a word test could mistake for them).
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "markup/line_list.h"

namespace kn {
namespace {

// Lines cut byte by byte: CR LF, a lone CR and a lone LF each end a line.
std::vector<std::string> ReferenceLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t j = i;
    while (j < text.size() && text[j] != '\r' && text[j] != '\n') ++j;
    lines.emplace_back(text.substr(i, j - i));
    if (j < text.size() && text[j] == '\r') ++j;
    if (j < text.size() && text[j] == '\n') ++j;
    i = j;
  }
  return lines;
}

std::vector<std::string> CursorLines(std::string_view text) {
  std::vector<std::string> lines;
  LineCursor cursor(text);
  std::string_view line;
  while (cursor.Next(line)) lines.emplace_back(line);
  return lines;
}

// Bytes that sit close to CR (0x0D) and LF (0x0A), or carry the high bit.
const char kNeighbours[] = {'\x00', '\x09', '\x0B', '\x0C', '\x0E', '\x0F', '\x8A', '\x8D', '\xFF', 'a'};

TEST(LineScan, BreakAtEveryOffsetFromEveryStart) {
  const std::string breaks[] = {"\r", "\n", "\r\n", "\n\r"};
  for (const std::string& brk : breaks) {
    for (char filler : kNeighbours) {
      for (std::size_t length = 0; length <= 40; ++length) {
        for (std::size_t at = 0; at <= length; ++at) {
          std::string text(length, filler);
          text.insert(at, brk);
          // The same text seen from each start within a word.
          for (std::size_t start = 0; start < 8 && start <= text.size(); ++start) {
            const std::string_view view = std::string_view(text).substr(start);
            const std::vector<std::string> expected = ReferenceLines(view);
            ASSERT_EQ(CountLines(view), static_cast<int>(expected.size()))
                << "filler " << int(static_cast<unsigned char>(filler)) << " length " << length << " at "
                << at << " start " << start;
            ASSERT_EQ(CursorLines(view), expected)
                << "filler " << int(static_cast<unsigned char>(filler)) << " length " << length << " at "
                << at << " start " << start;
          }
        }
      }
    }
  }
}

TEST(LineScan, SkipLandsOnTheLineAfterALongRunWithoutBreaks) {
  const std::string longLine(1000, '\x0E');
  const std::string text = longLine + "\r\n" + longLine + "x\nlast";
  LineCursor cursor(text);
  EXPECT_EQ(cursor.Skip(2), 2);
  EXPECT_EQ(cursor.Rest(), "last");
  EXPECT_EQ(cursor.Skip(5), 1);
  EXPECT_EQ(CountLines(text), 3);
}

TEST(LineScan, ManyBreaksInOneWord) {
  const std::string text = "\r\r\n\n\r\n\r\r";
  EXPECT_EQ(CountLines(text), static_cast<int>(ReferenceLines(text).size()));
  EXPECT_EQ(CursorLines(text), ReferenceLines(text));
}

}  // namespace
}  // namespace kn
