#include "settings_file.h"

#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <utility>

#include "desk_settings.h"
#include "desk_texts.h"
#include "platform/win32_owners.h"
#include "record_bridge.h"

namespace kn::desk {
namespace {

std::wstring ErrorText(Text what, DWORD code) { return Widen(Say(what, {std::to_string(code)})); }

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}


// The file written beside the settings, removed on every way out (an
// exception included) unless it has been moved over them.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::wstring& path() const { return path_; }
  void Moved() { path_.clear(); }

 private:
  std::wstring path_;
};

bool WriteWhole(const std::wstring& path, const std::string& bytes, std::wstring& error) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    error = ErrorText(Text::kFileCannotCreate, GetLastError());
    return false;
  }
  DWORD written = 0;
  if (!bytes.empty() &&
      (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
       written != bytes.size())) {
    error = ErrorText(Text::kFileCannotWrite, GetLastError());
    return false;
  }
  if (!FlushFileBuffers(file.get())) {
    error = ErrorText(Text::kFileCannotFlush, GetLastError());
    return false;
  }
  return true;
}

}  // namespace

std::wstring DefaultSettingsPath() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                              folder))) {
    return {};
  }
  return std::wstring(folder) + L"\\Kaleidonote\\desk-settings.txt";
}

FileRead ReadSettingsFile(const std::wstring& path, std::string& bytes, std::wstring& error) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return FileRead::kMissing;
    error = ErrorText(Text::kFileCannotOpen, code);
    return FileRead::kFailed;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) {
    error = ErrorText(Text::kFileCannotSize, GetLastError());
    return FileRead::kFailed;
  }
  // One byte past the limit is enough for the reader to call it too large.
  const LONGLONG wanted = size.QuadPart < static_cast<LONGLONG>(kMaxSettingsBytes)
                              ? size.QuadPart
                              : static_cast<LONGLONG>(kMaxSettingsBytes) + 1;
  bytes.assign(static_cast<std::size_t>(wanted), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size())) {
    error = ErrorText(Text::kFileCannotRead, GetLastError());
    return FileRead::kFailed;
  }
  return FileRead::kRead;
}

bool ReplaceSettingsFile(const std::wstring& path, const std::string& bytes, std::wstring& error) {
  const std::wstring folder = FolderOf(path);
  if (!folder.empty()) SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  TemporaryFile temporary(path + L".new");
  if (!WriteWhole(temporary.path(), bytes, error)) return false;
  if (!MoveFileExW(temporary.path().c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = ErrorText(Text::kFileCannotReplace, GetLastError());
    return false;
  }
  temporary.Moved();
  return true;
}

std::wstring SetAsidePath(const std::wstring& path) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  wchar_t stamp[32] = {};
  std::swprintf(stamp, 32, L".unreadable-%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute, now.wSecond);
  return path + stamp;
}

std::wstring FullPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH * 4] = {};
  const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 4, buffer, nullptr);
  return n == 0 || n >= MAX_PATH * 4 ? path : std::wstring(buffer, n);
}

}  // namespace kn::desk
