#include "explain/link_trace.h"

#include "markup/sjis_string.h"
#include "markup/text_convert.h"
#include "system/types.h"
#include "render/link_recognition.h"

namespace kn::explain {

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
  std::string_view scheme;
  link.form = ClassifyLink(trimmed, &scheme);
  link.scheme = std::string(scheme);

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
