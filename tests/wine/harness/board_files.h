// Board files for end-to-end tests: a scratch folder of code page 932 text
// files that removes itself, file times set to a chosen local time, a file
// held open by a second handle, and board chips whose saved block carries
// the modes and last-check time a test needs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32_owners.h"
#include "wine/harness/chip_records.h"
#include "wine/harness/plugin_module.h"

namespace kn::wine {

// Writes `bytes` as the whole file; false when the file cannot be written.
inline bool WriteBoardFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

inline SYSTEMTIME LocalTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
  SYSTEMTIME time{};
  time.wYear = year;
  time.wMonth = month;
  time.wDay = day;
  time.wHour = hour;
  time.wMinute = minute;
  time.wSecond = second;
  return time;
}

// Sets the file's last-write time so that it reads back as `local` in local
// time (the conversion the plug-in applies the other way).
inline bool SetLocalWriteTime(const std::string& path, const SYSTEMTIME& local) {
  FILETIME localFile{};
  FILETIME utc{};
  if (!SystemTimeToFileTime(&local, &localFile) || !LocalFileTimeToFileTime(&localFile, &utc)) return false;
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const BOOL ok = SetFileTime(file, nullptr, nullptr, &utc);
  CloseHandle(file);
  return ok != FALSE;
}

// A fresh folder under the temporary folder; its files go with it.
class BoardFolder {
 public:
  BoardFolder() {
    static int serial = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "kn_board_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++serial);
    ok_ = CreateDirectoryA(path_.c_str(), nullptr) != FALSE;
  }
  ~BoardFolder() {
    for (const std::string& file : files_) DeleteFileA(file.c_str());
    RemoveDirectoryA(path_.c_str());
  }
  BoardFolder(const BoardFolder&) = delete;
  BoardFolder& operator=(const BoardFolder&) = delete;

  bool ok() const { return ok_; }

  // The full path of a file in the folder (which need not exist).
  std::string File(const std::string& name) {
    const std::string full = path_ + "\\" + name;
    bool known = false;
    for (const std::string& file : files_) known = known || file == full;
    if (!known) files_.push_back(full);
    return full;
  }

  // Writes the file and returns its full path, or "" when it failed.
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string full = File(name);
    return WriteBoardFile(full, bytes) ? full : std::string();
  }

 private:
  std::string path_;
  std::vector<std::string> files_;
  bool ok_ = false;
};

// A second handle on a board file, opened for reading and writing and
// sharing both, as an editor that keeps the file open would hold it.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

  bool ok() const { return static_cast<bool>(handle_); }

  // Replaces the contents through this handle, which stays open.
  bool Rewrite(const std::string& bytes) {
    DWORD written = 0;
    HANDLE file = handle_.get();
    return SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 &&
           WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size() && SetEndOfFile(file) && FlushFileBuffers(file);
  }

 private:
  FileHandle handle_;
};

// A last-check time in the saved block's broken-down layout (seconds,
// minutes, hours, day, month from 0, years since 1900, weekday, day of the
// year, daylight flag); the weekday and day of the year are left 0.
using CheckTime = BrokenDownTime;

inline CheckTime CheckTimeOf(int year, int month, int day, int hour, int minute, int second) {
  return CheckTime{second, minute, hour, day, month - 1, year - 1900, 0, 0, 0};
}

// Long after any file a test writes.
inline CheckTime FarFutureCheck() { return CheckTimeOf(2099, 12, 31, 23, 59, 59); }

// Board mode on, with the given blink, interval and last check.
inline Modes BoardModes(std::int32_t interval, bool blink, const CheckTime& lastCheck) {
  Modes modes = ModesOf(interval, IDM_LINK_BLUE, blink ? IDM_BLINK : 0, IDM_BOARD_MODE, 0);
  modes.lastCheck = lastCheck;
  return modes;
}

// The memo that lists these files, one a line.
inline std::string BoardMemo(const std::vector<std::string>& paths) {
  std::string memo;
  for (const std::string& path : paths) memo += path + "\r\n";
  return memo;
}

// The block GetSaveData writes, read back from host memory; false when the
// call fails.
inline bool ReadSaveBlock(HLOCAL chip, SaveBlock& out) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4);
  if (!block) return false;
  const int result = Api().GetSaveData(chip, 0, &block);
  bool ok = false;
  if (result == 1 && GlobalSize(block) >= sizeof out) {
    if (const void* bytes = GlobalLock(block)) {
      std::memcpy(&out, bytes, sizeof out);
      GlobalUnlock(block);
      ok = true;
    }
  }
  GlobalFree(block);
  return ok;
}

}  // namespace kn::wine
