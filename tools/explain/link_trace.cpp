#include "explain/link_trace.h"

#include "markup/sjis_string.h"
#include "markup/text_convert.h"
#include "system/types.h"
#include "render/link_recognition.h"

namespace kn::explain {

const char* LinkFormName(LinkForm form, Language language) {
  switch (form) {
    case LinkForm::kTitled: return In(language, {"titled", "\x91\xE8\x96\xBC\x95\x74\x82\xAB" /* 題名付き */});
    case LinkForm::kUntitled: return In(language, {"untitled", "\x91\xE8\x96\xBC\x82\xC8\x82\xB5" /* 題名なし */});
    case LinkForm::kDrivePath: return In(language, {"drive path", "\x83\x68\x83\x89\x83\x43\x83\x75\x82\xCC\x83\x70\x83\x58" /* ドライブのパス */});
    case LinkForm::kUncPath: return In(language, {"UNC path", "UNC \x83\x70\x83\x58" /* UNC パス */});
    case LinkForm::kScheme: return In(language, {"scheme", "\x83\x58\x83\x4C\x81\x5B\x83\x80" /* スキーム */});
    case LinkForm::kNone: break;
  }
  return In(language, {"none", "\x82\xC8\x82\xB5" /* なし */});
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
