// The settings file on disk: where it lives, reading it whole and replacing
// it in one step, so that a crash while saving leaves the old file intact.
#pragma once

#include <string>

namespace kn::desk {

// %APPDATA%\Kaleidonote\desk-settings.txt, or empty when the profile has no
// application data folder.
std::wstring DefaultSettingsPath();

enum class FileRead { kRead, kMissing, kFailed };

// Reads the whole file. kFailed says why in `error`.
FileRead ReadSettingsFile(const std::wstring& path, std::string& bytes, std::wstring& error);

// Writes `bytes` to a file beside `path` and then moves it over `path`,
// creating the folder when needed. On failure says why in `error`.
bool ReplaceSettingsFile(const std::wstring& path, const std::string& bytes, std::wstring& error);

// A name beside `path` for keeping a file that could not be used:
// PATH.unreadable-YYYYMMDD-HHMMSS.
std::wstring SetAsidePath(const std::wstring& path);

// The full form of a path, for comparing and showing it.
std::wstring FullPath(const std::wstring& path);

}  // namespace kn::desk
