#include "platform/std_file_system.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <new>
#include <optional>
#include <system_error>

namespace kn {

namespace fs = std::filesystem;

namespace {

bool HasWildcard(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

char FoldCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c; }

// The file clock and the system clock differ by a whole number of seconds in
// every library, so the offset measured from two readings of now() and rounded
// to the second is exact.
std::chrono::seconds FileClockOffset() {
  const auto fileNow = fs::file_time_type::clock::now().time_since_epoch();
  const auto systemNow = std::chrono::system_clock::now().time_since_epoch();
  const auto difference = std::chrono::duration_cast<std::chrono::milliseconds>(fileNow) -
                          std::chrono::duration_cast<std::chrono::milliseconds>(systemNow);
  return std::chrono::round<std::chrono::seconds>(difference);
}

bool ToLocalTime(fs::file_time_type written, SystemTime& out) {
  using std::chrono::duration_cast;
  using std::chrono::milliseconds;
  const auto sinceEpoch = duration_cast<milliseconds>(written.time_since_epoch() - FileClockOffset());
  const auto seconds = std::chrono::floor<std::chrono::seconds>(sinceEpoch);
  const std::time_t t = static_cast<std::time_t>(seconds.count());
  std::tm local{};
#ifdef _WIN32
  if (localtime_s(&local, &t) != 0) return false;
#else
  if (localtime_r(&t, &local) == nullptr) return false;
#endif
  out.wYear = static_cast<std::uint16_t>(local.tm_year + 1900);
  out.wMonth = static_cast<std::uint16_t>(local.tm_mon + 1);
  out.wDayOfWeek = static_cast<std::uint16_t>(local.tm_wday);
  out.wDay = static_cast<std::uint16_t>(local.tm_mday);
  out.wHour = static_cast<std::uint16_t>(local.tm_hour);
  out.wMinute = static_cast<std::uint16_t>(local.tm_min);
  out.wSecond = static_cast<std::uint16_t>(local.tm_sec);
  out.wMilliseconds = static_cast<std::uint16_t>((sinceEpoch - seconds).count());
  return true;
}

std::optional<fs::file_time_type> LastWriteTime(const fs::path& path) {
  std::error_code error;
  const fs::file_time_type written = fs::last_write_time(path, error);
  if (error) return std::nullopt;
  return written;
}

// The entry of `directory` that a directory listing gives first for
// `pattern`: "." and ".." (in a directory other than the root) come before the
// names, which are taken in byte order.
std::optional<fs::path> FirstMatch(const fs::path& directory, std::string_view pattern) {
  const fs::path listed = directory.empty() ? fs::path(".") : directory;
  std::error_code error;
  if (!fs::is_directory(listed, error)) return std::nullopt;
  if (listed.has_relative_path() || listed.is_relative()) {
    if (MatchesWildcard(pattern, ".")) return listed;
    if (MatchesWildcard(pattern, "..")) return listed / "..";
  }
  std::optional<fs::path> first;
  std::string firstName;
  for (fs::directory_iterator it(listed, error), end; !error && it != end; it.increment(error)) {
    const std::string entryName = it->path().filename().string();
    if (!MatchesWildcard(pattern, entryName)) continue;
    if (!first || entryName < firstName) {
      first = it->path();
      firstName = entryName;
    }
  }
  return first;
}

std::optional<fs::path> FindEntry(const std::string& name) {
  const fs::path path(name);
  const std::string last = path.filename().string();
  if (last.empty()) return std::nullopt;  // a name ending in a separator
  // A plain name is looked up by the one call that reads its time.
  if (!HasWildcard(last)) return path;
  if (HasWildcard(path.parent_path().string())) return std::nullopt;
  return FirstMatch(path.parent_path(), last);
}

class StdFileReader final : public FileReader {
 public:
  // Unbuffered: each Read is one read of the system's, straight into the
  // caller's buffer, which is as large as the caller wants its pieces.
  StdFileReader(std::FILE* file, std::size_t size) : file_(file), size_(size) {
    std::setvbuf(file_, nullptr, _IONBF, 0);
  }
  ~StdFileReader() override { std::fclose(file_); }
  StdFileReader(const StdFileReader&) = delete;
  StdFileReader& operator=(const StdFileReader&) = delete;

  // A short read met the end (or an error): the next one is not asked for.
  std::size_t Read(char* buffer, std::size_t size) override {
    if (ended_) return 0;
    const std::size_t got = std::fread(buffer, 1, size, file_);
    ended_ = got < size;
    return got;
  }

  std::size_t SizeHint() override { return size_; }

 private:
  std::FILE* file_;
  std::size_t size_;
  bool ended_ = false;
};

}  // namespace

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") return true;
  // Greedy matching with one backtrack point: the latest `*`.
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t starP = std::string_view::npos;
  std::size_t starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::string WithNativeSeparators(std::string_view name) {
  std::string path(name);
#ifndef _WIN32
  // Windows takes '\' as a separator as well as '/'; the second byte of a
  // double-byte character is never one.
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto b = static_cast<unsigned char>(path[i]);
    if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
      ++i;
    } else if (path[i] == '\\') {
      path[i] = '/';
    }
  }
#endif
  return path;
}

bool StdFileSystem::GetFileLocalTime(const std::string& windowsName, SystemTime& out) {
  try {
    const std::string name = WithNativeSeparators(windowsName);
    const std::optional<fs::path> entry = FindEntry(name);
    if (!entry) return false;
    const std::optional<fs::file_time_type> written = LastWriteTime(*entry);
    return written && ToLocalTime(*written, out);
  } catch (const std::exception&) {
    return false;  // a name the library cannot convert names nothing
  }
}

std::unique_ptr<FileReader> StdFileSystem::OpenForReading(const std::string& windowsName) {
  try {
    const std::string name = WithNativeSeparators(windowsName);
    if (name.empty() || HasWildcard(name)) return nullptr;
    std::error_code error;
    // Only plain files: a directory cannot be read, and a device or pipe
    // could block the reader.
    if (!fs::is_regular_file(fs::path(name), error)) return nullptr;
    const std::uintmax_t size = fs::file_size(fs::path(name), error);
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (file == nullptr) return nullptr;
    try {
      return std::make_unique<StdFileReader>(file, error || size > SIZE_MAX ? 0 : static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
      std::fclose(file);
      return nullptr;
    }
  } catch (const std::exception&) {
    return nullptr;
  }
}

}  // namespace kn
