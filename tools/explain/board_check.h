// Board mode, file by file, as the chip's loader tells it while it reads
// the board: which names of a board list the chip finds, whether it can
// read them, what it takes from them, which encoding it reads them in, and
// where it shows 〓 for characters Shift-JIS cannot hold.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "board/board_file.h"
#include "board/board_observer.h"
#include "explain/encoding_check.h"
#include "explain/explain_language.h"
#include "explain/geta_places.h"
#include "system/cp932_encoder.h"
#include "system/file_system.h"
#include "system/types.h"

namespace kn::explain {

struct StampChange {
  int line = 0;         // the file's line, counted by LF
  std::string before;   // the line as written
  std::string after;    // with its stamps expanded
};

// One name of the board list, as the chip's loader told it.
struct BoardEntry {
  static constexpr std::size_t kStampsListed = 20;

  int memoLine = 0;  // 1-based line of the board list
  std::string name;
  BoardEntryStatus status = BoardEntryStatus::kMissing;
  SystemTime time{};            // last written, local time (found names)
  std::size_t size = 0;         // bytes read
  BoardEncoding fileEncoding = BoardEncoding::kShiftJis;  // as the chip decodes it
  EncodingReport encoding;      // a Shift-JIS file's text as read; the mark of a marked one
  GetaPlaces getas;             // where the chip shows 〓
  int boardLines = 0;           // lines the chip shows from the file
  int commentLines = 0;         // lines beginning with `;`, not shown
  int firstLongLine = 0;        // a line beyond 1024 bytes: the chip shows it in pieces
  std::vector<StampChange> stamps;
};

// A board read once by the chip's loader: what it told of each name, and
// the text and newest time it gave.
struct BoardCheck {
  std::vector<BoardEntry> entries;
  std::string text;
  SystemTime newest{};
};

BoardCheck CheckBoard(std::string_view memo, FileSystem& files, Cp932Encoder& encoder);
std::vector<BoardEntry> CheckBoardList(std::string_view memo, FileSystem& files, Cp932Encoder& encoder);
// The same with the system's converter.
std::vector<BoardEntry> CheckBoardList(std::string_view memo, FileSystem& files);

std::string DescribeBoardEntry(const BoardEntry& entry, Language language = Language::kEnglish);

}  // namespace kn::explain
