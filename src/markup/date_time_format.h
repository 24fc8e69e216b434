// Date and time patterns ("YYYY/MM/DD(WWW)", "HH:MM:SS") and the "%DATE" and
// "%TIME" fields of a formatted line.
#pragma once

#include <string_view>

#include "markup/markup_trace.h"
#include "markup/sjis_string.h"
#include "system/types.h"

namespace kn {

// The pattern upper-cased with its first year, month, day and weekday tokens
// replaced. An empty pattern means "YYYY/MM/DD(WWW)". month 1-12, weekday
// 0 = Sunday. Tokens are found byte by byte, so the trail byte of a
// double-byte character can be taken for a one-letter token.
SjisString FormatDate(int year, int month, int day, int weekday, std::string_view pattern);

// The same for hour, minute and second; an empty pattern means "HH:MM:SS".
SjisString FormatTime(int hour, int minute, int second, std::string_view pattern);

// Replaces the first "%DATE<pattern>%" and then the first "%TIME<pattern>%"
// of the text (keywords in any letter case) by `now` formatted with their
// patterns. A pattern runs to the next `%` or the text's end, at most 50
// bytes. With traces, what each field was and became is recorded.
void ExpandDateTimeFields(SjisString& text, const BrokenDownTime& now, FieldTrace* date = nullptr,
                          FieldTrace* time = nullptr);

}  // namespace kn
