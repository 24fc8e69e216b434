#include "board/board_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "markup/byte_order_marks.h"

namespace kn {

namespace {

// A file that does not tell its size is read in pieces that grow.
constexpr std::size_t kFirstCapacity = 64 * 1024;

// A buffer of `size` bytes, or null when memory cannot be had.
std::unique_ptr<char[]> NewBuffer(std::size_t size) {
  try {
    return std::unique_ptr<char[]>(new char[size]);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace

BoardEncodingGuess DetectBoardEncoding(std::string_view bytes) {
  switch (DetectByteOrderMark(bytes)) {
    case ByteOrderMark::kUtf8:
      return {BoardEncoding::kUtf8WithMark, ScanUtf8(WithoutByteOrderMark(bytes)).wellFormed};
    case ByteOrderMark::kUtf16LittleEndian: return {BoardEncoding::kUtf16LittleEndian, true};
    case ByteOrderMark::kUtf16BigEndian: return {BoardEncoding::kUtf16BigEndian, true};
    case ByteOrderMark::kNone: break;
  }
  const Utf8Scan scan = ScanUtf8(bytes);
  if (scan.wellFormed && scan.multibyte) return {BoardEncoding::kUtf8, true};
  return {BoardEncoding::kShiftJis, true};
}

bool StartsWithMark(std::string_view bytes) { return DetectByteOrderMark(bytes) != ByteOrderMark::kNone; }

bool BoardFileBytes::ReadMore(FileReader& file, std::size_t firstCapacity) {
  if (capacity_ == 0 && !Grow(std::max<std::size_t>(firstCapacity, 16))) return false;
  if (IsFull()) {
    // A file held whole grows its buffer once to the size it told, and
    // by doubling only beyond it.
    const std::size_t told = file.SizeHint();
    if (!Grow(told >= capacity_ && told < SIZE_MAX ? told + 1 : capacity_ * 2)) return false;
  }
  const std::size_t room = std::min(capacity_ - size_, std::max<std::size_t>(firstCapacity, 16));
  const std::size_t got = file.Read(bytes_.get() + size_, room);
  if (got == 0 || got > room) return false;  // a reader that overstates is taken as ended
  size_ += got;
  return true;
}

void BoardFileBytes::Consume(std::size_t n) {
  if (n < size_) std::memmove(bytes_.get(), bytes_.get() + n, size_ - n);
  size_ = n < size_ ? size_ - n : 0;
}

bool BoardFileBytes::ConvertFromUtf8InSegments(Cp932Encoder& encoder, std::size_t segment,
                                               BoardPieceVisitor& visitor, BoardConversionWatcher* watcher) {
  char* const bytes = bytes_.get();
  std::size_t read = 0;
  std::size_t written = 0;
  std::size_t handed = 0;  // what lies before was handed over; no LF after it up to `written`
  bool ended = false;
  GetaOffsets getas;  // filled only when watched
  while (read < size_ && !ended) {
    std::size_t end = std::min(size_, read + segment);
    while (end < size_ && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80) --end;  // a character's start
    const std::size_t before = written;
    getas.clear();
    written += Utf8ToCp932(std::string_view(bytes + read, end - read), bytes + written, encoder,
                           watcher != nullptr ? &getas : nullptr);
    if (watcher != nullptr) watcher->Converted(std::string_view(bytes + before, written - before), getas);
    read = end;
    std::size_t lines = written;
    if (read < size_) {
      while (lines > before && bytes[lines - 1] != '\n') --lines;
      if (lines == before) continue;
    }
    ended = ForEachBoardPiece(bytes + handed, lines - handed, visitor);
    visitor.PiecesReleased();
    handed = lines;
  }
  size_ = 0;
  return ended;
}

bool BoardFileBytes::Grow(std::size_t capacity) {
  std::unique_ptr<char[]> larger = NewBuffer(capacity);
  if (!larger) return false;
  if (size_ != 0) std::memcpy(larger.get(), bytes_.get(), size_);
  bytes_ = std::move(larger);
  capacity_ = capacity;
  return true;
}

bool BoardFileBytes::ReadAll(FileReader& file) {
  size_ = 0;
  // One byte beyond the size told, so that a file that grew since shows it
  // at once.
  const std::size_t told = file.SizeHint();
  if (!Grow(told != 0 && told < SIZE_MAX ? told + 1 : kFirstCapacity)) return false;
  for (;;) {
    if (size_ == capacity_ && !Grow(capacity_ + std::max(capacity_, kFirstCapacity))) return false;
    const std::size_t room = capacity_ - size_;
    const std::size_t got = file.Read(bytes_.get() + size_, room);
    if (got == 0 || got > room) return true;  // a reader that overstates is taken as ended
    size_ += got;
  }
}

BoardEncoding BoardFileBytes::Decode(Cp932Encoder& encoder, GetaOffsets* getas) {
  const BoardEncodingGuess guess = DetectBoardEncoding(view());
  if (guess.encoding == BoardEncoding::kShiftJis) return guess.encoding;
  const std::string_view text = WithoutByteOrderMark(view());
  if (!guess.wellFormed) {
    // Each ill-formed byte may become a two-byte 〓: convert into a new buffer.
    std::unique_ptr<char[]> out = NewBuffer(text.size() * 2 + 1);
    if (!out) {
      size_ = 0;
      return guess.encoding;
    }
    size_ = Utf8ToCp932(text, out.get(), encoder, getas);
    capacity_ = text.size() * 2 + 1;
    bytes_ = std::move(out);
    return guess.encoding;
  }
  switch (guess.encoding) {
    case BoardEncoding::kUtf8WithMark:
    case BoardEncoding::kUtf8: size_ = Utf8ToCp932(text, bytes_.get(), encoder, getas); break;
    case BoardEncoding::kUtf16LittleEndian: size_ = Utf16ToCp932(text, false, bytes_.get(), encoder, getas); break;
    case BoardEncoding::kUtf16BigEndian: size_ = Utf16ToCp932(text, true, bytes_.get(), encoder, getas); break;
    case BoardEncoding::kShiftJis: break;
  }
  return guess.encoding;
}

}  // namespace kn
