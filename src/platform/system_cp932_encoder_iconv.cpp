#include "platform/system_cp932_encoder.h"

#include <iconv.h>

#include <algorithm>
#include <cstring>

namespace kn {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// UTF-16 in the machine's own byte order, as char16_t holds it.
constexpr const char* kUnits = "UTF-16LE";
constexpr std::size_t kChunk = 256;

void* Open(const char* to, const char* from) {
  const iconv_t converter = iconv_open(to, from);
  return converter == kNoConverter ? nullptr : converter;
}

// Converts `size` bytes as far as iconv can from a fresh state; returns the
// input bytes taken and sets `written`.
std::size_t Convert(void* handle, const char* bytes, std::size_t size, char* out, std::size_t room,
                    std::size_t& written) {
  const iconv_t converter = static_cast<iconv_t>(handle);
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(bytes);
  std::size_t inLeft = size;
  char* to = out;
  std::size_t outLeft = room;
  iconv(converter, &in, &inLeft, &to, &outLeft);
  written = room - outLeft;
  return size - inLeft;
}

// True when `bytes` read back as exactly `units`.
bool RoundTrips(void* fromCp932, const char16_t* units, std::size_t count, const char* bytes, std::size_t size) {
  char16_t back[kChunk];
  std::size_t backBytes = 0;
  const std::size_t taken = Convert(fromCp932, bytes, size, reinterpret_cast<char*>(back), sizeof back, backBytes);
  return taken == size && backBytes == count * sizeof(char16_t) && std::memcmp(back, units, backBytes) == 0;
}

}  // namespace

SystemCp932Encoder::SystemCp932Encoder()
    : toCp932_(Open("CP932", kUnits)), fromCp932_(Open(kUnits, "CP932")) {}

SystemCp932Encoder::~SystemCp932Encoder() {
  if (toCp932_ != nullptr) iconv_close(static_cast<iconv_t>(toCp932_));
  if (fromCp932_ != nullptr) iconv_close(static_cast<iconv_t>(fromCp932_));
}

// iconv's CP932 also writes best-fit bytes (U+00A5 as 5C, U+203E as 7E).
// A unit counts only when its bytes read back as that same unit, which is
// how WC_NO_BEST_FIT_CHARS decides on Windows: a chunk is checked whole and
// only one that fails is taken apart unit by unit.
Cp932Encoder::Result SystemCp932Encoder::Encode(const char16_t* units, std::size_t count, char* out) {
  Result result{0, 0};
  if (toCp932_ == nullptr || fromCp932_ == nullptr) return result;
  while (result.units < count) {
    const std::size_t n = std::min(kChunk, count - result.units);
    const char16_t* chunk = units + result.units;
    char* to = out + result.bytes;
    std::size_t written = 0;
    const std::size_t converted =
        Convert(toCp932_, reinterpret_cast<const char*>(chunk), n * sizeof(char16_t), to, n * 2, written) /
        sizeof(char16_t);
    if (converted == n && RoundTrips(fromCp932_, chunk, n, to, written)) {
      result.units += n;
      result.bytes += written;
      continue;
    }
    // Unit by unit up to the first that cannot be written.
    for (std::size_t i = 0; i < n; ++i) {
      char bytes[2];
      std::size_t one = 0;
      if (Convert(toCp932_, reinterpret_cast<const char*>(chunk + i), sizeof(char16_t), bytes, 2, one) == 0 ||
          one == 0 || !RoundTrips(fromCp932_, chunk + i, 1, bytes, one)) {
        return result;
      }
      std::memcpy(out + result.bytes, bytes, one);
      result.bytes += one;
      ++result.units;
    }
  }
  return result;
}

}  // namespace kn
