// Scratch files for the hosts' tests, removed when the test ends.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32_owners.h"

namespace kn::driver {

class ScratchFile {
 public:
  // A path in the temporary folder; the file is not created.
  explicit ScratchFile(const std::wstring& name) {
    wchar_t folder[MAX_PATH];
    const DWORD n = GetTempPathW(MAX_PATH, folder);
    path_ = std::wstring(folder, n) + L"kn-host-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            name;
  }
  ~ScratchFile() { DeleteFileW(path_.c_str()); }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::wstring& path() const { return path_; }

  bool Write(const std::string& bytes) const {
    const FileHandle file(
        CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(bytes.size());
    return WriteFile(file.get(), bytes.data(), size, &written, nullptr) && written == bytes.size();
  }

 private:
  std::wstring path_;
};

}  // namespace kn::driver
