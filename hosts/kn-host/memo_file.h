// Reads a memo from a file as the host holds memos: code page 932 bytes.
#pragma once

#include <string>

namespace kn::host {

// Reads the whole file. With `utf8` the file is UTF-8 (a leading byte-order
// mark is dropped) and is converted to code page 932 (cp932_text.h); bytes
// that are not UTF-8 and characters without a code page 932 form are an
// error that names their lines and places. The memo ends at its first
// NUL byte, as the host's NUL-terminated memo would. On failure returns
// false and says why in `error`.
bool ReadMemoFile(const std::wstring& path, bool utf8, std::string& memo, std::string& error);

// True for bytes that are UTF-8 with at least one character beyond ASCII
// (or a byte-order mark): Japanese text in code page 932 almost never is,
// so such a memo was almost surely saved as UTF-8.
bool LooksLikeUtf8(const std::string& bytes);

}  // namespace kn::host
