#include "desk_startup.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "com_ref.h"
#include "desk_app.h"
#include "desk_console.h"
#include "explain/system_language.h"
#include "host_commands.h"
#include "record_bridge.h"
#include "settings_file.h"
#include "settings_text.h"
#include "platform/win32_owners.h"

namespace kn::desk {
namespace {

// Said where it was started from too: a box alone may be missed.
void Tell(const std::string& text, UINT icon) {
  WriteToStarter("kn-desk: " + text + "\n", StdStream::kError);
  MessageBoxW(nullptr, Widen(text).c_str(), Widen(Say(Text::kTitle)).c_str(), MB_OK | icon);
}

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
      Tell(Say(Text::kCannotReadSettings, {Narrow(error), Narrow(path)}), MB_ICONERROR);
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
  const std::string question =
      Say(Text::kSetAsideQuestion, {DescribeReading(reading), Narrow(path), Narrow(aside)});
  WriteToStarter("kn-desk: " + DescribeReading(reading) + "\n", StdStream::kError);
  if (MessageBoxW(nullptr, Widen(question).c_str(), Widen(Say(Text::kTitle)).c_str(),
                  MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) {
    return false;
  }
  if (!MoveFileW(path.c_str(), aside.c_str())) {
    Tell(Say(Text::kCannotSetAside, {std::to_string(GetLastError())}), MB_ICONERROR);
    return false;
  }
  settings = FirstRunSettings();
  return true;
}

}  // namespace

// The same rule as kn-explain's, so that both speak one language.
DeskLanguage SystemDeskLanguage() {
  return explain::SystemLanguage() == explain::Language::kJapanese ? DeskLanguage::kJapanese
                                                                    : DeskLanguage::kEnglish;
}

int RunDesk(const DeskOptions& options) {
  host::ComScope com;  // the common dialogs browse the shell's folders
  const std::wstring dllPath = options.dllPath.empty() ? host::DefaultDllPath() : options.dllPath;
  driver::PluginLibrary library(dllPath);
  if (!library.ready()) {
    Tell(Say(Text::kCannotLoadPlugin, {Narrow(library.path()), library.error()}), MB_ICONERROR);
    return kExitFailed;
  }
  const std::wstring chosen = options.settingsPath.empty() ? DefaultSettingsPath() : options.settingsPath;
  if (chosen.empty()) {
    Tell(Say(Text::kNoProfileFolder), MB_ICONERROR);
    return kExitFailed;
  }
  const std::wstring path = FullPath(chosen);
  KernelHandle lock(CreateMutexW(nullptr, FALSE, LockName(path).c_str()));
  if (lock.get() && GetLastError() == ERROR_ALREADY_EXISTS) {
    Tell(Say(Text::kAlreadyRunning, {Narrow(path)}), MB_ICONINFORMATION);
    return kExitAlreadyRunning;
  }
  DeskSettings settings;
  if (!LoadSettings(path, settings)) return kExitSettingsKept;
  DeskApp app(library.api(), path);
  std::wstring error;
  if (!app.Start(settings, error)) {
    Tell(Say(Text::kCannotStart, {Narrow(error)}), MB_ICONERROR);
    return kExitFailed;
  }
  return app.Run();
}

}  // namespace kn::desk
