#include "board/board_loader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "board/board_reader.h"
#include "board/update_stamps.h"
#include "markup/sjis_string.h"

namespace kn {

namespace {

// Blocks grow with the text up to a limit, so that a small board stays
// small and a large one is held in a bounded number of blocks.
constexpr std::size_t kFirstBlockSize = 4096;
constexpr std::size_t kLargestBlockSize = 64 * 1024;

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
  std::size_t n = 0;
  while (n < piece.size() && piece[n] != '\n' && piece[n] != '\r' && piece[n] != '\0') ++n;
  return n == 0 ? std::string_view(" ") : piece.substr(0, n);
}

class BoardBuilder {
 public:
  void Append(std::string_view line) {
    if (lineCount_ != 0) text_.Append("\r\n");
    text_.Append(line);
    ++lineCount_;
  }
  bool IsEmpty() const { return lineCount_ == 0; }
  BoardText Take() { return std::move(text_); }

 private:
  BoardText text_;
  std::size_t lineCount_ = 0;
};

void AppendFileLines(FileReader& file, const SystemTime& fileTime, BoardBuilder& board) {
  BoardReader reader(file);
  std::string piece;
  while (reader.NextPiece(piece)) {
    if (piece[0] == ';') continue;
    const std::string_view line = LineOfPiece(piece);
    // Every stamp begins with '%': a line without one goes in as it is.
    if (line.find('%') == std::string_view::npos) {
      board.Append(line);
      continue;
    }
    SjisString stamped(line);
    ExpandUpdateStamps(stamped, fileTime);
    board.Append(stamped.View());
  }
}

}  // namespace

void BoardText::Append(std::string_view bytes) {
  while (!bytes.empty()) {
    if (blocks_.empty() || blocks_.back().size() == blocks_.back().capacity()) {
      blocks_.emplace_back();
      blocks_.back().reserve(std::clamp(size_, kFirstBlockSize, kLargestBlockSize));
    }
    std::string& block = blocks_.back();
    const std::size_t taken = std::min(bytes.size(), block.capacity() - block.size());
    block.append(bytes.substr(0, taken));
    bytes.remove_prefix(taken);
    size_ += taken;
  }
}

bool BoardText::Equals(std::string_view other) const {
  if (other.size() != size_) return false;
  for (const std::string& block : blocks_) {
    if (other.substr(0, block.size()) != block) return false;
    other.remove_prefix(block.size());
  }
  return true;
}

void BoardText::CopyTo(char* out) const {
  for (const std::string& block : blocks_) {
    if (block.empty()) continue;
    std::memcpy(out, block.data(), block.size());
    out += block.size();
  }
}

std::string BoardText::Join() const {
  std::string text(size_, '\0');
  if (size_ != 0) CopyTo(&text[0]);
  return text;
}

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

BoardText LoadBoard(std::string_view memo, FileSystem& files, SystemTime& newest) {
  memo = memo.substr(0, memo.find('\0'));
  BoardText message;
  if (memo.empty()) {
    message.Append(kBoardReadErrorText);
    return message;
  }

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
  if (board.IsEmpty()) {
    message.Append(kBoardNoDataText);
    return message;
  }
  return board.Take();
}

std::string LoadBoardText(std::string_view memo, FileSystem& files, SystemTime& newest) {
  return LoadBoard(memo, files, newest).Join();
}

}  // namespace kn
