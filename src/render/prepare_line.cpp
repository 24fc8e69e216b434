#include "render/prepare_line.h"

#include "markup/line_markup.h"
#include "render/link_recognition.h"
#include "markup/civil_date.h"

namespace kn {
namespace {

// Stands in when a caller gave no clock, so that time fields still expand.
const Clock& ClockOf(const LineContext& context) {
  static const FixedClock kEpoch(MakeLocalTime(1970, 1, 1));
  return context.clock ? *context.clock : kEpoch;
}

}  // namespace

PreparedLine PrepareLine(std::string_view line, const LineContext& context) {
  PreparedLine prepared;
  prepared.lineText = line.empty() ? SjisString(" ") : SjisString(line);
  prepared.format.alignment = kAlignLeft;
  prepared.format.color = context.textColor;
  prepared.format.font = context.baseFont;

  SjisString visible;
  if (InterpretLineMarkup(prepared.lineText, visible, prepared.format.alignment,
                          prepared.format.color, prepared.format.font, ClockOf(context)) != 0) {
    prepared.lineText = std::move(visible);
  }

  prepared.isLink =
      RecognizeLink(kLinkDisplay, prepared.lineText, prepared.linkDisplay, prepared.format.font) == 1;
  return prepared;
}

}  // namespace kn
