#include "board/board_reader.h"

namespace kn {

namespace {
constexpr char kEndOfFile = '\x1A';
}  // namespace

bool BoardReader::Fill() {
  if (ended_) return false;
  next_ = 0;
  end_ = file_.Read(buffer_, sizeof buffer_);
  if (end_ > sizeof buffer_) end_ = 0;  // a reader that overstates is treated as failed
  if (end_ == 0) ended_ = true;
  return end_ != 0;
}

bool BoardReader::NextPiece(std::string& piece) {
  piece.clear();
  while (piece.size() < kPieceSize) {
    if (next_ == end_ && !Fill()) break;
    const char c = buffer_[next_++];
    if (c == '\r') continue;
    if (c == kEndOfFile) {
      ended_ = true;
      next_ = end_;
      break;
    }
    piece.push_back(c);
    if (c == '\n') break;
  }
  return !piece.empty();
}

}  // namespace kn
