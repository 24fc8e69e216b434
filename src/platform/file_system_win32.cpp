#include "platform/file_system_win32.h"

#include <windows.h>

#include <cstring>
#include <new>
#include <utility>

#include "platform/win32_owners.h"

namespace kn {

static_assert(sizeof(SYSTEMTIME) == sizeof(SystemTime), "SystemTime mirrors SYSTEMTIME");

namespace {

// Names the platform cannot take are refused before they reach it.
bool IsUsableName(const std::string& name) {
  return !name.empty() && name.size() < MAX_PATH && name.find('\0') == std::string::npos;
}

bool HasWildcard(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

class Win32FileReader final : public FileReader {
 public:
  explicit Win32FileReader(FileHandle file) : file_(std::move(file)) {}

  std::size_t Read(char* buffer, std::size_t size) override {
    const DWORD wanted = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
    DWORD got = 0;
    if (!ReadFile(file_.get(), buffer, wanted, &got, nullptr)) return 0;
    return got;
  }

  std::size_t SizeHint() override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.get(), &size) || size.QuadPart < 0) return 0;
    return static_cast<unsigned long long>(size.QuadPart) > SIZE_MAX ? 0 : static_cast<std::size_t>(size.QuadPart);
  }

 private:
  FileHandle file_;
};

}  // namespace

bool Win32FileSystem::GetFileLocalTime(const std::string& name, SystemTime& out) {
  if (!IsUsableName(name)) return false;
  WIN32_FIND_DATAA found{};
  const FindHandle search(FindFirstFileA(name.c_str(), &found));
  if (!search) return false;
  FILETIME local{};
  SYSTEMTIME time{};
  if (!FileTimeToLocalFileTime(&found.ftLastWriteTime, &local)) return false;
  if (!FileTimeToSystemTime(&local, &time)) return false;
  std::memcpy(&out, &time, sizeof out);
  return true;
}

std::unique_ptr<FileReader> Win32FileSystem::OpenForReading(const std::string& name) {
  if (!IsUsableName(name) || HasWildcard(name)) return nullptr;
  FileHandle file(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  // Only disk files: a console, pipe or serial device could block the read.
  if (GetFileType(file.get()) != FILE_TYPE_DISK) return nullptr;
  try {
    return std::make_unique<Win32FileReader>(std::move(file));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace kn
