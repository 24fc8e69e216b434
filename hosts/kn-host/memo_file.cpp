#include "memo_file.h"

#include <windows.h>

#include "cp932_text.h"
#include "markup/byte_order_marks.h"
#include "markup/utf8_decode.h"
#include "platform/win32_owners.h"

namespace kn::host {
namespace {

// Memos are small; a larger file is surely not a memo.
constexpr DWORD kMaxMemoBytes = 16 * 1024 * 1024;
// Characters named in an error; the rest are counted.
constexpr std::size_t kMaxNamed = 5;

bool ReadBytes(const std::wstring& path, std::string& bytes, std::string& error) {
  const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    error = "cannot open the memo (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxMemoBytes) {
    error = "the memo is too large or its size cannot be read";
    return false;
  }
  bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size())) {
    error = "cannot read the memo (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  return true;
}

}  // namespace

bool ReadMemoFile(const std::wstring& path, bool utf8, std::string& memo, std::string& error) {
  std::string bytes;
  if (!ReadBytes(path, bytes, error)) return false;
  bytes.resize(bytes.find('\0') == std::string::npos ? bytes.size() : bytes.find('\0'));
  if (!utf8) {
    memo = std::move(bytes);
    return true;
  }
  if (DetectByteOrderMark(bytes) == ByteOrderMark::kUtf8) bytes.erase(0, ByteOrderMarkBytes(ByteOrderMark::kUtf8).size());
  Cp932Text converted = Utf8ToCp932Text(bytes);
  if (!converted.lost.empty()) {
    error = "code page 932 cannot hold what the memo has at";
    for (std::size_t i = 0; i < converted.lost.size() && i < kMaxNamed; ++i) {
      error += (i == 0 ? " " : "; ") + DescribeLost(converted.lost[i]);
    }
    if (converted.lost.size() > kMaxNamed) {
      error += "; and " + std::to_string(converted.lost.size() - kMaxNamed) + " more";
    }
    return false;
  }
  memo = std::move(converted.text);
  return true;
}

bool LooksLikeUtf8(const std::string& bytes) {
  if (DetectByteOrderMark(bytes) == ByteOrderMark::kUtf8) return true;
  const Utf8Scan scan = ScanUtf8(bytes);
  return scan.wellFormed && scan.multibyte;
}

}  // namespace kn::host
