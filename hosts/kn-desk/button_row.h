// A dialog's row of push buttons sized from their texts in the dialog's
// font: a label is never clipped, whatever the language or the font.
#pragma once

#include <windows.h>

#include <vector>

namespace kn::desk {

// The width in pixels a push button needs for its label (without the '&'
// of its access key) in its own font, with the margins a button keeps.
int ButtonWidthForText(HWND button);

// Widens each button of the row to its label (never narrows one) and lays
// the row out again: `left` from the dialog's left margin, `right` ending
// at its right margin. When they do not fit side by side the dialog grows,
// and so do the `stretched` controls above the row.
void LayOutButtonRow(HWND dialog, const std::vector<int>& left, const std::vector<int>& right,
                     const std::vector<int>& stretched);

}  // namespace kn::desk
