// The things about a line that surprise memo authors, each with the byte
// position it concerns (1-based in the line, 0 when there is none) and a
// sentence that explains it.
#pragma once

#include <string>
#include <vector>

namespace kn::explain {

enum class NoteKind {
  kBarIsTrailByte,           // a double-byte character such as ポ closes the prefix
  kItemFromTrailByte,        // a double-byte character such as オ switches on a flag
  kColorHiddenByFace,        // the first C is the one of FACE=, so a colour after it is ignored
  kColorNotTried,            // a colour item after the first C is never read
  kColorUnreadable,          // the first C begins no colour
  kFaceUnclosed,             // FACE=" without a closing quote: its letters act as flags
  kFaceUnquoted,             // FACE= without a double quote: no face, its letters act as flags
  kFaceNameCut,              // longer than 31 bytes
  kMinusIgnored,             // a `-` size is not looked at when the prefix holds a `+`
  kSizeWithoutDigit,         // the byte after the sign is no digit
  kLeadWithoutPrefix,        // begins like a prefix but is not one
  kFieldWithoutPrefix,       // a date, time or countdown field shown unexpanded
  kStampOutsideBoard,        // %UPDATE / %UPTIME expand only in board files
  kFieldNotExpanded,         // a second date or time field stays as written
  kDatePatternCut,           // 50 bytes without `%`: the next byte is eaten
  kFieldTakesCountdownMark,  // a date or time field ends at the `%` of a countdown
  kFieldTakesFieldMark,      // a date field ends at the `%` of the next field: %DATE %TIME%
  kTimeStandsStill,          // %time in small letters: shown, but the chip does not tick for it
  kFullWidthMark,            // ＃ ＄ ％ ｜ where the prefix's ASCII marks were meant
  kCountdownNotFirstPercent, // an earlier `%` hides the countdown
  kCountdownNotClosed,       // no closing `%` within 4 bytes after the date
  kCountdownOffsetUnread,    // the bytes after the date are no signed number: no offset
  kCountdownBadDate,         // fewer than eight digits: the error text is shown
  kCountdownDateCarried,     // a month or day beyond its range carries over
  kCountdownStrayAngle,      // another `<` in a countdown line turns into the error text
  kCountdownOtherCount,      // another `<!...>` field decides the colour
  kLinkTitleWithoutBar,      // a titled link without a real `|`
  kLinkCommandSplit,         // blanks or commas split an automatic link's path
  kSchemeWithoutColon,       // "newsletter" is a link too
  kNotALink,                 // looks like a link, is not one
};

struct Note {
  NoteKind kind;
  int position = 0;
  std::string text;  // code page 932, in the report's language
};

bool HasNote(const std::vector<Note>& notes, NoteKind kind);
const Note* FindNote(const std::vector<Note>& notes, NoteKind kind);

}  // namespace kn::explain
