// The board-file chooser: the open-file dialog, whose chosen path is
// appended, with a line break, to the memo text the host hands over.
#pragma once

#include "plugin/host_contract.h"
#include "system/desktop.h"
#include "system/host_memory.h"

namespace kn {

// kFileAppended when a path was appended; kFileNotAppended when nothing
// changed (cancelled, failed, or the text could not be grown: the host's
// text then stays exactly as it was).
int ChooseBoardFile(Desktop& desktop, HostMemory& memory, EditRequest* request);

}  // namespace kn
