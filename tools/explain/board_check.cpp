#include "explain/board_check.h"

#include <cstdio>

#include "board/board_loader.h"
#include "explain/terminal_text.h"
#include "platform/system_cp932_encoder.h"

namespace kn::explain {
namespace {

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

// Gathers the loader's account of each name into entries.
class EntryRecorder final : public BoardObserver {
 public:
  explicit EntryRecorder(std::string_view memo) : lines_(memo) {}

  void Entry(const BoardEntryFacts& facts) override {
    BoardEntry entry;
    entry.name = std::string(facts.name);
    entry.memoLine = lines_.LineAt(facts.memoOffset);
    entry.status = facts.status;
    entry.time = facts.time;
    entries_.push_back(std::move(entry));
    read_.clear();
  }

  void Piece(const BoardPieceFacts& piece) override {
    BoardEntry& entry = entries_.back();
    // The text as read, for the Shift-JIS check once the encoding is known.
    read_.append(piece.bytes);
    if (piece.endsLine) read_ += '\n';
    if (piece.column != 1 && entry.firstLongLine == 0) entry.firstLongLine = piece.line;
    if (piece.comment) {
      ++entry.commentLines;
      return;
    }
    ++entry.boardLines;
    if (piece.stamped && entry.stamps.size() < BoardEntry::kStampsListed) {
      entry.stamps.push_back(
          StampChange{piece.line, std::string(piece.bytes.substr(0, piece.shownSize)), std::string(piece.shown)});
    }
    for (const std::size_t byte : *piece.getas) {
      entry.getas.Add(GetaPlace{piece.line, static_cast<int>(piece.column + byte - 1),
                                static_cast<int>(piece.boardLine), static_cast<int>(byte)});
    }
  }

  void FileRead(const BoardFileFacts& file) override {
    BoardEntry& entry = entries_.back();
    entry.size = file.bytesRead;
    entry.fileEncoding = file.encoding;
    if (file.encoding == BoardEncoding::kShiftJis) {
      entry.encoding = CheckEncoding(read_);
    } else {
      entry.encoding.bom = MarkOf(file.encoding);
    }
    read_.clear();
  }

  std::vector<BoardEntry> Take() { return std::move(entries_); }

 private:
  LineCounter lines_;
  std::vector<BoardEntry> entries_;
  std::string read_;
};

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

BoardCheck CheckBoard(std::string_view memo, FileSystem& files, Cp932Encoder& encoder) {
  BoardCheck check;
  EntryRecorder recorder(memo);
  check.text = LoadBoardText(memo, files, encoder, check.newest, &recorder);
  check.entries = recorder.Take();
  return check;
}

std::vector<BoardEntry> CheckBoardList(std::string_view memo, FileSystem& files, Cp932Encoder& encoder) {
  return CheckBoard(memo, files, encoder).entries;
}

std::vector<BoardEntry> CheckBoardList(std::string_view memo, FileSystem& files) {
  SystemCp932Encoder encoder;
  return CheckBoardList(memo, files, encoder);
}

std::string DescribeBoardEntry(const BoardEntry& e, Language language) {
  static_cast<void>(language);
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
    return out + DescribeGetas(e.getas, indent);
  }
  const std::string encoding = DescribeEncoding(e.encoding, indent);
  out += encoding.empty() ? indent + "encoding: Shift-JIS, nothing wrong\n" : indent + "encoding: Shift-JIS\n" + encoding;
  return out;
}

}  // namespace kn::explain
