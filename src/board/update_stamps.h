// The "%UPDATE" and "%UPTIME" stamps of board lines: a file's last-write date
// and time, written by the patterns of the date and time fields.
#pragma once

#include "markup/sjis_string.h"
#include "system/types.h"

namespace kn {

// Replaces the first "%UPDATE<pattern>%" field of the line (keyword in any
// letter case) by the file's date and then the first "%UPTIME<pattern>%"
// field by its time. A pattern runs to the next `%`, at most 51 bytes, or to
// the end of the line; the byte after it is removed with the field.
void ExpandUpdateStamps(SjisString& line, const SystemTime& fileTime);

}  // namespace kn
