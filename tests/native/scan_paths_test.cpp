// The SSE2 scans and the plain ones give the same answers on the same
// texts: boards with every kind of stop byte at every place relative to a
// sixteen-byte block, random mixtures of ASCII, Japanese UTF-8 and
// Shift-JIS, and whole board files read in segments.
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "board/board_stream.h"
#include "markup/line_list.h"
#include "markup/unicode_to_cp932.h"
#include "markup/vector_scans.h"
#include "native/fake_file_system.h"
#include "native/piece_log.h"
#include "platform/system_cp932_encoder.h"

namespace kn {
namespace {

// Also the runs of ordinary lines, which both scans must find alike.
class RunLog final : public PieceLog {
 public:
  void OrdinaryLines(const char* begin, const char* end) override { text += "[" + std::string(begin, end) + "]"; }
};

// Everything the scans decide about one text, as one string.
std::string WhatTheScansSay(const std::string& input, Cp932Encoder& encoder) {
  std::string said;
  std::string bytes = input;
  RunLog pieces;
  said += ForEachBoardPiece(bytes.data(), bytes.size(), pieces) ? "ended " : "";
  said += pieces.text + "\n";

  bytes = input;
  RunLog ascii;
  const PiecesHandedOver done = ForEachAsciiBoardPiece(bytes.data(), bytes.size(), ascii);
  said += std::to_string(done.bytes) + (done.ended ? " ended " : " ") + ascii.text + "\n";

  // From each of the first offsets, and then from some further on.
  for (std::size_t from = 0; from < input.size(); from += from < 80 ? 1 : 997) {
    said += std::to_string(FindLineBreak(input.data() + from, input.data() + input.size()) - input.data()) + ",";
    said += std::to_string(SkipAscii(input, from)) + ";";
  }
  said += "\n" + std::to_string(CountLines(input)) + "\n";
  const Utf8Prefix prefix = ScanUtf8Prefix(input);
  said += "\n" + std::to_string(prefix.end) + (prefix.illFormed ? " ill" : "") + (prefix.multibyte ? " mb" : "");

  GetaOffsets getas;
  std::string converted(input.size() * 2, '\0');
  converted.resize(Utf8ToCp932(input, converted.data(), encoder, &getas));
  said += "\n" + converted + "\n";
  for (std::size_t at : getas) said += std::to_string(at) + ",";

  for (const std::size_t chunk : {std::size_t{5}, std::size_t{1} << 16}) {
    FakeFileSystem files(chunk);
    files.AddFile("f", input);
    RunLog read;
    const BoardEncoding encoding = ReadBoardPieces(*files.OpenForReading("f"), encoder, read);
    said += "\n" + std::to_string(static_cast<int>(encoding)) + " " + read.text;
  }
  return said;
}

class ScanPaths : public ::testing::Test {
 protected:
  void TearDown() override { ForcePlainScans(false); }

  void ExpectSameOnBothPaths(const std::vector<std::string>& inputs) {
    std::vector<std::string> sse2;
    for (const std::string& input : inputs) sse2.push_back(WhatTheScansSay(input, encoder_));
    ForcePlainScans(true);
    ASSERT_EQ(ActiveScanPath(), ScanPath::kPlain);
    for (std::size_t i = 0; i < inputs.size(); ++i) {
      SCOPED_TRACE("input " + std::to_string(i) + " of " + std::to_string(inputs.size()));
      EXPECT_TRUE(WhatTheScansSay(inputs[i], encoder_) == sse2[i]) << "the paths differ on: " << inputs[i];
    }
  }

  void SetUp() override {
    if (ActiveScanPath() != ScanPath::kSse2) GTEST_SKIP() << "this processor has no SSE2: only the plain scans run";
  }

  SystemCp932Encoder encoder_;
};

TEST(ScanChoice, IsTheProcessorsUnlessATestForcesThePlainScans) {
  const ScanPath chosen = ActiveScanPath();
#if defined(__x86_64__)
  EXPECT_EQ(chosen, ScanPath::kSse2);  // every x86-64 processor has SSE2
#endif
  ForcePlainScans(true);
  EXPECT_EQ(ActiveScanPath(), ScanPath::kPlain);
  EXPECT_FALSE(UseSse2Scans());
  ForcePlainScans(false);
  EXPECT_EQ(ActiveScanPath(), chosen);
}

// Each stop byte at each offset from 0 to 40 of a line among ordinary ones,
// so that it falls at every place of a block and on both sides of its ends.
TEST_F(ScanPaths, AgreeOnEveryStopAtEveryOffset) {
  const std::string stops[] = {"\r\n", "\n", "\r", std::string(1, '\0'), "%", "\x1A", ";", "\x01", "\t",
                               "\x82\xA0", "\xE3\x81\x8A", "\xC3\xA9", "\xE3\x81", "\xFF", "\x7F"};
  std::vector<std::string> inputs;
  for (const std::string& stop : stops) {
    for (std::size_t at = 0; at <= 40; ++at) {
      std::string line(48, 'a');
      line.insert(at, stop);
      inputs.push_back("first line\r\n" + line + "\r\nlast line");
      inputs.push_back(line);
    }
  }
  ExpectSameOnBothPaths(inputs);
}

TEST_F(ScanPaths, AgreeOnRandomMixtures) {
  const std::string parts[] = {"a", "notice ", "0123", "\r\n", "\n", "\r", "%", "%UPDATE%", ";", "\x1A",
                               std::string(1, '\0'), "\xE3\x81\x8A", "\xE7\x9F\xA5", "\xEF\xBD\xB1",
                               "\xE3\x80\x9C", "\xC2\xA2", "\xF0\x9F\x98\x80", "\x82\xA0", "\x93\xFA",
                               "\xED\xA0\x80", "\xE0\xA0\x80", "\xC0\x80", "\x80", std::string(20, 'x')};
  std::mt19937 random(21);
  std::vector<std::string> inputs;
  for (int n = 0; n < 400; ++n) {
    std::string text;
    const std::size_t count = random() % 60;
    // Some texts draw only from the well-formed UTF-8 parts, so that they
    // are read as UTF-8.
    const bool utf8Only = n % 2 == 0;
    for (std::size_t k = 0; k < count; ++k) {
      const std::size_t pick = random() % (utf8Only ? 17 : std::size(parts));
      text += parts[pick];
    }
    inputs.push_back(text);
  }
  ExpectSameOnBothPaths(inputs);
}

// Lines of ordinary length and longer than a piece, over several of the
// reader's segments.
TEST_F(ScanPaths, AgreeOnLargeBoards) {
  std::string japanese;
  std::string ascii;
  for (int i = 0; i < 12000; ++i) {
    japanese += "\xE7\xAC\xAC" + std::to_string(i) + "\xE5\x8F\xB7\xEF\xBC\x9A\xE6\x9C\xAC\xE6\x97\xA5\r\n";
    ascii += "notice " + std::to_string(i) + (i % 97 == 0 ? std::string(1500, 'w') : "") + "\r\n";
  }
  ExpectSameOnBothPaths({japanese, ascii, ascii + japanese, japanese + "\x82\xA0"});
}

}  // namespace
}  // namespace kn
