#include "desk_startup.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "com_ref.h"
#include "desk_app.h"
#include "host_commands.h"
#include "record_bridge.h"
#include "settings_file.h"
#include "settings_text.h"
#include "win_resources.h"

namespace kn::desk {
namespace {

constexpr wchar_t kTitle[] = L"Kaleidonote Desk";

void Tell(const std::wstring& text, UINT icon) { MessageBoxW(nullptr, text.c_str(), kTitle, MB_OK | icon); }

// A name for the settings file's lock: the same file, however it is
// spelled, gives the same name.
std::wstring LockName(const std::wstring& fullPath) {
  std::wstring upper = fullPath;
  CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  std::uint32_t hash = 2166136261u;  // FNV-1a
  for (wchar_t c : upper) {
    hash ^= static_cast<std::uint32_t>(c);
    hash *= 16777619u;
  }
  wchar_t name[64] = {};
  std::swprintf(name, 64, L"Local\\KaleidonoteDesk-%08X", hash);
  return name;
}

// Reads the settings. A file that cannot be used is reported; the user
// either sets it aside and starts afresh or quits with the file untouched.
bool LoadSettings(const std::wstring& path, DeskSettings& settings) {
  std::string bytes;
  std::wstring error;
  switch (ReadSettingsFile(path, bytes, error)) {
    case FileRead::kMissing:
      settings = FirstRunSettings();
      return true;
    case FileRead::kFailed:
      Tell(L"The settings file cannot be read: " + error + L".\n\n" + path +
               L"\n\nKaleidonote Desk quits and leaves the file as it is.",
           MB_ICONERROR);
      return false;
    case FileRead::kRead:
      break;
  }
  const SettingsReading reading = ReadSettingsText(bytes);
  if (reading.verdict == SettingsVerdict::kRead) {
    settings = reading.settings;
    return true;
  }
  const std::wstring aside = SetAsidePath(path);
  const std::wstring question =
      Widen(DescribeReading(reading)) + L"\n\n" + path +
      L"\n\nYes: keep that file as\n" + aside +
      L"\nand start with new settings.\n\nNo: quit and leave the file as it is.";
  if (MessageBoxW(nullptr, question.c_str(), kTitle, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) {
    return false;
  }
  if (!MoveFileW(path.c_str(), aside.c_str())) {
    Tell(L"The settings file cannot be set aside (error " + std::to_wstring(GetLastError()) +
             L").\n\nKaleidonote Desk quits and leaves the file as it is.",
         MB_ICONERROR);
    return false;
  }
  settings = FirstRunSettings();
  return true;
}

}  // namespace

int RunDesk(const DeskOptions& options) {
  host::ComScope com;  // the common dialogs browse the shell's folders
  const std::wstring dllPath = options.dllPath.empty() ? host::DefaultDllPath() : options.dllPath;
  host::PluginLibrary library(dllPath);
  if (!library.ready()) {
    Tell(library.path() + L":\n" + Widen(library.error()), MB_ICONERROR);
    return kExitFailed;
  }
  const std::wstring chosen = options.settingsPath.empty() ? DefaultSettingsPath() : options.settingsPath;
  if (chosen.empty()) {
    Tell(L"There is no folder for the settings in this user's profile; name a file with --settings.",
         MB_ICONERROR);
    return kExitFailed;
  }
  const std::wstring path = FullPath(chosen);
  KernelHandle lock(CreateMutexW(nullptr, FALSE, LockName(path).c_str()));
  if (lock.get() && GetLastError() == ERROR_ALREADY_EXISTS) {
    Tell(L"Kaleidonote Desk is already running with these settings:\n" + path, MB_ICONINFORMATION);
    return kExitAlreadyRunning;
  }
  DeskSettings settings;
  if (!LoadSettings(path, settings)) return kExitSettingsKept;
  DeskApp app(library.api(), path);
  std::wstring error;
  if (!app.Start(settings, error)) {
    Tell(L"Kaleidonote Desk cannot start: " + error, MB_ICONERROR);
    return kExitFailed;
  }
  return app.Run();
}

}  // namespace kn::desk
