// How the explainer's reports reach the terminal. Reports are built as code
// page 932 text: the explainer's own words are ASCII, memo bytes are quoted
// as they are (control bytes escaped). Only at output are they converted.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace kn::explain {

enum class OutputEncoding {
  kUtf8,  // characters converted to UTF-8; bytes without a character as \xNN
  kRaw,   // code page 932 bytes unchanged, for a Japanese Windows console
  kHex,   // every byte from 0x80 up as \xNN: plain ASCII, for scripts
};

// Memo bytes between double quotes; control bytes and DEL as \xNN, so that
// no memo can steer the terminal.
std::string Quote(std::string_view memoBytes);

// "83 7C": the bytes in hexadecimal, separated by blanks.
std::string HexBytes(std::string_view bytes);

// Converts one code page 932 character (one or two bytes) to UTF-8 through
// the platform: iconv natively, MultiByteToWideChar on Windows.
class Cp932Decoder {
 public:
  Cp932Decoder();
  ~Cp932Decoder();
  Cp932Decoder(const Cp932Decoder&) = delete;
  Cp932Decoder& operator=(const Cp932Decoder&) = delete;

  // False when the platform has no code page 932 converter.
  bool Available() const;
  // Appends the character's UTF-8 form; false, with nothing appended, when
  // the bytes are no character.
  bool Append(std::string_view character, std::string& out);

 private:
  void* handle_ = nullptr;
};

// Writes text to the stream as the terminal should show it. UTF-8 text
// bound for a Windows console goes to it as characters (WriteConsoleW), which
// it shows whatever its code page; UTF-8 bytes written to it would be read in
// the console's code page (932 on a Japanese system) or, once it is switched
// to UTF-8, still come out garbled in some consoles. Anything else, and
// everything elsewhere, goes out as bytes.
void WriteToTerminal(std::FILE* stream, std::string_view text, bool utf8);

// The report as the terminal gets it. Without a usable decoder kUtf8 falls
// back to kHex.
std::string EncodeForTerminal(std::string_view report, OutputEncoding encoding, Cp932Decoder& decoder);

}  // namespace kn::explain
