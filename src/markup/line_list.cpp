#include "markup/line_list.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "markup/vector_scans.h"

#if KN_HAVE_SSE2_SCANS
#include <emmintrin.h>
#endif

namespace kn {
namespace {

bool IsCommaBlank(unsigned char b) { return b >= 0x01 && b <= 0x20; }

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// Texts are scanned a machine word at a time: every paint passes over the
// whole text, and most of its bytes are neither CR nor LF.
using Word = std::uintptr_t;
constexpr Word kOnes = ~Word{0} / 0xFF;  // 0x01 in every byte

// True when some byte of the word may be below 0x0E, as CR (0x0D) and LF
// (0x0A) are. It may answer true for a word without one, never false for a
// word with one.
bool MayHoldLineBreak(Word w) { return ((w - kOnes * 0x0E) & ~w & (kOnes * 0x80)) != 0; }

}  // namespace

namespace {

const char* FindLineBreakPlain(const char* p, const char* end) {
  for (;;) {
    while (static_cast<std::size_t>(end - p) >= sizeof(Word)) {
      Word w;
      std::memcpy(&w, p, sizeof w);
      if (MayHoldLineBreak(w)) break;
      p += sizeof(Word);
    }
    const char* const stop = static_cast<std::size_t>(end - p) > sizeof(Word) ? p + sizeof(Word) : end;
    for (; p < stop; ++p) {
      if (IsLineBreak(*p)) return p;
    }
    if (p == end) return end;
  }
}

#if KN_HAVE_SSE2_SCANS
KN_SSE2_SCAN const char* FindLineBreakSse2(const char* p, const char* end) {
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  while (end - p >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
    if (hits != 0) return p + __builtin_ctz(static_cast<unsigned>(hits));
    p += 16;
  }
  return FindLineBreakPlain(p, end);
}
#endif

}  // namespace

const char* FindLineBreak(const char* p, const char* end) {
#if KN_HAVE_SSE2_SCANS
  if (UseSse2Scans()) return FindLineBreakSse2(p, end);
#endif
  return FindLineBreakPlain(p, end);
}

bool LineCursor::Next(std::string_view& line) {
  const std::size_t n = text_.size();
  if (pos_ >= n) return false;
  const std::size_t start = pos_;
  pos_ = static_cast<std::size_t>(FindLineBreak(text_.data() + start, text_.data() + n) - text_.data());
  line = text_.substr(start, pos_ - start);
  if (pos_ < n && text_[pos_] == '\r') ++pos_;
  if (pos_ < n && text_[pos_] == '\n') ++pos_;
  return true;
}

int LineCursor::Skip(int n) {
  int skipped = 0;
  std::string_view ignored;
  while (skipped < n && Next(ignored)) ++skipped;
  return skipped;
}

int CountLines(std::string_view text) {
  // Every CR, and every LF not preceded by a CR, ends a line; a last line
  // without terminator counts too.
  if (text.empty()) return 0;
  const char* p = text.data();
  const char* const end = p + text.size();
  long count = 0;
  while (p < end) {
    const char* const stop = FindLineBreak(p, end);
    ++count;
    if (stop == end) break;
    p = stop + 1;
    if (*stop == '\r' && p < end && *p == '\n') ++p;
  }
  return count > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(count);
}

void LineList::SplitLines(std::string_view text) {
  lines_.clear();
  LineCursor cursor(text);
  std::string_view line;
  while (cursor.Next(line)) lines_.emplace_back(line);
}

void LineList::SplitCommaList(std::string_view text) {
  lines_.clear();
  text = text.substr(0, text.find('\0'));
  const std::size_t n = text.size();
  std::size_t pos = 0;
  auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  auto skip_blanks = [&] {
    while (pos < n && IsCommaBlank(at(pos))) ++pos;
  };
  skip_blanks();
  while (pos < n) {
    std::string item;
    if (at(pos) == '"') {
      ++pos;
      while (pos < n) {
        const unsigned char b = at(pos);
        if (IsLeadValue(b)) {
          item.push_back(static_cast<char>(b));
          if (pos + 1 < n) item.push_back(text[pos + 1]);
          pos += 2;
        } else if (b == '"') {
          if (pos + 1 < n && text[pos + 1] == '"') {
            item.push_back('"');
            pos += 2;
          } else {
            ++pos;
            break;
          }
        } else {
          item.push_back(static_cast<char>(b));
          ++pos;
        }
      }
      if (pos > n) pos = n;
    } else {
      while (pos < n && at(pos) > 0x20 && at(pos) != ',') {
        const std::size_t step = IsLeadValue(at(pos)) ? 2 : 1;
        const std::size_t end = pos + step > n ? n : pos + step;
        item.append(text.substr(pos, end - pos));
        pos = end;
      }
    }
    lines_.emplace_back(std::move(item));
    skip_blanks();
    if (pos < n && at(pos) == ',') {
      ++pos;
      skip_blanks();
    }
  }
}

const SjisString& LineList::LineAt(int i) const {
  if (i < 0 || i >= Count()) throw std::out_of_range("LineList::LineAt");
  return lines_[static_cast<std::size_t>(i)];
}

void LineList::ReplaceLine(int i, const SjisString& text) {
  if (i < 0 || i >= Count()) throw std::out_of_range("LineList::ReplaceLine");
  lines_[static_cast<std::size_t>(i)] = text;
}

}  // namespace kn
