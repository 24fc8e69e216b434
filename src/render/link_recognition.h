// Whole-line links: explicit "!" links (optionally titled), drive and UNC
// paths and lines that begin with a scheme word.
#pragma once

#include <string_view>

#include "markup/sjis_string.h"
#include "system/types.h"

namespace kn {

enum LinkMode { kLinkDisplay = 0, kLinkCommand = 1 };

// The forms a link line may take, in the order they are tried.
enum class LinkForm { kNone, kTitled, kUntitled, kDrivePath, kUncPath, kScheme };

// The form of a trimmed line (after its markup prefix). For kScheme,
// `scheme` (when given) receives the scheme word that begins the line.
LinkForm ClassifyLink(const SjisString& trimmed, std::string_view* scheme = nullptr);

// Returns 1 when the line is a link: `out` receives the display text (mode 0)
// or the command (any other mode) and font.lfUnderline is set. Returns 0 and
// leaves `out` and `font` untouched otherwise.
int RecognizeLink(int mode, const SjisString& line, SjisString& out, LogFont& font);

}  // namespace kn
