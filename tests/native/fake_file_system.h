// An in-memory FileSystem for tests: files and directories with exact
// last-write times, read back in small chunks so that readers meet every
// buffer boundary, and a log of the names looked up and opened.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "system/file_system.h"

namespace kn {

class FakeFileSystem final : public FileSystem {
 public:
  struct Entry {
    std::string contents;
    SystemTime time{};
    bool isDirectory = false;
    bool readable = true;
  };

  explicit FakeFileSystem(std::size_t chunkSize = 7) : chunkSize_(chunkSize == 0 ? 1 : chunkSize) {}

  void AddFile(const std::string& name, std::string contents, const SystemTime& time = {}) {
    entries_[name] = Entry{std::move(contents), time, false, true};
  }
  void AddDirectory(const std::string& name, const SystemTime& time) {
    entries_[name] = Entry{{}, time, true, false};
  }
  // A file that exists but cannot be opened (locked by another program).
  void AddLockedFile(const std::string& name, const SystemTime& time) {
    entries_[name] = Entry{{}, time, false, false};
  }

  void Remove(const std::string& name) { entries_.erase(name); }

  bool GetFileLocalTime(const std::string& name, SystemTime& out) override {
    lookedUp.push_back(name);
    const auto it = entries_.find(name);
    if (it == entries_.end()) return false;
    out = it->second.time;
    return true;
  }

  std::unique_ptr<FileReader> OpenForReading(const std::string& name) override {
    opened.push_back(name);
    const auto it = entries_.find(name);
    if (it == entries_.end() || it->second.isDirectory || !it->second.readable) return nullptr;
    return std::make_unique<Reader>(it->second.contents, chunkSize_);
  }

  std::vector<std::string> lookedUp;
  std::vector<std::string> opened;

 private:
  class Reader final : public FileReader {
   public:
    Reader(std::string contents, std::size_t chunk) : contents_(std::move(contents)), chunk_(chunk) {}
    std::size_t Read(char* buffer, std::size_t size) override {
      const std::size_t n = std::min({size, chunk_, contents_.size() - at_});
      std::memcpy(buffer, contents_.data() + at_, n);
      at_ += n;
      return n;
    }
    std::size_t SizeHint() override { return contents_.size(); }

   private:
    std::string contents_;
    std::size_t chunk_;
    std::size_t at_ = 0;
  };

  std::map<std::string, Entry> entries_;
  std::size_t chunkSize_;
};

// A SYSTEMTIME-shaped local time.
inline SystemTime MakeSystemTime(int year, int month, int day, int weekday, int hour, int minute,
                                 int second, int milliseconds = 0) {
  SystemTime t{};
  t.wYear = static_cast<std::uint16_t>(year);
  t.wMonth = static_cast<std::uint16_t>(month);
  t.wDayOfWeek = static_cast<std::uint16_t>(weekday);
  t.wDay = static_cast<std::uint16_t>(day);
  t.wHour = static_cast<std::uint16_t>(hour);
  t.wMinute = static_cast<std::uint16_t>(minute);
  t.wSecond = static_cast<std::uint16_t>(second);
  t.wMilliseconds = static_cast<std::uint16_t>(milliseconds);
  return t;
}

inline bool SameSystemTime(const SystemTime& a, const SystemTime& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace kn
