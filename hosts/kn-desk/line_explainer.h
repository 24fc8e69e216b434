// The memo editor's pane: how the chip reads the line that holds the caret,
// told by kn-explain's own explanation of the interpreter's trace, in the
// desk's language.
#pragma once

#include <cstdint>
#include <string>

#include "desk_settings.h"
#include "desk_texts.h"

namespace kn::desk {

// `editorText` is the editor's whole text (lines end in "\r\n"), `line` the
// 0-based line of the caret. The result is ready for an edit control:
// UTF-16 with "\r\n" line ends.
std::wstring ExplainEditorLine(const std::wstring& editorText, int line, const FontChoice& font,
                               std::uint32_t textRgb, DeskLanguage language);

}  // namespace kn::desk
