// The platform's converter from Unicode to code page 932, injected so that
// board files in today's encodings are converted by Windows' own tables in
// the DLL and by the C library's natively.
#pragma once

#include <cstddef>

namespace kn {

class Cp932Encoder {
 public:
  struct Result {
    std::size_t units;  // code points converted
    std::size_t bytes;  // bytes written
  };

  virtual ~Cp932Encoder() = default;
  // Writes the code page 932 bytes of `units` (code points of the basic
  // plane, never surrogates) to `out`, which has room for two bytes a unit,
  // and stops before the first one that code page 932 has no character of
  // its own for (never a best-fit substitute). `out` may be the memory the
  // units were decoded from, as long as it lies before the unread input.
  virtual Result Encode(const char16_t* units, std::size_t count, char* out) = 0;
};

// Has no character for anything: for callers without the system's
// converter, which then show only ASCII, half-width katakana and the seven
// JIS symbols of Unicode text, and 〓 for every other character.
class RefusingCp932Encoder final : public Cp932Encoder {
 public:
  Result Encode(const char16_t*, std::size_t, char*) override { return {0, 0}; }
};

}  // namespace kn
