// The memo editor's "Add board file..." button: the chip's own board-file
// chooser (EditHelper) shows the file dialog and appends the chosen path and
// a line break right after the text it is handed.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "plugin_library.h"

namespace kn::desk {

// The editor's text with a chosen file added as a line of its own, or
// nothing when no file was chosen. The chooser gets the text ending in a
// line break, since it appends right after it; only what it appended is
// taken back, so characters that its code page lacks stay as they were.
std::optional<std::wstring> WithBoardFileAdded(const driver::EntryPoints& api, HWND owner,
                                               const std::wstring& text);

}  // namespace kn::desk
