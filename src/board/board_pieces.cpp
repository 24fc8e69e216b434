#include "board/board_pieces.h"

#include <cstdint>
#include <cstring>

#include "markup/vector_scans.h"

#if KN_HAVE_SSE2_SCANS
#include <emmintrin.h>
#endif

namespace kn {

namespace {

constexpr char kEndOfFile = '\x1A';

// The bytes a line scan stops at: every control byte up to CR (LF, CR and
// NUL among them; the others are passed over), 0x1A and `%`. Ordinary text
// holds none but its line ends, so a board is scanned once, a machine word
// (or sixteen bytes with SSE2) at a time.
// A scan of text still thought to be ASCII also stops at bytes from 0x80 up.
template <bool kStopAtHigh>
bool IsStop(unsigned char b) {
  return b <= '\r' || b == 0x1A || b == '%' || (kStopAtHigh && b >= 0x80);
}

using Word = std::uintptr_t;
constexpr Word kOnes = ~Word{0} / 0xFF;
constexpr Word kHigh = kOnes * 0x80;

// True when some byte of the word may be a stop byte (never false for one).
template <bool kStopAtHigh>
bool MayHoldStop(Word w) {
  const Word below = (w - kOnes * ('\r' + 1)) & ~w;
  const Word eof = w ^ (kOnes * 0x1A);
  const Word percent = w ^ (kOnes * '%');
  return ((below | ((eof - kOnes) & ~eof) | ((percent - kOnes) & ~percent) | (kStopAtHigh ? w : 0)) & kHigh) != 0;
}

template <bool kStopAtHigh>
const char* FindStopPlain(const char* p, const char* end) {
  while (static_cast<std::size_t>(end - p) >= sizeof(Word)) {
    Word w;
    std::memcpy(&w, p, sizeof w);
    if (MayHoldStop<kStopAtHigh>(w)) break;
    p += sizeof(Word);
  }
  for (; p < end; ++p) {
    if (IsStop<kStopAtHigh>(static_cast<unsigned char>(*p))) return p;
  }
  return end;
}

#if KN_HAVE_SSE2_SCANS
// Bit i set when byte i of the sixteen at p is a stop byte.
template <bool kStopAtHigh>
KN_SSE2_SCAN unsigned StopMask(const char* p) {
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(x, _mm_set1_epi8('\r')), x);
  const __m128i others =
      _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8(kEndOfFile)), _mm_cmpeq_epi8(x, _mm_set1_epi8('%')));
  const int mask = _mm_movemask_epi8(_mm_or_si128(control, others)) | (kStopAtHigh ? _mm_movemask_epi8(x) : 0);
  return static_cast<unsigned>(mask);
}

template <bool kStopAtHigh>
KN_SSE2_SCAN const char* FindStopSse2(const char* p, const char* end) {
  while (end - p >= 16) {
    const unsigned mask = StopMask<kStopAtHigh>(p);
    if (mask != 0) return p + __builtin_ctz(mask);
    p += 16;
  }
  return FindStopPlain<kStopAtHigh>(p, end);
}
#endif

template <bool kStopAtHigh, bool kSse2>
const char* FindStop(const char* p, const char* end) {
#if KN_HAVE_SSE2_SCANS
  if constexpr (kSse2) return FindStopSse2<kStopAtHigh>(p, end);
#endif
  return FindStopPlain<kStopAtHigh>(p, end);
}

const char* Find(const char* from, const char* end, char c) {
  const void* at = from < end ? std::memchr(from, c, static_cast<std::size_t>(end - from)) : nullptr;
  return at != nullptr ? static_cast<const char*>(at) : end;
}

// Squeezes the CR bytes out of [p, end); returns the new end.
char* DropCarriageReturns(char* p, char* end) {
  char* out = p;
  for (; p < end; ++p) {
    if (*p != '\r') *out++ = *p;
  }
  return out;
}

// One line of the text: where its bytes end and the LF (or the text's end),
// and whether it needs more than the plain handing over.
struct Line {
  char* end;     // its content's end, before CR LF or LF
  char* next;    // where the next line starts
  bool hasLf;
  bool unusual;  // a NUL, a `%` or a CR that is not part of its CR LF
  bool lastOfText;  // a 0x1A ended the text in it
  bool high;        // holds a byte from 0x80 up (looked for in ASCII only)
};

template <bool kStopAtHigh, bool kSse2>
Line ScanLine(char* p, char* end) {
  Line line{end, end, false, false, false, false};
  for (char* q = p;; ++q) {
    q = const_cast<char*>(FindStop<kStopAtHigh, kSse2>(q, end));
    if (q == end) return line;
    if (kStopAtHigh && static_cast<unsigned char>(*q) >= 0x80) {
      line.high = true;
      return line;
    }
    switch (*q) {
      case '\n':
        return {q, q + 1, true, line.unusual, false, false};
      case '\r':
        if (q + 1 < end && q[1] == '\n') return {q, q + 2, true, line.unusual, false, false};
        line.unusual = true;
        break;
      case kEndOfFile:
        return {q, end, false, line.unusual, true, false};
      case '\0':
      case '%':
        line.unusual = true;
        break;
      default:
        break;  // another control byte: ordinary text
    }
  }
}

void HandOverPieces(char* p, char* lineEnd, bool hasLf, bool unusual, BoardPieceVisitor& visitor) {
  std::size_t left = static_cast<std::size_t>(lineEnd - p);
  if (!unusual && left < kBoardPieceSize) {
    if (left != 0 || hasLf) visitor.Piece(BoardPiece{p, left, left, hasLf, false});
    return;
  }
  for (;;) {
    const bool last = left < kBoardPieceSize;
    const std::size_t n = last ? left : kBoardPieceSize;
    // A line of whole pieces that reached the text's end has no piece more.
    if (n == 0 && !hasLf) return;
    const std::size_t shown = static_cast<std::size_t>(Find(p, p + n, '\0') - p);
    const bool percent = Find(p, p + shown, '%') < p + shown;
    visitor.Piece(BoardPiece{p, n, shown, last && hasLf, percent});
    if (last) return;
    p += n;
    left -= n;
  }
}

// The end of the run of ordinary lines (see IsOrdinary) from p: the start
// of the first line that is not one, or of the last few bytes. The SSE2
// scan walks sixteen bytes a step through every stop of every line, without
// starting afresh at each line; the plain scans leave it all to the
// line-by-line walk.
#if KN_HAVE_SSE2_SCANS
template <bool kStopAtHigh>
KN_SSE2_SCAN char* EndOfOrdinaryLinesSse2(char* p, char* end) {
  char* lineStart = p;
  char* q = p;
  while (end - q >= 16) {
    unsigned mask = StopMask<kStopAtHigh>(q);
    for (;;) {
      const std::ptrdiff_t done = lineStart - q;
      if (done >= 16) break;
      if (done > 0) mask &= ~0u << done;
      if (mask == 0) break;
      char* const stop = q + __builtin_ctz(mask);
      const bool crLf = *stop == '\r' && stop + 1 < end && stop[1] == '\n';
      if (!crLf || stop == lineStart || *lineStart == ';' ||
          static_cast<std::size_t>(stop - lineStart) >= kBoardPieceSize) {
        return lineStart;
      }
      lineStart = stop + 2;
    }
    q = lineStart - q >= 16 ? lineStart : q + 16;
  }
  return lineStart;
}
#endif

template <bool kStopAtHigh, bool kSse2>
char* EndOfOrdinaryLines(char* p, char* end) {
#if KN_HAVE_SSE2_SCANS
  if constexpr (kSse2) return EndOfOrdinaryLinesSse2<kStopAtHigh>(p, end);
#endif
  static_cast<void>(end);
  return p;
}

// Lines that stand in the bytes just as they are shown, CR LF included,
// go over together: most lines of most boards are such lines.
bool IsOrdinary(const char* p, const Line& line) {
  return !line.unusual && line.next == line.end + 2 && line.hasLf && line.end != p && *p != ';' &&
         static_cast<std::size_t>(line.end - p) < kBoardPieceSize;
}

class OrdinaryRun {
 public:
  explicit OrdinaryRun(BoardPieceVisitor& visitor) : visitor_(visitor) {}
  ~OrdinaryRun() { Flush(); }
  OrdinaryRun(const OrdinaryRun&) = delete;
  OrdinaryRun& operator=(const OrdinaryRun&) = delete;

  void Add(const char* p, const char* lineEnd) {
    if (begin_ == nullptr) begin_ = p;
    end_ = lineEnd;
  }
  void Flush() {
    if (begin_ != nullptr) visitor_.OrdinaryLines(begin_, end_);
    begin_ = nullptr;
  }

 private:
  BoardPieceVisitor& visitor_;
  const char* begin_ = nullptr;
  const char* end_ = nullptr;
};

template <bool kStopAtHigh, bool kSse2>
PiecesHandedOver HandOverLines(char* bytes, std::size_t size, BoardPieceVisitor& visitor) {
  char* p = bytes;
  char* const end = bytes + size;
  OrdinaryRun run(visitor);
  while (p < end) {
    char* const ordinaryEnd = EndOfOrdinaryLines<kStopAtHigh, kSse2>(p, end);
    if (ordinaryEnd != p) {
      run.Add(p, ordinaryEnd - 2);
      p = ordinaryEnd;
      continue;
    }
    const Line line = ScanLine<kStopAtHigh, kSse2>(p, end);
    if (kStopAtHigh && line.high) break;
    if (IsOrdinary(p, line)) {
      run.Add(p, line.end);
      p = line.next;
      continue;
    }
    run.Flush();
    // A CR anywhere but before the LF squeezes the line; the CR LF's own CR
    // goes with the others.
    char* lineEnd = line.end;
    if (line.unusual && std::memchr(p, '\r', static_cast<std::size_t>(line.end - p)) != nullptr) {
      lineEnd = DropCarriageReturns(p, line.end);
    }
    HandOverPieces(p, lineEnd, line.hasLf, line.unusual, visitor);
    if (line.lastOfText) return {static_cast<std::size_t>(line.next - bytes), true};
    p = line.next;
  }
  return {static_cast<std::size_t>(p - bytes), false};
}

}  // namespace

void BoardPieceVisitor::OrdinaryLines(const char* begin, const char* end) {
  while (begin < end) {
    const char* const lineEnd = Find(begin, end, '\r');  // the only CR of an ordinary line
    const auto n = static_cast<std::size_t>(lineEnd - begin);
    Piece(BoardPiece{begin, n, n, true, false});
    begin = lineEnd + 2;
  }
}

bool ForEachBoardPiece(char* bytes, std::size_t size, BoardPieceVisitor& visitor) {
  return UseSse2Scans() ? HandOverLines<false, true>(bytes, size, visitor).ended
                        : HandOverLines<false, false>(bytes, size, visitor).ended;
}

PiecesHandedOver ForEachAsciiBoardPiece(char* bytes, std::size_t size, BoardPieceVisitor& visitor) {
  return UseSse2Scans() ? HandOverLines<true, true>(bytes, size, visitor)
                        : HandOverLines<true, false>(bytes, size, visitor);
}

}  // namespace kn
