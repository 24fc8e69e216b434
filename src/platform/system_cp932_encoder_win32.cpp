#include "platform/system_cp932_encoder.h"

#include <windows.h>

#include <algorithm>

namespace kn {

namespace {

constexpr UINT kCodePage932 = 932;
// WideCharToMultiByte takes int counts: long runs go in pieces.
constexpr std::size_t kPiece = 1 << 20;

// The bytes of `units`, or -1 when one of them would need the default
// character (no best-fit substitutes: WC_NO_BEST_FIT_CHARS).
int ToCp932(const char16_t* units, std::size_t count, char* out) {
  BOOL usedDefault = FALSE;
  const int written = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, reinterpret_cast<LPCWCH>(units),
                                          static_cast<int>(count), out, static_cast<int>(count * 2), nullptr,
                                          &usedDefault);
  return written <= 0 || usedDefault ? -1 : written;
}

}  // namespace

SystemCp932Encoder::SystemCp932Encoder() = default;
SystemCp932Encoder::~SystemCp932Encoder() = default;

// The whole run in one call; only a run that holds a character without a
// code is taken apart, unit by unit, to find it.
Cp932Encoder::Result SystemCp932Encoder::Encode(const char16_t* units, std::size_t count, char* out) {
  Result result{0, 0};
  while (result.units < count) {
    const std::size_t n = std::min(kPiece, count - result.units);
    const int written = ToCp932(units + result.units, n, out + result.bytes);
    if (written >= 0) {
      result.units += n;
      result.bytes += static_cast<std::size_t>(written);
      continue;
    }
    for (std::size_t i = 0; i < n; ++i) {
      const int one = ToCp932(units + result.units, 1, out + result.bytes);
      if (one < 0) return result;
      result.units += 1;
      result.bytes += static_cast<std::size_t>(one);
    }
  }
  return result;
}

}  // namespace kn
