// Board files read in segments give exactly the pieces, and the encoding,
// of the same file read whole, also where a segment boundary falls inside a
// line, a character or the run of ASCII before the first other byte.
#include "board/board_stream.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "native/fake_file_system.h"
#include "native/piece_log.h"
#include "platform/system_cp932_encoder.h"

namespace kn {
namespace {

std::string Lines(const std::string& line, std::size_t bytes) {
  std::string text;
  while (text.size() < bytes) text += line;
  return text;
}

const std::string kAsciiRun = Lines("notice 0000000: a line of the shared board\r\n", 600000);
const std::string kUtf8Line = "\xE3\x81\x8A\xE7\x9F\xA5\xE3\x82\x89\xE3\x81\x9B %UPDATE%\n";

TEST(ReadBoardPieces, SegmentsGiveWhatTheWholeFileGives) {
  const struct {
    const char* name;
    std::string contents;
    BoardEncoding encoding;
  } cases[] = {
      {"ASCII over several segments", kAsciiRun, BoardEncoding::kShiftJis},
      {"UTF-8 only after the ASCII", kAsciiRun + kUtf8Line + "tail", BoardEncoding::kUtf8},
      {"UTF-8 spoilt at the very end", kAsciiRun + kUtf8Line + Lines("x", 500000) + "\x82\xA0",
       BoardEncoding::kShiftJis},
      {"Shift-JIS early, then ASCII", "\x82\xA0\n" + kAsciiRun, BoardEncoding::kShiftJis},
      {"a line longer than a segment", std::string(700000, 'y') + "\r\n" + kUtf8Line, BoardEncoding::kUtf8},
      {"end-of-file byte after the first kana", kAsciiRun + "\xE3\x81\x8A\x1A" + kUtf8Line, BoardEncoding::kUtf8},
      {"UTF-16 with its mark", "\xFF\xFE" + std::string("a\0\n\0b\0", 6), BoardEncoding::kUtf16LittleEndian},
      {"a mark cut short", "\xEF\xBB", BoardEncoding::kShiftJis},
  };
  SystemCp932Encoder encoder;
  for (const auto& c : cases) {
    for (const std::size_t chunk : {std::size_t{3}, std::size_t{65536}, std::size_t{1} << 24}) {
      SCOPED_TRACE(std::string(c.name) + ", read chunk " + std::to_string(chunk));
      FakeFileSystem files(chunk);
      files.AddFile("f", c.contents);
      BoardFileBytes whole;
      ASSERT_TRUE(whole.ReadAll(*files.OpenForReading("f")));
      EXPECT_EQ(whole.Decode(encoder), c.encoding);
      PieceLog expected;
      ForEachBoardPiece(whole.data(), whole.size(), expected);

      PieceLog segments;
      EXPECT_EQ(ReadBoardPieces(*files.OpenForReading("f"), encoder, segments), c.encoding);
      EXPECT_TRUE(segments.text == expected.text) << "the pieces differ";
    }
  }
}

// An end-of-file byte in the ASCII before the first other byte: nothing
// after it is read, and what is shown is the same whatever follows.
TEST(ReadBoardPieces, StopsAtAnEndOfFileByteInTheAscii) {
  SystemCp932Encoder encoder;
  FakeFileSystem files(1 << 16);
  files.AddFile("f", kAsciiRun + "x\x1A\n" + kUtf8Line);
  PieceLog segments;
  EXPECT_EQ(ReadBoardPieces(*files.OpenForReading("f"), encoder, segments), BoardEncoding::kShiftJis);
  PieceLog ascii;
  std::string shown = kAsciiRun + "x";
  ForEachBoardPiece(&shown[0], shown.size(), ascii);
  EXPECT_TRUE(segments.text == ascii.text);
}

}  // namespace
}  // namespace kn
