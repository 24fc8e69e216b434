// A board piece visitor for tests: every piece it is handed, as one text.
#pragma once

#include <string>

#include "board/board_pieces.h"

namespace kn {

class PieceLog : public BoardPieceVisitor {
 public:
  void Piece(const BoardPiece& piece) override {
    text += std::string(piece.bytes, piece.size) + (piece.endsLine ? "\n" : "|");
    if (piece.shownSize != piece.size) text += "<" + std::to_string(piece.shownSize) + ">";
    if (piece.mayHoldStamp) text += "%";
  }
  std::string text;
};

}  // namespace kn
