// The board-file chooser: the open-file dialog whose chosen path is appended
// to the host's memo text.
#pragma once

#include <windows.h>

#include <cstdint>

namespace kn {

// The host's record.
struct EditRequest {
  std::int32_t length;
  std::int32_t lengthAgain;
  HGLOBAL text;  // movable global memory with the memo, or null
};
static_assert(sizeof(EditRequest) == 12, "host record layout");

// 1 when a path was appended, 2 when nothing changed (cancelled, failed, or
// the text could not be grown: then the host's text stays exactly as it was).
int ChooseBoardFile(HWND owner, EditRequest* request);

}  // namespace kn
