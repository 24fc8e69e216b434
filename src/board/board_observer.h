// What the board loader did with each name of the memo's list and with each
// piece of each file, for a reader that wants to explain a board
// (kn-explain). The loader tells it only when given one; the chip gives none
// and pays nothing for it.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "board/board_file.h"
#include "system/types.h"

namespace kn {

enum class BoardEntryStatus {
  kComment,     // begins with `;`
  kTooLong,     // beyond the platform's path limit: treated as missing
  kMissing,     // nothing matches the name
  kUnreadable,  // found (its time counts) but cannot be opened: a directory, wildcards, locked
  kRead,
};

struct BoardEntryFacts {
  std::string_view name;
  std::size_t memoOffset = 0;  // where the name begins in the memo
  BoardEntryStatus status = BoardEntryStatus::kMissing;
  SystemTime time{};           // last written, local time (kUnreadable and kRead)
};

struct BoardPieceFacts {
  int line = 0;                 // of the file, 1-based, counted by LF
  std::size_t column = 1;       // 1-based byte of that line where the piece begins
  std::string_view bytes;       // as read: decoded, CRs dropped, without its LF
  std::size_t shownSize = 0;    // bytes before the first NUL
  bool endsLine = false;        // an LF ended it, not the piece size or the file's end
  bool comment = false;         // begins with `;`: not shown
  std::size_t boardLine = 0;    // the board line it shows as, 1-based; 0 for a comment
  std::string_view shown;       // that board line (stamps expanded); empty for a comment
  bool stamped = false;         // its stamps changed it
  // 1-based bytes of `bytes` where the conversion to code page 932 put 〓,
  // as far as the board line shows them.
  const std::vector<std::size_t>* getas = nullptr;
};

struct BoardFileFacts {
  BoardEncoding encoding = BoardEncoding::kShiftJis;
  std::size_t bytesRead = 0;
};

class BoardObserver {
 public:
  virtual ~BoardObserver() = default;
  // Each name of the list, in memo order, as soon as it is decided.
  virtual void Entry(const BoardEntryFacts& entry) = 0;
  // Each piece of the file of the last kRead entry, in order.
  virtual void Piece(const BoardPieceFacts& piece) = 0;
  // After the last piece of that file.
  virtual void FileRead(const BoardFileFacts& file) = 0;
};

}  // namespace kn
