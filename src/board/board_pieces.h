// The text-mode reading rules of a board file, over its code page 932
// bytes held whole: every CR is dropped, a 0x1A byte ends the file, lines end
// at LF and come in pieces of at most 1024 bytes (counted without the CRs).
// The pieces are found with memchr-class scans and handed over where they
// lie, so that a board of ordinary lines is passed over at memory speed.
#pragma once

#include <cstddef>
#include <string_view>

namespace kn {

constexpr std::size_t kBoardPieceSize = 1024;

struct BoardPiece {
  const char* bytes;  // the piece without its LF; CR bytes already dropped
  std::size_t size;
  std::size_t shownSize;  // up to the first NUL, which ends the shown line
  bool endsLine;          // an LF ended it (not the piece size or the file's end)
  bool mayHoldStamp;      // holds a `%` before shownSize
};

class BoardPieceVisitor {
 public:
  virtual ~BoardPieceVisitor() = default;
  virtual void Piece(const BoardPiece& piece) = 0;
  // The bytes of the pieces handed over so far are about to be reused.
  virtual void PiecesReleased() {}
};

// Hands every piece of the bytes to `visitor`, in order; true when a 0x1A
// byte ended the text. The bytes are changed where a line holds a CR before
// its end (the CRs are squeezed out in place).
bool ForEachBoardPiece(char* bytes, std::size_t size, BoardPieceVisitor& visitor);

// A piece whose first byte is `;` is a comment and is not shown.
inline bool IsCommentPiece(const BoardPiece& piece) { return piece.size != 0 && piece.bytes[0] == ';'; }

// The line a piece shows: cut at its first NUL, and " " when that leaves
// nothing.
inline std::string_view ShownLineOf(const BoardPiece& piece) {
  return piece.shownSize == 0 ? std::string_view(" ") : std::string_view(piece.bytes, piece.shownSize);
}

}  // namespace kn
