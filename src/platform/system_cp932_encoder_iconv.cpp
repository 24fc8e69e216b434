#include "platform/system_cp932_encoder.h"

#include <iconv.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace kn {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// UTF-16 in the machine's own byte order, as char16_t holds it.
constexpr const char* kUnits = "UTF-16LE";

// A remembered answer: 0 not asked yet, kNoCode none, a single byte b as
// kSingle | b, a double-byte code as itself (from 0x8140 up).
constexpr std::uint16_t kNoCode = 0xFFFF;
constexpr std::uint16_t kSingle = 0x0100;

// Converts `size` bytes as far as iconv can from a fresh state; returns the
// input bytes taken and sets `written`.
std::size_t Convert(iconv_t converter, const char* bytes, std::size_t size, char* out, std::size_t room,
                    std::size_t& written) {
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(bytes);
  std::size_t inLeft = size;
  char* to = out;
  std::size_t outLeft = room;
  iconv(converter, &in, &inLeft, &to, &outLeft);
  written = room - outLeft;
  return size - inLeft;
}

// iconv takes long for one character, so each code point is asked once
// and the answer kept for the process, as Windows keeps its code page
// tables: static storage, so that only the pages used are ever touched. The
// native builds that use this converter run on one thread.
std::uint16_t known[0x10000];

}  // namespace

struct SystemCp932Encoder::Converters {
  iconv_t toCp932 = kNoConverter;
  iconv_t fromCp932 = kNoConverter;

  ~Converters() {
    if (toCp932 != kNoConverter) iconv_close(toCp932);
    if (fromCp932 != kNoConverter) iconv_close(fromCp932);
  }

  // iconv's CP932 also writes best-fit bytes (U+00A5 as 5C, U+203E as 7E):
  // a code point has a code only when its bytes read back as that same code
  // point, which is how WC_NO_BEST_FIT_CHARS decides on Windows.
  std::uint16_t Ask(char16_t unit) {
    char bytes[2];
    std::size_t written = 0;
    if (Convert(toCp932, reinterpret_cast<const char*>(&unit), sizeof unit, bytes, sizeof bytes, written) == 0 ||
        written == 0) {
      return kNoCode;
    }
    char16_t back[2] = {};
    std::size_t backBytes = 0;
    const std::size_t taken = Convert(fromCp932, bytes, written, reinterpret_cast<char*>(back), sizeof back, backBytes);
    if (taken != written || backBytes != sizeof(char16_t) || back[0] != unit) return kNoCode;
    const auto first = static_cast<unsigned char>(bytes[0]);
    return written == 1 ? static_cast<std::uint16_t>(kSingle | first)
                        : static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(bytes[1]));
  }
};

SystemCp932Encoder::SystemCp932Encoder() : converters_(std::make_unique<Converters>()) {
  converters_->toCp932 = iconv_open("CP932", kUnits);
  converters_->fromCp932 = iconv_open(kUnits, "CP932");
}

SystemCp932Encoder::~SystemCp932Encoder() = default;

Cp932Encoder::Result SystemCp932Encoder::Encode(const char16_t* units, std::size_t count, char* out) {
  Result result{0, 0};
  if (!converters_ || converters_->toCp932 == kNoConverter || converters_->fromCp932 == kNoConverter) {
    return result;
  }
  for (; result.units < count; ++result.units) {
    std::uint16_t& code = known[units[result.units]];
    if (code == 0) code = converters_->Ask(units[result.units]);
    if (code == kNoCode) break;
    if ((code & 0xFF00) == kSingle) {
      out[result.bytes++] = static_cast<char>(code & 0xFF);
    } else {
      out[result.bytes++] = static_cast<char>(code >> 8);
      out[result.bytes++] = static_cast<char>(code & 0xFF);
    }
  }
  return result;
}

}  // namespace kn
