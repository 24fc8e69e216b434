// The terminal's platform parts on every platform but Windows: the code
// page 932 decoder over iconv(3); terminals take UTF-8 bytes.
#ifndef _WIN32

#include <iconv.h>

#include "explain/terminal_text.h"

namespace kn::explain {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

iconv_t Converter(void* handle) { return static_cast<iconv_t>(handle); }

}  // namespace

Cp932Decoder::Cp932Decoder() {
  const iconv_t converter = iconv_open("UTF-8", "CP932");
  handle_ = converter == kNoConverter ? nullptr : converter;
}

Cp932Decoder::~Cp932Decoder() {
  if (handle_ != nullptr) iconv_close(Converter(handle_));
}

bool Cp932Decoder::Available() const { return handle_ != nullptr; }

bool Cp932Decoder::Append(std::string_view character, std::string& out) {
  if (handle_ == nullptr || character.empty() || character.size() > 2) return false;
  char input[2] = {};
  character.copy(input, character.size());
  char output[16] = {};
  char* in = input;
  char* to = output;
  std::size_t inLeft = character.size();
  std::size_t outLeft = sizeof output;
  iconv(Converter(handle_), nullptr, nullptr, nullptr, nullptr);  // a fresh state for each character
  const std::size_t result = iconv(Converter(handle_), &in, &inLeft, &to, &outLeft);
  if (result == static_cast<std::size_t>(-1) || inLeft != 0) return false;
  out.append(output, sizeof output - outLeft);
  return true;
}

void WriteToTerminal(std::FILE* stream, std::string_view text, bool) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

}  // namespace kn::explain

#endif  // _WIN32
