// The system's own Unicode to code page 932 converter:
// WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS) on Windows, iconv's
// "CP932" elsewhere, refusing the same best-fit characters.
#pragma once

#include "system/cp932_encoder.h"

namespace kn {

class SystemCp932Encoder final : public Cp932Encoder {
 public:
  SystemCp932Encoder();
  ~SystemCp932Encoder() override;
  SystemCp932Encoder(const SystemCp932Encoder&) = delete;
  SystemCp932Encoder& operator=(const SystemCp932Encoder&) = delete;

  Result Encode(const char16_t* units, std::size_t count, char* out) override;

 private:
  // iconv's two converters (to code page 932 and back); unused on Windows.
  void* toCp932_ = nullptr;
  void* fromCp932_ = nullptr;
};

}  // namespace kn
