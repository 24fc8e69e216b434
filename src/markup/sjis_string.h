// The text toolkit: 8-bit code page 932 text with 1-based byte positions.
// Some operations step over double-byte characters, others work byte by
// byte; each says which. Out-of-range positions and counts are clipped.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kn {

// True for the lead-byte ranges of code page 932 (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsLeadValue(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

enum class ByteClass { kSingle, kLead, kTrail };

class SjisString {
 public:
  SjisString() = default;
  SjisString(std::string_view bytes) : bytes_(bytes) {}       // NOLINT: implicit by design
  SjisString(const char* text) : bytes_(text ? text : "") {}  // NOLINT: stops at NUL
  explicit SjisString(std::string bytes) : bytes_(std::move(bytes)) {}

  static SjisString FromChar(char c) { return SjisString(std::string(1, c)); }

  int Length() const { return static_cast<int>(bytes_.size()); }
  bool IsEmpty() const { return bytes_.empty(); }

  // Byte at 1-based position i; throws std::out_of_range outside 1..Length.
  unsigned char ByteAt(int i) const;

  // Byte-wise, case-sensitive; 0 when absent or when either text is empty.
  int Locate(std::string_view needle) const;
  SjisString Slice(int i, int n) const;
  void Erase(int i, int n);
  void InsertAt(int i, std::string_view text);

  // a-z to A-Z, stepping over double-byte characters; same length.
  SjisString ToUpper() const;
  // ToUpper().Locate(keyword) without the copy, for a keyword made of '%'
  // and upper-case ASCII letters (the field names).
  int LocateFieldKeyword(std::string_view keyword) const;
  // Without bytes <= 0x20 at both ends.
  SjisString TrimBlanks() const;
  // Last byte that belongs to the set and is not a trail byte, or 0.
  int LastIndexOfAny(std::string_view set) const;
  // Single, lead or trail, from the run of lead values before i; positions
  // outside 1..Length and 0 bytes are single. Costs the length of that run.
  ByteClass ClassAt(int i) const;
  bool IsLeadByteAt(int i) const { return ClassAt(i) == ByteClass::kLead; }

  const std::string& Bytes() const { return bytes_; }
  std::string_view View() const { return bytes_; }
  // NUL-terminated; the text ends before its first 0 byte for C callers.
  const char* CStr() const { return bytes_.c_str(); }

  // Concatenation. The const char* forms stop at the first 0 byte and keep
  // literals from being ambiguous between the text and view forms.
  SjisString& operator+=(std::string_view tail) {
    bytes_.append(tail);
    return *this;
  }
  SjisString& operator+=(const SjisString& tail) { return *this += tail.View(); }
  SjisString& operator+=(const char* tail) { return *this += SjisString(tail).View(); }
  friend SjisString operator+(SjisString a, std::string_view b) { return a += b; }
  friend SjisString operator+(SjisString a, const SjisString& b) { return a += b; }
  friend SjisString operator+(SjisString a, const char* b) { return a += b; }
  friend SjisString operator+(std::string_view a, const SjisString& b) {
    SjisString r{a};
    return r += b;
  }
  friend SjisString operator+(const char* a, const SjisString& b) {
    SjisString r{a};
    return r += b;
  }
  friend bool operator==(const SjisString& a, const SjisString& b) { return a.bytes_ == b.bytes_; }
  friend bool operator!=(const SjisString& a, const SjisString& b) { return !(a == b); }

 private:
  std::string bytes_;
};

}  // namespace kn
