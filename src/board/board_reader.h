// Reads a board file as text-mode lines over plain binary reads, so that the
// DLL and the native build see the same lines: every CR is dropped, a 0x1A
// byte ends the file, and a line comes in pieces of at most kPieceSize bytes.
#pragma once

#include <cstddef>
#include <string>

#include "system/file_system.h"

namespace kn {

class BoardReader {
 public:
  static constexpr std::size_t kPieceSize = 1024;

  explicit BoardReader(FileReader& file) : file_(file) {}
  BoardReader(const BoardReader&) = delete;
  BoardReader& operator=(const BoardReader&) = delete;

  // The next piece: bytes up to and including an LF, or kPieceSize bytes,
  // whichever comes first (CR bytes are not counted, being dropped). False
  // when the file has nothing more.
  bool NextPiece(std::string& piece);

 private:
  // Refills the buffer; false at the end of the file.
  bool Fill();

  FileReader& file_;
  char buffer_[4096];
  std::size_t next_ = 0;
  std::size_t end_ = 0;
  bool ended_ = false;
};

}  // namespace kn
