#include "board/board_loader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <typeinfo>

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
  std::size_t Count() const { return lineCount_; }

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

// Writes the board line a piece that is no comment shows, its stamps
// expanded, and hands it to `shown` with whether the stamps changed it
// (an expanded line lives only for that call).
template <typename Shown>
void ShowPiece(const BoardPiece& piece, const SystemTime& fileTime, BoardLineWriter& lines, Shown&& shown) {
  const std::string_view line = ShownLineOf(piece);
  if (!piece.mayHoldStamp) {
    if (piece.shownSize == 0) {
      lines.OtherLine(line);
    } else {
      lines.FileLine(line.data(), line.size());
    }
    shown(line, false);
    return;
  }
  SjisString stamped(line);
  ExpandUpdateStamps(stamped, fileTime);
  lines.OtherLine(stamped.View());
  shown(stamped.View(), stamped.View() != line);
}

// Shows a file's pieces: comments dropped, stamps expanded.
class FileLines final : public BoardPieceVisitor {
 public:
  FileLines(const SystemTime& fileTime, BoardLineWriter& lines) : fileTime_(fileTime), lines_(lines) {}

  void Piece(const BoardPiece& piece) override {
    if (!IsCommentPiece(piece)) ShowPiece(piece, fileTime_, lines_, [](std::string_view, bool) {});
  }

  // They stand as they are shown, CR LF between them: one run of bytes.
  void OrdinaryLines(const char* begin, const char* end) override {
    lines_.FileLine(begin, static_cast<std::size_t>(end - begin));
  }

  void PiecesReleased() override { lines_.EndFile(); }

 private:
  const SystemTime& fileTime_;
  BoardLineWriter& lines_;
};

// Shows a file's pieces as FileLines does, one by one, and tells the
// observer of each: its line, what it showed, and where the conversion put
// 〓 in it.
class ObservedFileLines final : public BoardPieceVisitor, public BoardConversionWatcher {
 public:
  ObservedFileLines(const SystemTime& fileTime, BoardLineWriter& lines, BoardObserver& observer)
      : fileTime_(fileTime), lines_(lines), observer_(observer) {}

  // The text comes whole or a segment at a time, each right after the last.
  void Converted(std::string_view text, const GetaOffsets& getas) override {
    if (base_ == nullptr || text.data() != base_ + converted_.size()) {
      base_ = text.data();
      converted_.clear();
      getas_.clear();
      nextGeta_ = 0;
    }
    for (const std::size_t offset : getas) getas_.push_back(converted_.size() + offset);
    converted_.append(text);
  }

  void Piece(const BoardPiece& piece) override {
    BoardPieceFacts facts;
    facts.line = line_;
    facts.column = column_;
    facts.bytes = std::string_view(piece.bytes, piece.size);
    facts.shownSize = piece.shownSize;
    facts.endsLine = piece.endsLine;
    facts.comment = IsCommentPiece(piece);
    PlaceGetas(piece, facts.comment ? 0 : piece.shownSize);
    facts.getas = &pieceGetas_;
    if (facts.comment) {
      observer_.Piece(facts);
    } else {
      ShowPiece(piece, fileTime_, lines_, [&](std::string_view shown, bool stamped) {
        facts.boardLine = lines_.Count();
        facts.shown = shown;
        facts.stamped = stamped;
        observer_.Piece(facts);
      });
    }
    if (piece.endsLine) {
      ++line_;
      column_ = 1;
    } else {
      column_ += piece.size;
    }
  }

  void PiecesReleased() override { lines_.EndFile(); }

 private:
  // Finds the 〓 of the conversion among the piece's bytes, before `shown`.
  // A line's first piece starts where the line stood in the converted text;
  // the reading may have dropped bytes from it since (its CRs), which are
  // the bytes the walk meets that the piece no longer holds.
  void PlaceGetas(const BoardPiece& piece, std::size_t shown) {
    pieceGetas_.clear();
    if (base_ == nullptr || nextGeta_ == getas_.size()) return;
    std::size_t at = column_ == 1 ? static_cast<std::size_t>(piece.bytes - base_) : original_;
    for (std::size_t i = 0; i < piece.size && nextGeta_ < getas_.size(); ++i, ++at) {
      while (at < converted_.size() && converted_[at] != piece.bytes[i]) ++at;
      while (nextGeta_ < getas_.size() && getas_[nextGeta_] < at) ++nextGeta_;
      if (nextGeta_ < getas_.size() && getas_[nextGeta_] == at) {
        if (i < shown) pieceGetas_.push_back(i + 1);
        ++nextGeta_;
      }
    }
    original_ = at;
  }

  const SystemTime& fileTime_;
  BoardLineWriter& lines_;
  BoardObserver& observer_;
  int line_ = 1;
  std::size_t column_ = 1;
  std::string converted_;        // the converted text as it was before its pieces were read
  const char* base_ = nullptr;   // where it lies while its pieces are handed over; null before
  GetaOffsets getas_;
  std::size_t nextGeta_ = 0;
  std::size_t original_ = 0;     // where the current line goes on in converted_
  std::vector<std::size_t> pieceGetas_;
};

// Counts the bytes a file gives.
class CountingReader final : public FileReader {
 public:
  explicit CountingReader(FileReader& file) : file_(file) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    const std::size_t got = file_.Read(buffer, size);
    if (got <= size) count_ += got;
    return got;
  }
  std::size_t SizeHint() override { return file_.SizeHint(); }
  std::size_t Count() const { return count_; }

 private:
  FileReader& file_;
  std::size_t count_ = 0;
};

void AppendObservedFileLines(FileReader& file, const SystemTime& fileTime, Cp932Encoder& encoder,
                             BoardOutput& out, BoardLineWriter& lines, BoardObserver& observer) {
  out.Expect(file.SizeHint());
  CountingReader counted(file);
  ObservedFileLines visitor(fileTime, lines, observer);
  const BoardEncoding encoding = ReadBoardPieces(counted, encoder, visitor, &visitor);
  observer.FileRead(BoardFileFacts{encoding, counted.Count()});
}

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

namespace {

// Walks the memo's list by the rules every reading of it shares: `entry`
// hears each name in memo order, with what was decided for it, its time
// and, for a kRead entry, the opened file, and may stop the walk by
// answering false. `newest` receives the time of the newest file found.
// False when the walk was stopped.
template <typename Entry>
bool WalkBoardList(std::string_view memo, FileSystem& files, SystemTime& newest, Entry&& entry) {
  PackedTime newestPacked;
  std::size_t cursor = 0;
  std::string name;
  const auto tell = [&](BoardEntryStatus status, const SystemTime& time, FileReader* file) {
    return entry(BoardEntryFacts{name, cursor - name.size(), status, time}, file);
  };
  while (NextMemoLine(cursor, memo, name)) {
    SystemTime fileTime{};
    if (name[0] == ';') {
      if (!tell(BoardEntryStatus::kComment, fileTime, nullptr)) return false;
      continue;
    }
    if (name.size() > kMaxBoardFileName) {
      if (!tell(BoardEntryStatus::kTooLong, fileTime, nullptr)) return false;
      continue;
    }
    if (!files.GetFileLocalTime(name, fileTime)) {
      if (!tell(BoardEntryStatus::kMissing, fileTime, nullptr)) return false;
      continue;
    }
    const PackedTime packed = PackedTime::Of(fileTime);
    if (packed.IsLaterThan(newestPacked)) {
      newest = fileTime;
      newestPacked = packed;
    }
    const std::unique_ptr<FileReader> file = files.OpenForReading(name);
    if (!tell(file ? BoardEntryStatus::kRead : BoardEntryStatus::kUnreadable, fileTime, file.get())) return false;
  }
  return true;
}

// What the file system told of a name: a comment or a name too long never
// reaches it.
bool ReachesFiles(BoardEntryStatus status) {
  return status != BoardEntryStatus::kComment && status != BoardEntryStatus::kTooLong;
}

BoardFileFingerprint FingerprintOf(BoardEntryStatus status, const SystemTime& time) {
  BoardFileFingerprint file;
  file.found = status != BoardEntryStatus::kMissing;
  file.opened = status == BoardEntryStatus::kRead;
  file.time = time;
  return file;
}

}  // namespace

void LoadBoardInto(std::string_view memo, FileSystem& files, Cp932Encoder& encoder, SystemTime& newest,
                   BoardOutput& out, BoardObserver* observer, BoardFingerprint* consumed) {
  memo = memo.substr(0, memo.find('\0'));
  if (consumed != nullptr) consumed->Begin(memo, typeid(encoder));
  if (memo.empty()) {
    out.Append(kBoardReadErrorText);
    return;
  }
  BoardLineWriter lines(out);
  const auto append = [&](FileReader& file, const SystemTime& fileTime) {
    if (observer != nullptr) {
      AppendObservedFileLines(file, fileTime, encoder, out, lines, *observer);
    } else {
      AppendFileLines(file, fileTime, encoder, out, lines);
    }
  };
  WalkBoardList(memo, files, newest, [&](const BoardEntryFacts& entry, FileReader* file) {
    if (observer != nullptr) observer->Entry(entry);
    if (consumed == nullptr || !ReachesFiles(entry.status)) {
      if (file != nullptr) append(*file, entry.time);
      return true;
    }
    BoardFileFingerprint taken = FingerprintOf(entry.status, entry.time);
    if (file != nullptr) {
      HashingReader hashed(*file);
      append(hashed, entry.time);
      if (!hashed.ReachedEnd()) consumed->Spoil();
      taken.size = hashed.Count();
      taken.hash = hashed.Digest();
    }
    consumed->Add(taken);
    return true;
  });
  if (lines.IsEmpty()) out.Append(kBoardNoDataText);
}

bool IsBoardAsBuilt(std::string_view memo, FileSystem& files, Cp932Encoder& encoder, const BoardFingerprint& built,
                    SystemTime& newest) {
  memo = memo.substr(0, memo.find('\0'));
  if (!built.IsFor(memo, typeid(encoder))) return false;
  const std::vector<BoardFileFingerprint>& expected = built.Files();
  std::size_t next = 0;
  SystemTime found = newest;
  const bool same = WalkBoardList(memo, files, found, [&](const BoardEntryFacts& entry, FileReader* file) {
    if (!ReachesFiles(entry.status)) return true;
    if (next == expected.size()) return false;
    const BoardFileFingerprint& was = expected[next++];
    BoardFileFingerprint now = FingerprintOf(entry.status, entry.time);
    if (file == nullptr) return now == was;
    // Nothing is read when what the file system tells already differs (an
    // edited file has a new time, most often a new size too).
    const std::size_t told = file->SizeHint();
    if (!was.opened || std::memcmp(&now.time, &was.time, sizeof now.time) != 0 || (told != 0 && told != was.size)) {
      return false;
    }
    return HashWholeFile(*file, now.size, now.hash) && now == was;
  });
  if (!same || next != expected.size()) return false;
  newest = found;
  return true;
}

BoardText LoadBoard(std::string_view memo, FileSystem& files, Cp932Encoder& encoder, SystemTime& newest,
                    BoardObserver* observer) {
  BoardText text;
  LoadBoardInto(memo, files, encoder, newest, text, observer);
  return text;
}

std::string LoadBoardText(std::string_view memo, FileSystem& files, Cp932Encoder& encoder, SystemTime& newest,
                          BoardObserver* observer) {
  return LoadBoard(memo, files, encoder, newest, observer).Join();
}

std::string LoadBoardText(std::string_view memo, FileSystem& files, SystemTime& newest) {
  RefusingCp932Encoder encoder;
  return LoadBoardText(memo, files, encoder, newest);
}

}  // namespace kn
