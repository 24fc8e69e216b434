#include "board/board_loader.h"

#include <cstdint>
#include <memory>

#include "board/board_reader.h"
#include "board/update_stamps.h"
#include "markup/sjis_string.h"

namespace kn {

namespace {

constexpr std::size_t kInitialTextCapacity = 4096;

// A local time packed as two decimal integers, compared date first.
struct PackedTime {
  std::int32_t date = 0;  // YYYYMMDD
  std::int32_t time = 0;  // HHMMSS

  static PackedTime Of(const SystemTime& t) {
    return {t.wYear * 10000 + t.wMonth * 100 + t.wDay, t.wHour * 10000 + t.wMinute * 100 + t.wSecond};
  }
  bool IsLaterThan(const PackedTime& other) const {
    return date > other.date || (date == other.date && time > other.time);
  }
};

// The shown line of a piece: cut at its first LF, CR or NUL, never empty.
std::string_view LineOfPiece(std::string_view piece) {
  const std::string_view line = piece.substr(0, piece.find_first_of(std::string_view("\n\r\0", 3)));
  return line.empty() ? std::string_view(" ") : line;
}

class BoardBuilder {
 public:
  BoardBuilder() { text_.reserve(kInitialTextCapacity); }

  void Append(std::string_view line) {
    if (lineCount_ != 0) text_.append("\r\n");
    text_.append(line);
    ++lineCount_;
  }
  bool IsEmpty() const { return lineCount_ == 0; }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
  std::size_t lineCount_ = 0;
};

void AppendFileLines(FileReader& file, const SystemTime& fileTime, BoardBuilder& board) {
  BoardReader reader(file);
  std::string piece;
  while (reader.NextPiece(piece)) {
    if (piece[0] == ';') continue;
    SjisString line(LineOfPiece(piece));
    ExpandUpdateStamps(line, fileTime);
    board.Append(line.View());
  }
}

}  // namespace

bool NextMemoLine(std::size_t& cursor, std::string_view memo, std::string& name) {
  name.clear();
  if (cursor >= memo.size()) return false;
  while (cursor < memo.size() && (memo[cursor] == '\r' || memo[cursor] == '\n' || memo[cursor] == '\t')) {
    ++cursor;
  }
  const std::size_t begin = cursor;
  while (cursor < memo.size() && memo[cursor] != '\0' && memo[cursor] != '\r' && memo[cursor] != '\n') {
    ++cursor;
  }
  name.assign(memo.substr(begin, cursor - begin));
  return !name.empty();
}

std::string LoadBoardText(std::string_view memo, FileSystem& files, SystemTime& newest) {
  memo = memo.substr(0, memo.find('\0'));
  if (memo.empty()) return std::string(kBoardReadErrorText);

  BoardBuilder board;
  PackedTime newestPacked;
  std::size_t cursor = 0;
  std::string name;
  while (NextMemoLine(cursor, memo, name)) {
    if (name[0] == ';' || name.size() > kMaxBoardFileName) continue;
    SystemTime fileTime{};
    if (!files.GetFileLocalTime(name, fileTime)) continue;
    const PackedTime packed = PackedTime::Of(fileTime);
    if (packed.IsLaterThan(newestPacked)) {
      newest = fileTime;
      newestPacked = packed;
    }
    const std::unique_ptr<FileReader> file = files.OpenForReading(name);
    if (file) AppendFileLines(*file, fileTime, board);
  }
  if (board.IsEmpty()) return std::string(kBoardNoDataText);
  return board.Take();
}

}  // namespace kn
