#include "markup/sjis_string.h"

#include <stdexcept>

namespace kn {

unsigned char SjisString::ByteAt(int i) const {
  if (i < 1 || i > Length()) throw std::out_of_range("SjisString::ByteAt");
  return static_cast<unsigned char>(bytes_[static_cast<std::size_t>(i - 1)]);
}

int SjisString::Locate(std::string_view needle) const {
  if (needle.empty() || bytes_.empty()) return 0;
  const std::size_t at = bytes_.find(needle);
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

SjisString SjisString::Slice(int i, int n) const {
  if (bytes_.empty() || n < 0) return {};
  if (i < 1) i = 1;
  if (i > Length()) return {};
  return SjisString(bytes_.substr(static_cast<std::size_t>(i - 1), static_cast<std::size_t>(n)));
}

void SjisString::Erase(int i, int n) {
  if (i < 1 || i > Length() || n <= 0) return;
  bytes_.erase(static_cast<std::size_t>(i - 1), static_cast<std::size_t>(n));
}

void SjisString::InsertAt(int i, std::string_view text) {
  if (text.empty()) return;
  if (i < 1) i = 1;
  if (i > Length() + 1) i = Length() + 1;
  bytes_.insert(static_cast<std::size_t>(i - 1), text);
}

SjisString SjisString::ToUpper() const {
  std::string out = bytes_;
  for (std::size_t k = 0; k < out.size(); ++k) {
    const auto b = static_cast<unsigned char>(out[k]);
    if (IsLeadValue(b)) {
      ++k;  // the trail byte stays as it is
    } else if (b >= 'a' && b <= 'z') {
      out[k] = static_cast<char>(b - 0x20);
    }
  }
  return SjisString(std::move(out));
}

// Neither '%' nor an ASCII letter is ever a lead byte, so the letters after
// a '%' are never trail bytes: ToUpper would upper-case every one of them,
// and comparing them case-blind finds the same first position.
int SjisString::LocateFieldKeyword(std::string_view keyword) const {
  const std::string_view text = bytes_;
  if (keyword.empty() || keyword.size() > text.size()) return 0;
  const std::size_t last = text.size() - keyword.size();
  for (std::size_t at = text.find(keyword[0]); at != std::string_view::npos && at <= last;
       at = text.find(keyword[0], at + 1)) {
    std::size_t k = 1;
    for (; k < keyword.size(); ++k) {
      auto b = static_cast<unsigned char>(text[at + k]);
      if (b >= 'a' && b <= 'z') b = static_cast<unsigned char>(b - 0x20);
      if (b != static_cast<unsigned char>(keyword[k])) break;
    }
    if (k == keyword.size()) return static_cast<int>(at) + 1;
  }
  return 0;
}

SjisString SjisString::TrimBlanks() const {
  std::size_t begin = 0;
  std::size_t end = bytes_.size();
  while (begin < end && static_cast<unsigned char>(bytes_[begin]) <= 0x20) ++begin;
  while (end > begin && static_cast<unsigned char>(bytes_[end - 1]) <= 0x20) --end;
  return SjisString(std::string_view(bytes_).substr(begin, end - begin));
}

ByteClass SjisString::ClassAt(int i) const {
  if (i < 1 || i > Length()) return ByteClass::kSingle;
  const auto at = [this](int j) {
    return static_cast<unsigned char>(bytes_[static_cast<std::size_t>(j - 1)]);
  };
  const unsigned char b = at(i);
  if (b == 0) return ByteClass::kSingle;
  int k = 0;
  for (int j = i - 1; j >= 1 && IsLeadValue(at(j)); --j) ++k;
  if (k % 2 == 1) return ByteClass::kTrail;
  return IsLeadValue(b) ? ByteClass::kLead : ByteClass::kSingle;
}

int SjisString::LastIndexOfAny(std::string_view set) const {
  // The backward walk takes the last byte of the set that is not a trail
  // byte, and skips the lead byte before a trail byte of the set. One forward
  // pass gives the same answer: a lead value starts a character (lead and
  // trail) exactly when the backward lead-run count calls it a lead byte.
  const auto in_set = [set](unsigned char b) {
    return b != 0 && set.find(static_cast<char>(b)) != std::string_view::npos;
  };
  const std::size_t n = bytes_.size();
  std::size_t found = 0;
  for (std::size_t k = 0; k < n; ++k) {
    const auto b = static_cast<unsigned char>(bytes_[k]);
    if (IsLeadValue(b) && k + 1 < n) {
      const auto trail = static_cast<unsigned char>(bytes_[k + 1]);
      if (trail == 0) {
        // A 0 byte is never a trail byte: it stays a byte of its own.
        if (in_set(b)) found = k + 1;
        continue;
      }
      // A trail byte of the set is stepped over together with its lead.
      if (!in_set(trail) && in_set(b)) found = k + 1;
      ++k;
      continue;
    }
    if (in_set(b)) found = k + 1;
  }
  return static_cast<int>(found);
}

}  // namespace kn
