// Board mode, file by file: which names of a board list the chip finds,
// whether it can read them, what it takes from them, which encoding the
// chip reads them in, and where it shows 〓 for characters Shift-JIS cannot
// hold.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "board/board_file.h"
#include "explain/encoding_check.h"
#include "system/cp932_encoder.h"
#include "system/file_system.h"
#include "system/types.h"

namespace kn::explain {

enum class BoardEntryStatus {
  kComment,     // begins with `;`
  kTooLong,     // beyond the platform's path limit: treated as missing
  kMissing,     // nothing matches the name
  kUnreadable,  // found (its time counts) but not readable: a directory, wildcards, locked
  kRead,
};

struct StampChange {
  int line = 0;         // the file's line, counted by LF
  std::string before;   // the line as written
  std::string after;    // with its stamps expanded
};

// A character the chip shows as 〓 because code page 932 cannot hold it.
struct GetaPlace {
  int line = 0;    // the file's line, counted by LF
  int column = 0;  // 1-based byte of the converted line
};

struct BoardEntry {
  static constexpr std::size_t kStampsListed = 20;
  static constexpr std::size_t kGetasListed = 50;
  static constexpr std::size_t kMaxCheckedBytes = std::size_t{64} << 20;

  int memoLine = 0;  // 1-based line of the board list
  std::string name;
  BoardEntryStatus status = BoardEntryStatus::kMissing;
  SystemTime time{};            // last written, local time (found names)
  std::size_t size = 0;         // bytes read
  bool partlyChecked = false;   // larger than kMaxCheckedBytes: only those were checked
  BoardEncoding fileEncoding = BoardEncoding::kShiftJis;  // as the chip decodes it
  EncodingReport encoding;      // the bytes as they are, read as Shift-JIS
  std::vector<GetaPlace> getas; // at most kGetasListed, in file order
  std::size_t getaCount = 0;
  int boardLines = 0;           // lines the chip shows from the file
  int commentLines = 0;         // lines beginning with `;`, not shown
  int firstLongLine = 0;        // a line beyond 1024 bytes: the chip shows it in pieces
  std::vector<StampChange> stamps;
};

std::vector<BoardEntry> CheckBoardList(std::string_view memo, FileSystem& files, Cp932Encoder& encoder);
// The same with the system's converter.
std::vector<BoardEntry> CheckBoardList(std::string_view memo, FileSystem& files);

std::string DescribeBoardEntry(const BoardEntry& entry);

}  // namespace kn::explain
