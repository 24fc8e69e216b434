// Bytes as hexadecimal, so that a failing comparison of code page 932 texts
// reads the same on any terminal.
#pragma once

#include <string>

namespace kn::wine {

inline std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
    hex += ' ';
  }
  return hex;
}

}  // namespace kn::wine
