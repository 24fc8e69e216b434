// Follows the interpreter's reading of a line's format prefix item by item,
// with the core's own primitives, and records which byte of the line each
// setting came from. The settings' values themselves are the interpreter's;
// ExpectedFormat lets the explainer check that both readings agree.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "system/types.h"
#include "markup/line_format.h"

namespace kn::explain {

enum class PrefixAbsence { kNone, kTooShort, kNoLead, kNoBar };

struct ColorItem {
  int position = 0;          // the first C of the prefix, 0 when there is none
  bool fromTrailByte = false;
  bool insideFace = false;   // that C is the C of a FACE= or FACEA= keyword
  int length = 0;            // bytes the colour item took; 0 when it did not read
  ColorRef color = 0;
  int nameIndex = -1;        // into ColorNames, -1 for RRGGBB
  int untriedPosition = 0;   // a later C that would read as a colour but is never tried
};

struct FaceItem {
  int position = 0;      // of the F of the keyword, 0 when absent
  bool closed = false;   // a closing double quote follows the name
  std::string name;      // as written in the prefix, upper-cased
  bool Cut() const;      // longer than lfFaceName holds
};

struct FlagItem {
  int position = 0;  // the byte that switched the flag on, 0 when off
  bool fromTrailByte = false;
};

struct SizeItem {
  char sign = 0;          // '+', '-' or 0 when the prefix holds neither
  int position = 0;
  int digit = -1;         // the byte after the sign as a digit, -1 when it is none
  int ignoredMinus = 0;   // position of a `-` that the `+` hides
  int ignoredMinusDigit = -1;  // the digit after that `-`, -1 when it is none
};

struct PrefixTrace {
  bool found = false;
  PrefixAbsence absence = PrefixAbsence::kNone;
  bool looksLikePrefix = false;  // begins with #, $ or % (after blanks)
  char lead = 0;
  int leadPosition = 0;          // 1-based in the line
  int barPosition = 0;           // the `|` that closes the prefix
  bool barIsTrailByte = false;   // that `|` is the second byte of a character
  ColorItem color;
  FaceItem face;      // FACE="name"
  FaceItem ansiFace;  // FACEA="name"
  FlagItem bold, italic, strikeOut, underline;
  SizeItem size;
};

PrefixTrace TracePrefix(std::string_view line);

// The format the trace says the interpreter makes of `base` before any
// countdown: used only to check the trace against the interpreter.
LineFormat ExpectedFormat(const PrefixTrace& trace, const LineFormat& base);

// The line's text without the prefix, as the fields are expanded in it.
std::string ContentOf(const PrefixTrace& trace, std::string_view line);

}  // namespace kn::explain
