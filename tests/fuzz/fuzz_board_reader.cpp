// Arbitrary bytes as board files, file times and memo through the board
// reader, the update stamps and the loader (in-memory file system), with
// each file also decoded whole: where a file is read as UTF-8 or UTF-16 its
// converted bytes are valid code page 932 text, reading it in segments
// gives the same pieces as reading it whole, and the plain scans give what
// the SSE2 ones give.
//
// Input: byte 0 picks the read chunk size, the next 16 bytes are the files'
// time, the rest is the memo, then "\xFF\xFE", then up to three files'
// contents separated by "\xFF\xFD" (named a, b and c).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "board/board_file.h"
#include "board/board_loader.h"
#include "board/board_stream.h"
#include "board/update_stamps.h"
#include "markup/sjis_string.h"
#include "markup/vector_scans.h"
#include "native/fake_file_system.h"
#include "platform/system_cp932_encoder.h"

namespace {

using kn::SystemTime;

void Check(bool holds) {
  if (!holds) std::abort();
}

// Board text never holds a NUL, and every CR starts a CR LF line break.
void CheckBoardText(const std::string& text) {
  Check(!text.empty());
  Check(text.find('\0') == std::string::npos);
  for (std::size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r', at + 1)) {
    Check(at + 1 < text.size() && text[at + 1] == '\n');
  }
}

void CheckMemoNames(std::string_view memo) {
  std::size_t cursor = 0;
  std::string name;
  while (kn::NextMemoLine(cursor, memo, name)) {
    Check(cursor <= memo.size());
    Check(name.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
    Check(name[0] != '\t');
  }
}

// Every lead byte has its second byte, and no byte stands alone that
// begins no character.
bool IsCp932Text(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b == 0x80 || b == 0xA0 || b >= 0xFD) return false;
    if (!kn::IsLeadValue(b)) continue;
    if (++i == text.size()) return false;
    const auto trail = static_cast<unsigned char>(text[i]);
    if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return false;
  }
  return true;
}

class PieceLog final : public kn::BoardPieceVisitor {
 public:
  void Piece(const kn::BoardPiece& piece) override {
    pieces.emplace_back(piece.bytes, piece.size);
    pieces.back() += piece.endsLine ? '\n' : '|';
  }
  std::vector<std::string> pieces;
};

// A file read whole and decoded against the same file read in segments.
void CheckFileReadings(kn::FakeFileSystem& files, const char* name, kn::Cp932Encoder& encoder) {
  kn::BoardFileBytes whole;
  Check(whole.ReadAll(*files.OpenForReading(name)));
  const std::string raw(whole.view());
  const kn::BoardEncoding encoding = whole.Decode(encoder);
  if (encoding != kn::BoardEncoding::kShiftJis) Check(IsCp932Text(whole.view()));
  else Check(whole.view() == raw);
  PieceLog fromWhole;
  kn::ForEachBoardPiece(whole.data(), whole.size(), fromWhole);
  PieceLog fromSegments;
  const kn::BoardEncoding read = kn::ReadBoardPieces(*files.OpenForReading(name), encoder, fromSegments);
  // An end-of-file byte in the leading ASCII stops the reading before the
  // encoding is known.
  if (raw.find('\x1A') == std::string::npos) Check(read == encoding);
  Check(fromSegments.pieces == fromWhole.pieces);

  kn::ForcePlainScans(true);
  PieceLog plain;
  const kn::BoardEncoding readPlainly = kn::ReadBoardPieces(*files.OpenForReading(name), encoder, plain);
  kn::ForcePlainScans(false);
  Check(readPlainly == read);
  Check(plain.pieces == fromSegments.pieces);
}

std::vector<std::string_view> SplitOn(std::string_view text, std::string_view separator, std::size_t most) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < most) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) break;
    parts.push_back(text.substr(0, at));
    text.remove_prefix(at + separator.size());
  }
  parts.push_back(text);
  return parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 17) return 0;
  const std::size_t chunk = static_cast<std::size_t>(data[0]) * 17 + 1;
  SystemTime fileTime{};
  std::memcpy(&fileTime, data + 1, sizeof fileTime);
  const std::string_view rest(reinterpret_cast<const char*>(data + 17), size - 17);

  const std::vector<std::string_view> memoAndFiles = SplitOn(rest, "\xFF\xFE", 2);
  const std::string_view memo = memoAndFiles[0];
  const std::vector<std::string_view> contents =
      SplitOn(memoAndFiles.size() > 1 ? memoAndFiles[1] : std::string_view(), "\xFF\xFD", 3);

  kn::FakeFileSystem files(chunk);
  const char* const names[] = {"a", "b", "c"};
  for (std::size_t i = 0; i < contents.size(); ++i) {
    files.AddFile(names[i], std::string(contents[i]), fileTime);
    kn::SjisString line{std::string(contents[i])};
    kn::ExpandUpdateStamps(line, fileTime);
  }
  files.AddDirectory("d", fileTime);
  files.AddLockedFile("l", fileTime);

  SystemTime newest{};
  CheckBoardText(kn::LoadBoardText("a\r\n;x\n\tb\nd\nl\nc", files, newest));
  CheckBoardText(kn::LoadBoardText(memo, files, newest));
  CheckMemoNames(memo);

  static kn::SystemCp932Encoder encoder;  // opening the converters takes long
  const std::string board = kn::LoadBoardText("a\r\nb\nc", files, encoder, newest);
  CheckBoardText(board);
  kn::ForcePlainScans(true);
  Check(kn::LoadBoardText("a\r\nb\nc", files, encoder, newest) == board);
  kn::ForcePlainScans(false);
  for (std::size_t i = 0; i < contents.size(); ++i) CheckFileReadings(files, names[i], encoder);
  return 0;
}
