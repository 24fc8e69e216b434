// A board file's bytes, read whole and decoded to the code page 932 text
// that the reading rules take: a byte-order mark (UTF-8, UTF-16 of either
// order) or well-formed mark-less UTF-8 with a character beyond ASCII is
// converted; anything else is code page 932 already and stays as it is.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "board/board_pieces.h"
#include "markup/unicode_to_cp932.h"
#include "system/cp932_encoder.h"
#include "system/file_system.h"

namespace kn {

enum class BoardEncoding { kShiftJis, kUtf8WithMark, kUtf8, kUtf16LittleEndian, kUtf16BigEndian };

struct BoardEncodingGuess {
  BoardEncoding encoding = BoardEncoding::kShiftJis;
  bool wellFormed = true;  // UTF-8: no ill-formed sequence (the mark's file may have some)
};

// One validity scan at most: a file without a mark is UTF-8 only when all of
// it is well-formed UTF-8 and it holds a multi-byte sequence.
BoardEncodingGuess DetectBoardEncoding(std::string_view bytes);
// True when the bytes begin with one of the marks (or could, being fewer
// than a mark's length and reaching the end of the file only later).
bool StartsWithMark(std::string_view bytes);

// Told, when text has been converted to code page 932, the converted bytes
// where they lie and where in them the conversion put 〓, before their
// pieces are handed over.
class BoardConversionWatcher {
 public:
  virtual ~BoardConversionWatcher() = default;
  virtual void Converted(std::string_view text, const GetaOffsets& getas) = 0;
};

class BoardFileBytes {
 public:
  // Reads the whole file (in one piece when it tells its size); false when
  // memory for it cannot be had.
  bool ReadAll(FileReader& file);
  // Appends what one read of at most `firstCapacity` bytes gives, making
  // room first when the buffer is full (the first read makes that much
  // room), so that what was read is still in the processor's cache when it
  // is looked at; false at the end of the file or when memory cannot be had.
  bool ReadMore(FileReader& file, std::size_t firstCapacity);
  // Drops the first n bytes; the rest moves to the front.
  void Consume(std::size_t n);
  // Converts the bytes to code page 932 in place (the converted text is
  // never longer, except ill-formed UTF-8 after a mark, which gets a buffer
  // of its own) and says what they were. `getas` receives the offsets of
  // the 〓 that stand for characters the code page cannot hold.
  BoardEncoding Decode(Cp932Encoder& encoder, GetaOffsets* getas = nullptr);

  // Converts well-formed UTF-8 (no mark) in place a segment at a time and
  // hands the whole lines of each over while they are in the cache; true
  // when a 0x1A byte ended the text. A watcher is told of each segment.
  bool ConvertFromUtf8InSegments(Cp932Encoder& encoder, std::size_t segment, BoardPieceVisitor& visitor,
                                 BoardConversionWatcher* watcher = nullptr);

  char* data() { return bytes_.get(); }
  std::size_t size() const { return size_; }
  std::string_view view() const { return {bytes_.get(), size_}; }
  bool IsFull() const { return size_ == capacity_; }

 private:
  bool Grow(std::size_t capacity);

  std::unique_ptr<char[]> bytes_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace kn
