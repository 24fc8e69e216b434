// The memo editor: a multi-line edit box in the chip's font, with a button
// that lets the chip's own board-file chooser (EditHelper) add a file, and a
// pane under it that explains how the chip reads the caret's line. While it
// is open the chip previews the memo as it stands. Before it keeps an edited
// memo it names the characters that the chip's code page cannot hold, which
// the chip shows as 〓.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "desk_settings.h"
#include "plugin_library.h"

namespace kn::desk {

// Control ids, for the dialog and for whoever drives it.
constexpr WORD kMemoEditId = 100;
constexpr WORD kBoardFileButtonId = 101;
constexpr WORD kExplainPaneId = 102;

// The editor's text reaches the preview this long after the last change.
constexpr UINT kPreviewDelayMs = 250;

// Whoever shows the memo while the editor is open.
class MemoPreview {
 public:
  // The editor's text (UTF-8) as it stands.
  virtual void Show(const std::string& memo) = 0;

 protected:
  ~MemoPreview() = default;
};

// What the editor knows of the chip it edits.
struct EditedChip {
  FontChoice font;
  std::uint32_t textRgb = 0;
  MemoPreview* preview = nullptr;
};

// Shows the editor owned by `owner`. True when the user pressed OK; `memo`
// (UTF-8) then holds the edited text.
bool EditMemo(HWND owner, const driver::EntryPoints& api, const EditedChip& chip, std::string& memo);

// The editor's text as a person sees it: every line break as "\r\n".
std::wstring EditorText(const std::string& memo);

}  // namespace kn::desk
