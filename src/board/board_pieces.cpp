#include "board/board_pieces.h"

#include <cstring>

#include "markup/line_list.h"

namespace kn {

namespace {

constexpr char kEndOfFile = '\x1A';

const char* Find(const char* from, const char* end, char c) {
  const void* at = from < end ? std::memchr(from, c, static_cast<std::size_t>(end - from)) : nullptr;
  return at != nullptr ? static_cast<const char*>(at) : end;
}

// The next occurrence of one byte at or after a position, remembered so
// that a byte that is rare costs one scan for the whole file, not one per
// line.
class NextByte {
 public:
  NextByte(char c, const char* end) : c_(c), end_(end) {}
  const char* From(const char* p) {
    if (at_ == nullptr || at_ < p) at_ = Find(p, end_, c_);
    return at_;
  }
  void Forget() { at_ = nullptr; }

 private:
  char c_;
  const char* end_;
  const char* at_ = nullptr;
};

// Squeezes the CR bytes out of [p, end); returns the new end.
char* DropCarriageReturns(char* p, char* end) {
  char* out = p;
  for (; p < end; ++p) {
    if (*p != '\r') *out++ = *p;
  }
  return out;
}

}  // namespace

bool ForEachBoardPiece(char* bytes, std::size_t size, BoardPieceVisitor& visitor) {
  char* const end = const_cast<char*>(Find(bytes, bytes + size, kEndOfFile));
  NextByte nextNul('\0', end);
  NextByte nextPercent('%', end);
  char* p = bytes;
  while (p < end) {
    // The common line ends in LF or CR LF and holds no other CR: one scan
    // finds its end. A CR anywhere else squeezes the line.
    const char* const lineBreak = FindLineBreak(p, end);
    char* lf = const_cast<char*>(lineBreak);
    char* lineEnd = lf;
    if (lineBreak < end && *lineBreak == '\r') {
      if (lineBreak + 1 < end && lineBreak[1] == '\n') {
        lf = lf + 1;
      } else {
        lf = const_cast<char*>(Find(lineBreak, end, '\n'));
        lineEnd = DropCarriageReturns(p, lf);
        nextNul.Forget();
        nextPercent.Forget();
      }
    }
    const bool hasLf = lf < end;
    const char* piece = p;
    std::size_t left = static_cast<std::size_t>(lineEnd - p);
    for (;;) {
      const bool last = left < kBoardPieceSize;
      const std::size_t n = last ? left : kBoardPieceSize;
      // A line of whole pieces that reached the file's end has no piece more.
      if (n == 0 && !hasLf) break;
      const char* const nul = nextNul.From(piece);
      const std::size_t shown = nul < piece + n ? static_cast<std::size_t>(nul - piece) : n;
      const bool percent = nextPercent.From(piece) < piece + shown;
      visitor.Piece(BoardPiece{piece, n, shown, last && hasLf, percent});
      if (last) break;
      piece += n;
      left -= n;
    }
    p = hasLf ? lf + 1 : end;
  }
  return end != bytes + size;
}

}  // namespace kn
