#include "render/link_recognition.h"

#include <string_view>

#include "markup/text_convert.h"

namespace kn {
namespace {

// Tried in this order; the word alone decides, case-sensitively: no ':' has
// to follow, so "newsletter" and "ftp" are links too.
constexpr std::string_view kLinkSchemes[] = {"http", "mailto", "news", "ftp", "file"};

bool BeginsWith(const SjisString& t, std::string_view word) {
  return t.View().substr(0, word.size()) == word;
}

// Display text of a titled link: the line up to its first real '|' (or
// without its last byte when there is none), without the first "!=".
SjisString TitledDisplay(const SjisString& line) {
  SjisString shown = line.Slice(1, CharIndexOrLast(line.View(), '|'));
  shown.Erase(shown.Locate("!="), 2);
  return shown;
}

// Empty when the line has no '|' or ends with it.
SjisString TitledCommand(const SjisString& trimmed) {
  return trimmed.Slice(CharIndexOrLast(trimmed.View(), '|') + 2, trimmed.Length());
}

}  // namespace

// The tests look at the trimmed line only. A trimmed line of 3 or 4 bytes
// that starts with '!' is untitled whatever follows; the drive letter of a
// drive path is not examined.
LinkForm ClassifyLink(const SjisString& t, std::string_view* scheme) {
  const int n = t.Length();
  if (n >= 3 && t.ByteAt(1) == '!') {
    return (n >= 5 && t.ByteAt(2) == '=') ? LinkForm::kTitled : LinkForm::kUntitled;
  }
  if (n >= 5 && t.ByteAt(2) == ':' && t.ByteAt(3) == '\\') return LinkForm::kDrivePath;
  if (n >= 5 && t.ByteAt(1) == '\\' && t.ByteAt(2) == '\\') return LinkForm::kUncPath;
  for (std::string_view word : kLinkSchemes) {
    if (BeginsWith(t, word)) {
      if (scheme) *scheme = word;
      return LinkForm::kScheme;
    }
  }
  return LinkForm::kNone;
}

int RecognizeLink(int mode, const SjisString& line, SjisString& out, LogFont& font) {
  const SjisString trimmed = line.TrimBlanks();
  const LinkForm form = ClassifyLink(trimmed);
  if (form == LinkForm::kNone) return 0;
  const bool display = mode == kLinkDisplay;
  switch (form) {
    case LinkForm::kTitled:
      out = display ? TitledDisplay(line) : TitledCommand(trimmed);
      break;
    case LinkForm::kUntitled:
      if (display) {
        out = line;
        out.Erase(line.Locate("!"), 1);
      } else {
        out = trimmed.Slice(2, trimmed.Length());
      }
      break;
    default:
      out = display ? line : trimmed;
      break;
  }
  font.lfUnderline = 1;
  return 1;
}

}  // namespace kn
