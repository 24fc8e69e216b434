#include "explain/link_trace.h"

#include "markup/sjis_string.h"
#include "markup/text_convert.h"
#include "system/types.h"
#include "render/link_recognition.h"

namespace kn::explain {
namespace {

constexpr std::string_view kSchemes[] = {"http", "mailto", "news", "ftp", "file"};

// The forms in the order the recogniser tries them, on the trimmed line.
LinkForm Classify(const SjisString& t, std::string& scheme) {
  const int n = t.Length();
  if (n >= 3 && t.ByteAt(1) == '!') return n >= 5 && t.ByteAt(2) == '=' ? LinkForm::kTitled : LinkForm::kUntitled;
  if (n >= 5 && t.ByteAt(2) == ':' && t.ByteAt(3) == '\\') return LinkForm::kDrivePath;
  if (n >= 5 && t.ByteAt(1) == '\\' && t.ByteAt(2) == '\\') return LinkForm::kUncPath;
  for (std::string_view word : kSchemes) {
    if (t.Locate(word) == 1) {
      scheme = std::string(word);
      return LinkForm::kScheme;
    }
  }
  return LinkForm::kNone;
}

}  // namespace

const char* LinkFormName(LinkForm form) {
  switch (form) {
    case LinkForm::kTitled: return "titled";
    case LinkForm::kUntitled: return "untitled";
    case LinkForm::kDrivePath: return "drive path";
    case LinkForm::kUncPath: return "UNC path";
    case LinkForm::kScheme: return "scheme";
    case LinkForm::kNone: break;
  }
  return "none";
}

LinkTrace TraceLink(std::string_view lineText) {
  LinkTrace link;
  const SjisString line(lineText);
  const SjisString trimmed = line.TrimBlanks();
  link.form = Classify(trimmed, link.scheme);

  LogFont font{};
  SjisString display;
  SjisString command;
  link.recognized = RecognizeLink(kLinkDisplay, line, display, font) == 1;
  if (RecognizeLink(kLinkCommand, line, command, font) == 1) {
    link.display = display.Bytes();
    link.command = command.Bytes();
    link.launch = BuildLaunchTriple(link.command);
  }
  link.titleHasBar = link.form == LinkForm::kTitled && FindCharMb(trimmed.View(), '|') != kNotFound;
  return link;
}

}  // namespace kn::explain
