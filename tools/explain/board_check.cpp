#include "explain/board_check.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "board/board_loader.h"
#include "board/board_pieces.h"
#include "board/update_stamps.h"
#include "explain/terminal_text.h"
#include "markup/sjis_string.h"
#include "platform/system_cp932_encoder.h"

namespace kn::explain {
namespace {

// Lets the board reader walk bytes already in memory.
class MemoryReader final : public FileReader {
 public:
  explicit MemoryReader(std::string_view bytes) : bytes_(bytes) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    const std::size_t n = std::min(size, bytes_.size() - at_);
    std::memcpy(buffer, bytes_.data() + at_, n);
    at_ += n;
    return n;
  }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

// Counts lines as SplitLines ends them: CR LF, a lone CR or a lone LF.
class LineCounter {
 public:
  explicit LineCounter(std::string_view text) : text_(text) {}
  int LineAt(std::size_t offset) {
    for (; at_ < offset && at_ < text_.size(); ++at_) {
      const char c = text_[at_];
      if (c == '\n' || (c == '\r' && (at_ + 1 >= text_.size() || text_[at_ + 1] != '\n'))) ++line_;
    }
    return line_;
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
  int line_ = 1;
};

bool ReadAll(FileReader& file, std::string& bytes, bool& partly) {
  char buffer[65536];
  for (;;) {
    const std::size_t n = file.Read(buffer, sizeof buffer);
    if (n == 0 || n > sizeof buffer) return true;
    if (bytes.size() + n > BoardEntry::kMaxCheckedBytes) {
      partly = true;
      return true;
    }
    bytes.append(buffer, n);
  }
}

// Walks the file's pieces as the loader reads them.
class LineTracer final : public BoardPieceVisitor {
 public:
  explicit LineTracer(BoardEntry& entry) : entry_(entry) {}

  void Piece(const BoardPiece& piece) override {
    if (!piece.endsLine && piece.size == kBoardPieceSize && entry_.firstLongLine == 0 && !continuing_) {
      entry_.firstLongLine = line_;
    }
    if (IsCommentPiece(piece)) {
      ++entry_.commentLines;
    } else {
      ++entry_.boardLines;
      const std::string_view shown(piece.bytes, piece.shownSize);
      SjisString expanded(shown);
      ExpandUpdateStamps(expanded, entry_.time);
      if (expanded.View() != shown && entry_.stamps.size() < BoardEntry::kStampsListed) {
        entry_.stamps.push_back(StampChange{line_, std::string(shown), expanded.Bytes()});
      }
    }
    continuing_ = !piece.endsLine;
    if (piece.endsLine) ++line_;
  }

 private:
  BoardEntry& entry_;
  int line_ = 1;
  bool continuing_ = false;  // the piece continues a line longer than a piece
};

// Line and column of each 〓 the conversion wrote, in the converted text.
void PlaceGetas(std::string_view text, const GetaOffsets& offsets, BoardEntry& entry) {
  entry.getaCount = offsets.size();
  int line = 1;
  std::size_t lineStart = 0;
  std::size_t at = 0;
  for (const std::size_t offset : offsets) {
    if (entry.getas.size() == BoardEntry::kGetasListed) break;
    for (; at < offset; ++at) {
      if (text[at] == '\n') {
        ++line;
        lineStart = at + 1;
      }
    }
    entry.getas.push_back(GetaPlace{line, static_cast<int>(offset - lineStart) + 1});
  }
}

void CheckEntry(BoardEntry& entry, FileSystem& files, Cp932Encoder& encoder) {
  if (entry.name[0] == ';') {
    entry.status = BoardEntryStatus::kComment;
    return;
  }
  if (entry.name.size() > kMaxBoardFileName) {
    entry.status = BoardEntryStatus::kTooLong;
    return;
  }
  if (!files.GetFileLocalTime(entry.name, entry.time)) {
    entry.status = BoardEntryStatus::kMissing;
    return;
  }
  const std::unique_ptr<FileReader> file = files.OpenForReading(entry.name);
  if (!file) {
    entry.status = BoardEntryStatus::kUnreadable;
    return;
  }
  entry.status = BoardEntryStatus::kRead;
  std::string bytes;
  ReadAll(*file, bytes, entry.partlyChecked);
  entry.size = bytes.size();
  entry.encoding = CheckEncoding(bytes);
  MemoryReader memory(bytes);
  BoardFileBytes decoded;
  if (!decoded.ReadAll(memory)) return;
  GetaOffsets getas;
  entry.fileEncoding = decoded.Decode(encoder, &getas);
  PlaceGetas(decoded.view(), getas, entry);
  LineTracer tracer(entry);
  ForEachBoardPiece(decoded.data(), decoded.size(), tracer);
}

const char* EncodingName(BoardEncoding encoding) {
  switch (encoding) {
    case BoardEncoding::kUtf8WithMark: return "UTF-8 with mark (a UTF-8 byte-order mark, EF BB BF, dropped)";
    case BoardEncoding::kUtf8: return "UTF-8 (no mark, and the whole file is valid UTF-8)";
    case BoardEncoding::kUtf16LittleEndian: return "UTF-16 LE (a UTF-16 byte-order mark, FF FE, dropped)";
    case BoardEncoding::kUtf16BigEndian: return "UTF-16 BE (a UTF-16 byte-order mark, FE FF, dropped)";
    case BoardEncoding::kShiftJis: break;
  }
  return "Shift-JIS";
}

std::string DescribeGetas(const BoardEntry& e, const std::string& indent) {
  if (e.getaCount == 0) return "";
  std::string out = indent + std::to_string(e.getaCount) +
                    " character(s) that Shift-JIS cannot hold (or bytes that are no character), each shown "
                    "as \x81\xAC:\n";
  for (const GetaPlace& place : e.getas) {
    out += indent + "  line " + std::to_string(place.line) + ", byte " + std::to_string(place.column) + "\n";
  }
  if (e.getaCount > e.getas.size()) {
    out += indent + "  and " + std::to_string(e.getaCount - e.getas.size()) + " more\n";
  }
  return out;
}

std::string FileTimeText(const SystemTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", unsigned{t.wYear}, unsigned{t.wMonth},
                unsigned{t.wDay}, unsigned{t.wHour}, unsigned{t.wMinute}, unsigned{t.wSecond});
  return text;
}

bool HasOuterBlanks(const std::string& name) {
  return static_cast<unsigned char>(name.front()) <= 0x20 || static_cast<unsigned char>(name.back()) <= 0x20;
}

}  // namespace

std::vector<BoardEntry> CheckBoardList(std::string_view memo, FileSystem& files) {
  SystemCp932Encoder encoder;
  return CheckBoardList(memo, files, encoder);
}

std::vector<BoardEntry> CheckBoardList(std::string_view memo, FileSystem& files, Cp932Encoder& encoder) {
  memo = memo.substr(0, memo.find('\0'));
  std::vector<BoardEntry> entries;
  LineCounter counter(memo);
  std::size_t cursor = 0;
  std::string name;
  while (NextMemoLine(cursor, memo, name)) {
    BoardEntry entry;
    entry.name = name;
    entry.memoLine = counter.LineAt(cursor - name.size());
    CheckEntry(entry, files, encoder);
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::string DescribeBoardEntry(const BoardEntry& e) {
  std::string out = "board list line " + std::to_string(e.memoLine) + ": " + Quote(e.name) + "\n";
  const std::string indent = "  ";
  switch (e.status) {
    case BoardEntryStatus::kComment:
      return out + indent + "comment (begins with ';'): names no file\n";
    case BoardEntryStatus::kTooLong:
      return out + indent + "longer than 259 bytes: no file can have this name, the chip skips it\n";
    case BoardEntryStatus::kMissing:
      out += indent + "not found: the chip skips it";
      if (HasOuterBlanks(e.name)) out += " (blanks before or after the name are part of it)";
      return out + "\n";
    case BoardEntryStatus::kUnreadable:
      return out + indent + "found, last written " + FileTimeText(e.time) +
             ", but cannot be read (a directory, a name with wildcards, or a locked file): its time counts for "
             "the update alert, no lines come from it\n";
    case BoardEntryStatus::kRead:
      break;
  }
  out += indent + "found, last written " + FileTimeText(e.time) + "; " + std::to_string(e.size) + " bytes; " +
         std::to_string(e.boardLines) + " board line(s)";
  if (e.commentLines > 0) out += ", " + std::to_string(e.commentLines) + " comment line(s) not shown";
  out += "\n";
  if (e.partlyChecked) out += indent + "only the first 64 MiB were checked\n";
  if (e.firstLongLine != 0) {
    out += indent + "line " + std::to_string(e.firstLongLine) +
           " is longer than 1024 bytes: the chip shows it in pieces of 1024 bytes, one line each\n";
  }
  for (const StampChange& stamp : e.stamps) {
    out += indent + "stamp on line " + std::to_string(stamp.line) + ": " + Quote(stamp.before) + " -> " +
           Quote(stamp.after) + "\n";
  }
  if (e.fileEncoding != BoardEncoding::kShiftJis) {
    out += indent + "encoding: " + EncodingName(e.fileEncoding) + "; the chip converts it to Shift-JIS\n";
    return out + DescribeGetas(e, indent);
  }
  const std::string encoding = DescribeEncoding(e.encoding, indent);
  out += encoding.empty() ? indent + "encoding: Shift-JIS, nothing wrong\n" : indent + "encoding: Shift-JIS\n" + encoding;
  return out;
}

}  // namespace kn::explain
