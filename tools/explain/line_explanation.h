// Everything the explainer says about one line: how the interpreter read its
// prefix and fields, whether it is a link, what the chip finally draws, and
// the notes that warn about surprising readings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "explain/explain_language.h"
#include "explain/link_trace.h"
#include "explain/notes.h"
#include "system/clock.h"
#include "system/types.h"
#include "markup/line_format.h"
#include "markup/markup_trace.h"
#include "render/prepare_line.h"

namespace kn::explain {

// What the chip gives every line before its markup.
struct ExplainSettings {
  LogFont baseFont{};
  ColorRef textColor = 0;
  bool boardLines = false;  // board-mode lines: their stamps are already expanded
  bool memoShowsTime = false;  // the whole memo makes the chip tick (a line alone is looked at too)
  Language language = Language::kEnglish;
};

// A Shift-JIS base font of height -12, weight 400, no face, black text.
ExplainSettings DefaultSettings();

struct LineExplanation {
  int number = 0;            // 1-based
  std::string raw;           // the line as written
  PrefixTrace prefix;
  FieldTrace date;
  FieldTrace time;
  CountdownTrace countdown;
  LinkTrace link;
  LineFormat markupFormat{}; // the interpreter's format, before a link underlines it
  PreparedLine prepared;     // what the chip draws, from the plug-in's own preparation
  std::vector<Note> notes;
};

LineExplanation ExplainLine(std::string_view line, int number, const ExplainSettings& settings,
                            const Clock& clock);

// Every line of a text as the chip splits it; whether the text makes the chip
// tick is read from the text itself.
std::vector<LineExplanation> ExplainText(std::string_view text, const ExplainSettings& settings,
                                         const Clock& clock);

}  // namespace kn::explain
