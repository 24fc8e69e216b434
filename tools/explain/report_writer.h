// Plain-text reports of line explanations: one block a line, one fact a
// row, in a fixed order so that scripts and tests can rely on it. The text
// is code page 932 (see terminal_text.h for its way to the terminal).
#pragma once

#include <string>

#include "explain/line_explanation.h"
#include "markup/civil_date.h"
#include "system/types.h"

namespace kn::explain {

// "FF0000": a COLORREF written as the memo writes colours.
std::string ColorText(ColorRef color);
// "2000-12-31".
std::string DateText(const CivilDate& date);
// "2000-12-31 09:05:03".
std::string TimeText(const BrokenDownTime& time);

// "byte 5", as the report counts a line's bytes.
std::string ByteAt(Language language, int position);

// The rows that explain a line, without its heading: what kn-desk's memo
// editor shows for the line that holds the caret.
std::string DescribeLineFacts(const LineExplanation& line, const ExplainSettings& settings, const BrokenDownTime& now);

std::string DescribeLine(const LineExplanation& line, const ExplainSettings& settings, const BrokenDownTime& now);

}  // namespace kn::explain
