#include "board/board_stream.h"

#include <algorithm>

#include "markup/byte_order_marks.h"
#include "markup/unicode_to_cp932.h"

namespace kn {

namespace {

// Large enough that a read costs little beside the copy, small enough to
// stay in the processor's cache.
constexpr std::size_t kSegment = std::size_t{1} << 18;

// How far the file's reading is settled.
enum class Reading {
  kAscii,       // nothing but ASCII so far: read the same in every encoding
  kMaybeUtf8,   // well-formed UTF-8 since the first byte beyond ASCII
  kShiftJis,    // a byte that UTF-8 cannot hold: Shift-JIS for certain
};

// The end of the last whole line in [from, limit): just after its LF, or 0.
std::size_t EndOfLastLine(const char* bytes, std::size_t from, std::size_t limit) {
  for (std::size_t i = limit; i > from; --i) {
    if (bytes[i - 1] == '\n') return i;
  }
  return 0;
}

class SegmentReader {
 public:
  SegmentReader(FileReader& file, Cp932Encoder& encoder, BoardPieceVisitor& visitor,
                BoardConversionWatcher* watcher)
      : file_(file), encoder_(encoder), visitor_(visitor), watcher_(watcher) {
    // A small file is read in halves, so that the board shown and the
    // file's buffer together stay within twice the board; one held whole
    // grows once to the size told.
    const std::size_t told = file.SizeHint();
    firstCapacity_ = told != 0 && told < kSegment ? told / 2 + 1 : kSegment;
  }

  BoardEncoding Run() {
    bool more = true;
    while (more && buffer_.size() < kLongestByteOrderMark) more = buffer_.ReadMore(file_, firstCapacity_);
    if (StartsWithMark(buffer_.view())) return WholeFileWithMark(more);
    while (more) {
      if (reading_ == Reading::kAscii ? HandOverAsciiLines() : HandOverSettledLines()) return Encoding();
      more = buffer_.ReadMore(file_, firstCapacity_);
    }
    Classify();
    if (reading_ == Reading::kMaybeUtf8 && scanned_ == buffer_.size()) {
      utf8_ = true;
      buffer_.ConvertFromUtf8InSegments(encoder_, kSegment, visitor_, watcher_);
      return Encoding();
    }
    HandOver(buffer_.size());
    return Encoding();
  }

 private:
  BoardEncoding Encoding() const { return utf8_ ? BoardEncoding::kUtf8 : BoardEncoding::kShiftJis; }

  BoardEncoding WholeFileWithMark(bool more) {
    while (more) more = buffer_.ReadMore(file_, firstCapacity_);
    const BoardEncoding encoding = buffer_.Decode(encoder_, watcher_ != nullptr ? &getas_ : nullptr);
    if (watcher_ != nullptr && encoding != BoardEncoding::kShiftJis) watcher_->Converted(buffer_.view(), getas_);
    HandOver(buffer_.size());
    return encoding;
  }

  // Looks at the bytes read since the last call.
  void Classify() {
    const std::string_view bytes = buffer_.view();
    if (reading_ == Reading::kAscii) {
      scanned_ = SkipAscii(bytes, scanned_);
      if (scanned_ == bytes.size()) return;
      reading_ = Reading::kMaybeUtf8;
      firstHigh_ = scanned_;
    }
    if (reading_ == Reading::kMaybeUtf8) {
      const Utf8Prefix prefix = ScanUtf8Prefix(bytes.substr(scanned_));
      scanned_ += prefix.end;
      if (prefix.illFormed) reading_ = Reading::kShiftJis;
    }
  }

  // While all is ASCII, the scan that hands the whole lines over also looks
  // for the first other byte; from its line on the reading is settled as
  // below. True when a 0x1A byte ended the file.
  bool HandOverAsciiLines() {
    const std::size_t lines = EndOfLastLine(buffer_.data(), lineless_, buffer_.size());
    if (lines == 0) {
      lineless_ = buffer_.size();
      return false;
    }
    const PiecesHandedOver done = ForEachAsciiBoardPiece(buffer_.data(), lines, visitor_);
    visitor_.PiecesReleased();
    if (done.ended) return true;
    buffer_.Consume(done.bytes);
    lineless_ = 0;
    scanned_ = 0;
    if (done.bytes == lines) return false;
    return HandOverSettledLines();
  }

  // Hands over the whole lines whose reading is settled and frees their
  // room; true when a 0x1A byte ended the file.
  bool HandOverSettledLines() {
    Classify();
    const std::size_t settled = reading_ == Reading::kMaybeUtf8 ? firstHigh_ : buffer_.size();
    const std::size_t lines = EndOfLastLine(buffer_.data(), lineless_, settled);
    if (lines == 0) {
      // A long line is looked through once, not again after every read.
      lineless_ = std::max(lineless_, settled);
      return false;
    }
    if (HandOver(lines)) return true;
    buffer_.Consume(lines);
    scanned_ -= std::min(scanned_, lines);
    firstHigh_ -= std::min(firstHigh_, lines);
    lineless_ = 0;
    return false;
  }

  bool HandOver(std::size_t n) {
    const bool ended = ForEachBoardPiece(buffer_.data(), n, visitor_);
    visitor_.PiecesReleased();
    return ended;
  }

  FileReader& file_;
  Cp932Encoder& encoder_;
  BoardPieceVisitor& visitor_;
  BoardConversionWatcher* watcher_;
  GetaOffsets getas_;  // filled only when watched
  BoardFileBytes buffer_;
  std::size_t firstCapacity_ = kSegment;
  Reading reading_ = Reading::kAscii;
  std::size_t scanned_ = 0;    // bytes classified
  std::size_t firstHigh_ = 0;  // the first byte beyond ASCII (kMaybeUtf8)
  std::size_t lineless_ = 0;   // the buffer's first bytes, known to hold no LF
  bool utf8_ = false;
};

}  // namespace

BoardEncoding ReadBoardPieces(FileReader& file, Cp932Encoder& encoder, BoardPieceVisitor& visitor,
                              BoardConversionWatcher* watcher) {
  return SegmentReader(file, encoder, visitor, watcher).Run();
}

}  // namespace kn
