// Strings in the settings file: double-quoted UTF-8 with backslash escapes, so
// that a memo of several lines stays on one line of the file.
#pragma once

#include <optional>
#include <string>

namespace kn::desk {

// "..." with \\ \" \r \n \t and \xHH for the other control bytes; every other
// byte (UTF-8 included) is written as it is.
std::string QuoteText(const std::string& text);

// The text that `QuoteText` wrote, when `quoted` is exactly one such string
// (surrounding blanks aside) holding valid UTF-8; otherwise nullopt and
// `problem` says what is wrong.
std::optional<std::string> UnquoteText(const std::string& quoted, std::string& problem);

// True when every byte sequence is well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool IsValidUtf8(const std::string& text);

}  // namespace kn::desk
