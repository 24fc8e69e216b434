// Starting the desktop host: the plug-in, one program per settings file, and
// settings that are read, or reported when they cannot be.
#pragma once

#include "desk_options.h"
#include "desk_texts.h"

namespace kn::desk {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitSettingsKept = 3;   // the settings file was unusable and left alone
constexpr int kExitAlreadyRunning = 4;  // another kn-desk uses the same settings file

// Japanese on a system whose user interface speaks it, else English.
DeskLanguage SystemDeskLanguage();

// Runs the program; its exit status.
int RunDesk(const DeskOptions& options);

}  // namespace kn::desk
