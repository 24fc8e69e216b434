#include "board/board_loader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "board/board_pieces.h"
#include "board/board_stream.h"
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

// Joins the board's lines by CR LF into the output. A run of lines that
// stand in the file's bytes just as they are shown, CR LF between them, goes
// over as one piece: a board of ordinary lines costs one comparison or copy
// per file, not one per line.
class BoardLineWriter {
 public:
  explicit BoardLineWriter(BoardOutput& out) : out_(out) {}
  ~BoardLineWriter() { Flush(); }
  BoardLineWriter(const BoardLineWriter&) = delete;
  BoardLineWriter& operator=(const BoardLineWriter&) = delete;

  // A line that lies in the current file's bytes.
  void FileLine(const char* bytes, std::size_t n) {
    if (lineCount_++ != 0) {
      if (runEnd_ != nullptr && bytes == runEnd_ + 2 && runEnd_[0] == '\r' && runEnd_[1] == '\n') {
        runEnd_ = bytes + n;
        return;
      }
      Write(kLineBreak);
    }
    if (bytes != runEnd_) {
      Flush();
      runBegin_ = bytes;
    }
    runEnd_ = bytes + n;
  }

  // A line held elsewhere (expanded stamps, the blank of an empty line).
  void OtherLine(std::string_view line) {
    if (lineCount_++ != 0) Write(kLineBreak);
    Write(line);
  }

  // The bytes the lines lie in are about to go: what waits goes first.
  void EndFile() { Flush(); }
  bool IsEmpty() const { return lineCount_ == 0; }

 private:
  static constexpr std::string_view kLineBreak = "\r\n";

  void Write(std::string_view bytes) {
    Flush();
    out_.Append(bytes);
  }
  void Flush() {
    if (runEnd_ != nullptr) out_.Append(std::string_view(runBegin_, static_cast<std::size_t>(runEnd_ - runBegin_)));
    runBegin_ = runEnd_ = nullptr;
  }

  BoardOutput& out_;
  const char* runBegin_ = nullptr;
  const char* runEnd_ = nullptr;
  std::size_t lineCount_ = 0;
};

// Shows a file's pieces: comments dropped, stamps expanded.
class FileLines final : public BoardPieceVisitor {
 public:
  FileLines(const SystemTime& fileTime, BoardLineWriter& lines) : fileTime_(fileTime), lines_(lines) {}

  void Piece(const BoardPiece& piece) override {
    if (IsCommentPiece(piece)) return;
    const std::string_view line = ShownLineOf(piece);
    if (!piece.mayHoldStamp) {
      if (piece.shownSize == 0) {
        lines_.OtherLine(line);
      } else {
        lines_.FileLine(line.data(), line.size());
      }
      return;
    }
    SjisString stamped(line);
    ExpandUpdateStamps(stamped, fileTime_);
    lines_.OtherLine(stamped.View());
  }

  void PiecesReleased() override { lines_.EndFile(); }

 private:
  const SystemTime& fileTime_;
  BoardLineWriter& lines_;
};

void AppendFileLines(FileReader& file, const SystemTime& fileTime, Cp932Encoder& encoder, BoardOutput& out,
                     BoardLineWriter& lines) {
  out.Expect(file.SizeHint());
  FileLines visitor(fileTime, lines);
  ReadBoardPieces(file, encoder, visitor);
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

void LoadBoardInto(std::string_view memo, FileSystem& files, Cp932Encoder& encoder, SystemTime& newest,
                   BoardOutput& out) {
  memo = memo.substr(0, memo.find('\0'));
  if (memo.empty()) {
    out.Append(kBoardReadErrorText);
    return;
  }
  BoardLineWriter lines(out);
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
    if (file) AppendFileLines(*file, fileTime, encoder, out, lines);
  }
  if (lines.IsEmpty()) out.Append(kBoardNoDataText);
}

BoardText LoadBoard(std::string_view memo, FileSystem& files, Cp932Encoder& encoder, SystemTime& newest) {
  BoardText text;
  LoadBoardInto(memo, files, encoder, newest, text);
  return text;
}

std::string LoadBoardText(std::string_view memo, FileSystem& files, Cp932Encoder& encoder, SystemTime& newest) {
  return LoadBoard(memo, files, encoder, newest).Join();
}

std::string LoadBoardText(std::string_view memo, FileSystem& files, SystemTime& newest) {
  RefusingCp932Encoder encoder;
  return LoadBoardText(memo, files, encoder, newest);
}

}  // namespace kn
