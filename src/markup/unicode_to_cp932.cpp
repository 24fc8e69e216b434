#include "markup/unicode_to_cp932.h"

#include <cstring>

namespace kn {
namespace {

unsigned char ByteAt(std::string_view bytes, std::size_t i) { return static_cast<unsigned char>(bytes[i]); }

// The code page's own bytes for the code points that JIS-based converters
// give where code page 932 maps another code point to the same glyph.
const char* JisSymbolBytes(char32_t code) {
  switch (code) {
    case 0x301C: return "\x81\x60";  // WAVE DASH, FULLWIDTH TILDE in the code page
    case 0x2016: return "\x81\x61";  // DOUBLE VERTICAL LINE, PARALLEL TO
    case 0x2212: return "\x81\x7C";  // MINUS SIGN, FULLWIDTH HYPHEN-MINUS
    case 0x2014: return "\x81\x5C";  // EM DASH, HORIZONTAL BAR
    case 0x00A2: return "\x81\x91";  // CENT SIGN, FULLWIDTH CENT SIGN
    case 0x00A3: return "\x81\x92";  // POUND SIGN, FULLWIDTH POUND SIGN
    case 0x00AC: return "\x81\xCA";  // NOT SIGN, FULLWIDTH NOT SIGN
    default: return nullptr;
  }
}

// Writes characters as code page 932. Characters the fast paths do not
// cover wait in a run that goes to the encoder in one call; the run is
// written before any later character, so output stays in order.
class Cp932Writer {
 public:
  Cp932Writer(char* out, Cp932Encoder& encoder, GetaOffsets* getas)
      : out_(out), encoder_(encoder), getas_(getas) {}

  void Put(char32_t code) {
    if (code < 0x80) {
      Flush();
      out_[size_++] = static_cast<char>(code);
    } else if (code >= 0xFF61 && code <= 0xFF9F) {  // half-width katakana: A1-DF
      Flush();
      out_[size_++] = static_cast<char>(code - 0xFF61 + 0xA1);
    } else if (const char* symbol = JisSymbolBytes(code)) {
      Flush();
      out_[size_++] = symbol[0];
      out_[size_++] = symbol[1];
    } else if (code > 0xFFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      Flush();
      PutGeta();
    } else {
      run_[runLength_++] = static_cast<char16_t>(code);
      if (runLength_ == kRunLength) Flush();
    }
  }

  // A run of ASCII bytes, which may lie at or after the output position.
  void PutAscii(const char* bytes, std::size_t n) {
    Flush();
    std::memmove(out_ + size_, bytes, n);
    size_ += n;
  }

  void PutGeta() {
    Flush();
    if (getas_ != nullptr) getas_->push_back(size_);
    out_[size_++] = kGetaMark[0];
    out_[size_++] = kGetaMark[1];
  }

  std::size_t Finish() {
    Flush();
    return size_;
  }

 private:
  static constexpr std::size_t kRunLength = 256;

  void Flush() {
    std::size_t done = 0;
    while (done < runLength_) {
      const Cp932Encoder::Result r = encoder_.Encode(run_ + done, runLength_ - done, out_ + size_);
      size_ += r.bytes;
      done += r.units;
      if (done < runLength_) {
        ++done;  // the character the code page cannot hold
        if (getas_ != nullptr) getas_->push_back(size_);
        out_[size_++] = kGetaMark[0];
        out_[size_++] = kGetaMark[1];
      }
    }
    runLength_ = 0;
  }

  char* out_;
  Cp932Encoder& encoder_;
  GetaOffsets* getas_;
  std::size_t size_ = 0;
  char16_t run_[kRunLength];
  std::size_t runLength_ = 0;
};

}  // namespace

std::size_t Utf8ToCp932(std::string_view utf8, char* out, Cp932Encoder& encoder, GetaOffsets* getas) {
  Cp932Writer writer(out, encoder, getas);
  std::size_t i = 0;
  while (i < utf8.size()) {
    if (ByteAt(utf8, i) < 0x80) {
      const std::size_t ascii = SkipAscii(utf8, i);
      writer.PutAscii(utf8.data() + i, ascii - i);
      i = ascii;
      continue;
    }
    const Utf8Sequence sequence = DecodeUtf8At(utf8, i);
    if (sequence.ok) {
      writer.Put(sequence.code);
    } else {
      writer.PutGeta();
    }
    i += sequence.length;
  }
  return writer.Finish();
}

std::size_t Utf16ToCp932(std::string_view utf16, bool bigEndian, char* out, Cp932Encoder& encoder,
                         GetaOffsets* getas) {
  Cp932Writer writer(out, encoder, getas);
  const std::size_t units = utf16.size() / 2;
  auto unitAt = [&](std::size_t k) -> char32_t {
    const unsigned first = ByteAt(utf16, 2 * k);
    const unsigned second = ByteAt(utf16, 2 * k + 1);
    return bigEndian ? (first << 8 | second) : (second << 8 | first);
  };
  for (std::size_t k = 0; k < units; ++k) {
    const char32_t unit = unitAt(k);
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    if (high && k + 1 < units) {
      const char32_t next = unitAt(k + 1);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        writer.Put(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
        ++k;
        continue;
      }
    }
    writer.Put(unit);  // a lone surrogate gives 〓 as one
  }
  return writer.Finish();
}

std::string Utf8ToCp932(std::string_view utf8, Cp932Encoder& encoder) {
  std::string out(utf8.size() * 2, '\0');
  out.resize(Utf8ToCp932(utf8, &out[0], encoder));
  return out;
}

}  // namespace kn
