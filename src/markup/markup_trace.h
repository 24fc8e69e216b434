// What the markup interpreter did with a line, step by step, for a reader
// that wants to explain it (kn-explain): where the prefix ended, which byte
// set each format item, what each field was and became, and how the
// countdown was read. The interpreter fills it only when asked; positions
// are 1-based byte positions in the line as written.
#pragma once

#include <cstdint>
#include <string>

#include "markup/civil_date.h"
#include "system/types.h"

namespace kn {

enum class PrefixAbsence { kNone, kTooShort, kNoLead, kNoBar };

struct ColorItem {
  int position = 0;           // the first C of the prefix, 0 when there is none
  bool fromTrailByte = false;
  bool insideFace = false;    // that C is the C of a FACE= or FACEA= keyword
  int length = 0;             // bytes the colour item took; 0 when it did not read
  ColorRef color = 0;
  int nameIndex = -1;         // into ColorNames, -1 for RRGGBB
  int untriedPosition = 0;    // a later C that would read as a colour but is never tried
};

struct FaceItem {
  int position = 0;     // of the F of the keyword, 0 when absent
  bool closed = false;  // a closing double quote follows the name
  std::string name;     // as written in the prefix, upper-cased
  bool Cut() const;     // longer than lfFaceName holds
};

struct FlagItem {
  int position = 0;  // the byte that switched the flag on, 0 when off
  bool fromTrailByte = false;
};

struct SizeItem {
  char sign = 0;               // '+', '-' or 0 when the prefix holds neither
  int position = 0;
  int digit = -1;              // the byte after the sign as a digit, -1 when it is none
  int ignoredMinus = 0;        // position of a `-` that the `+` hides
  int ignoredMinusDigit = -1;  // the digit after that `-`, -1 when it is none
};

struct PrefixTrace {
  bool found = false;
  PrefixAbsence absence = PrefixAbsence::kNone;
  bool looksLikePrefix = false;  // begins with #, $ or % (after blanks)
  char lead = 0;
  int leadPosition = 0;
  int barPosition = 0;          // the `|` that closes the prefix
  bool barIsTrailByte = false;  // that `|` is the second byte of a character
  ColorItem color;
  FaceItem face;      // FACE="name"
  FaceItem ansiFace;  // FACEA="name"
  int unquotedFace = 0;  // a FACE= or FACEA= without its double quote: no face, just letters
  FlagItem bold, italic, strikeOut, underline;
  SizeItem size;
};

struct FieldTrace {
  bool found = false;
  std::string written;                 // keyword, pattern and the byte after the pattern
  std::string pattern;                 // empty: the default pattern
  bool closed = false;                 // the pattern ended at a `%`
  bool patternCut = false;             // 50 bytes without `%`; the byte after them went too
  bool closingOpensCountdown = false;  // the closing `%` begins what would be a countdown
  std::string closingOpensField;       // "%DATE" or "%TIME" when the closing `%` begins that field
  std::string value;                   // the text that replaced the field
  bool laterKeyword = false;           // another field of the kind stays as written
};

enum class CountdownState {
  kNone,             // the text's first `%` does not begin one and none follows
  kNotFirstPercent,  // a countdown follows, but the first `%` of the text is not it
  kNotClosed,        // `%` and a marker, but no closing `%` in reach
  kExpanded,
};

struct CountdownTrace {
  CountdownState state = CountdownState::kNone;
  int hiddenAt = 0;          // kNotFirstPercent: 1-based position of the later field in the text
  char marker = 0;           // '!', '$' or '@'
  std::string written;       // the field as written, `%` to `%`
  std::string dateBytes;     // the eight bytes after the marker
  std::string offsetBytes;   // the bytes between the date and the closing `%`
  bool offsetUnread = false; // offset bytes that are not a signed number: taken as no offset
  std::int32_t threshold = 0;
  bool dateValid = false;    // all eight date bytes are digits
  int writtenYear = 0, writtenMonth = 0, writtenDay = 0;
  CivilDate date{};          // the written date with months and days carried over
  bool carried = false;      // date differs from what was written
  std::int32_t dayCount = 1;     // this field's count
  std::string shown;             // how this field is drawn
  std::int32_t colorCount = 1;   // the count the colour rule used (the line's last field)
  bool colorShowsToday = false;  // the prefix colour is kept today
  bool hasFirstColorDay = false;
  CivilDate firstColorDay{};     // the first day the prefix colour shows
  bool strayAngle = false;       // another `<` in the text turns into the error text
};

struct MarkupTrace {
  PrefixTrace prefix;
  FieldTrace date;
  FieldTrace time;
  CountdownTrace countdown;
};

}  // namespace kn
