// A folder of the test's own under the temporary directory, removed with
// everything in it when the test ends, and small file helpers.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kn::wine {

inline std::optional<std::string> ReadWholeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

inline bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(file);
  return ok;
}

// The process's current directory, without a trailing backslash (except
// for a drive root).
inline std::string CurrentDirectory() {
  char buffer[MAX_PATH * 4] = {};
  const DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

// Sets the current directory for a scope and puts the old one back.
class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(const std::string& path)
      : saved_(CurrentDirectory()), changed_(SetCurrentDirectoryA(path.c_str()) != FALSE) {}
  ~ScopedCurrentDirectory() { SetCurrentDirectoryA(saved_.c_str()); }
  ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
  ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

  bool changed() const { return changed_; }

 private:
  std::string saved_;
  bool changed_;
};

class ScratchFolder {
 public:
  // `name` distinguishes the tests; the process id keeps parallel runs apart
  // and the count keeps a folder whose files are still in use (a program
  // that has not exited yet) from being reused.
  explicit ScratchFolder(const std::string& name) {
    static int made = 0;
    char temp[MAX_PATH] = {};
    const DWORD n = GetTempPathA(sizeof temp, temp);
    if (n == 0 || n >= sizeof temp) return;
    std::string path = std::string(temp, n) + "kn_" + name + "_" + std::to_string(GetCurrentProcessId()) +
                       "_" + std::to_string(++made);
    RemoveTree(path);
    if (CreateDirectoryA(path.c_str(), nullptr)) path_ = path;
  }
  ~ScratchFolder() {
    if (!path_.empty()) RemoveTree(path_);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  bool ok() const { return !path_.empty(); }
  // Full path, no trailing backslash.
  const std::string& path() const { return path_; }
  std::string Join(const std::string& relative) const { return path_ + "\\" + relative; }

  // Creates every missing folder of the relative path; true when it exists.
  bool MakeFolders(const std::string& relative) const {
    std::string path = path_;
    std::size_t start = 0;
    while (start <= relative.size()) {
      std::size_t end = relative.find('\\', start);
      if (end == std::string::npos) end = relative.size();
      if (end > start) {
        path += "\\" + relative.substr(start, end - start);
        CreateDirectoryA(path.c_str(), nullptr);
      }
      start = end + 1;
    }
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }

 private:
  static void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string child = path + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child);
        else DeleteFileA(child.c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
  }

  std::string path_;
};

}  // namespace kn::wine
