// The common open-file dialog.
#pragma once

#include <windows.h>

#include <string>

#include "system/desktop.h"

namespace kn {

// The chosen existing file's full path (at most 259 bytes), or empty when
// nothing was chosen. The dialog may change the process's current
// directory; it is put back whatever happens.
std::string AskForFileToOpenWin32(HWND owner, const OpenFileRequest& request);

}  // namespace kn
