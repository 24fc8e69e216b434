// The memo editor: a multi-line edit box in the chip's font, with a button
// that lets the chip's own board-file chooser (EditHelper) add a file. Before
// it keeps an edited memo it names the characters that the chip's code page
// cannot hold, which the chip shows as 〓.
#pragma once

#include <windows.h>

#include <string>

#include "desk_settings.h"
#include "plugin_library.h"

namespace kn::desk {

// Control ids, for the dialog and for whoever drives it.
constexpr WORD kMemoEditId = 100;
constexpr WORD kBoardFileButtonId = 101;

// Shows the editor owned by `owner`. True when the user pressed OK; `memo`
// (UTF-8) then holds the edited text.
bool EditMemo(HWND owner, const driver::EntryPoints& api, const FontChoice& font, std::string& memo);

// The editor's text as a person sees it: every line break as "\r\n".
std::wstring EditorText(const std::string& memo);

}  // namespace kn::desk
