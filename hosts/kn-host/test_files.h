// Scratch files for the host's tests, removed when the test ends.
#pragma once

#include <windows.h>

#include <string>

namespace kn::host {

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
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(bytes.size());
    const BOOL ok = WriteFile(file, bytes.data(), size, &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
  }

 private:
  std::wstring path_;
};

}  // namespace kn::host
