// The system's own Unicode to code page 932 converter:
// WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS) on Windows, iconv's
// "CP932" elsewhere, refusing the same best-fit characters.
#pragma once

#include <memory>

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
  // What the platform's converter needs kept (nothing on Windows).
  struct Converters;
  std::unique_ptr<Converters> converters_;
};

}  // namespace kn
