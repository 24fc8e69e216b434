// Which link form a prepared line has, what it shows, and what a click on
// it would launch or Shift-click copy, from RecognizeLink and
// BuildLaunchTriple.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "explain/explain_language.h"
#include "render/launch_command.h"
#include "render/link_recognition.h"

namespace kn::explain {

const char* LinkFormName(LinkForm form, Language language = Language::kEnglish);

struct LinkTrace {
  LinkForm form = LinkForm::kNone;
  bool recognized = false;  // RecognizeLink's answer
  std::string scheme;       // the scheme word that begins the line
  std::string display;      // what the line shows
  std::string command;      // what a click runs and Shift-click copies
  std::optional<LaunchTriple> launch;  // nullopt: nothing to launch
  bool titleHasBar = false; // titled: a real `|` separates title and command
};

// `lineText` is the line after the markup interpreter.
LinkTrace TraceLink(std::string_view lineText);

}  // namespace kn::explain
