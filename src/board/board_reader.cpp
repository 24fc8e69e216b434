#include "board/board_reader.h"

#include <algorithm>

namespace kn {

namespace {

constexpr char kEndOfFile = '\x1A';

// CR is dropped, LF ends a piece, 0x1A ends the file; every other byte is
// copied as it is.
bool IsSpecial(char c) { return c == '\r' || c == '\n' || c == kEndOfFile; }

// The length of the run of ordinary bytes at the start of `bytes`.
std::size_t OrdinaryRun(const char* bytes, std::size_t n) {
  std::size_t i = 0;
  while (i < n && !IsSpecial(bytes[i])) ++i;
  return i;
}

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
    // Ordinary bytes go over in one run, up to the piece's room.
    const std::size_t room = std::min(kPieceSize - piece.size(), end_ - next_);
    const std::size_t run = OrdinaryRun(buffer_ + next_, room);
    piece.append(buffer_ + next_, run);
    next_ += run;
    if (run == room) continue;
    const char c = buffer_[next_++];
    if (c == '\r') continue;
    if (c == kEndOfFile) {
      ended_ = true;
      next_ = end_;
      break;
    }
    piece.push_back(c);  // the LF that ends the piece
    break;
  }
  return !piece.empty();
}

}  // namespace kn
