// The per-line markup language: format prefix, colour, faces, date and time
// fields and the countdown.
#pragma once

#include <string_view>

#include "system/clock.h"
#include "markup/sjis_string.h"
#include "system/types.h"
#include "markup/line_format.h"
#include "markup/markup_trace.h"

namespace kn {

// Interprets the line's format prefix. Returns 1 when the line had a prefix:
// `visible` then holds the visible text (prefix removed, fields expanded, a
// single blank when nothing remains) and alignment, color and font carry the
// prefix's settings. Returns 0 when the line has no prefix: `visible` is " "
// and nothing else changed. `visible` grows as the expansion needs. With a
// trace, every step is recorded in it as well.
int InterpretLineMarkup(const SjisString& line, SjisString& visible, std::int32_t& alignment,
                        ColorRef& color, LogFont& font, const Clock& clock,
                        MarkupTrace* trace = nullptr);

}  // namespace kn
