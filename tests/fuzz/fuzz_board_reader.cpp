// Arbitrary bytes as board files, file times and memo through the board
// reader, the update stamps and the loader (in-memory file system).
//
// Input: byte 0 picks the read chunk size, the next 16 bytes are the files'
// time, the rest is the memo, then "\xFF\xFE", then up to three files'
// contents separated by "\xFF\xFD" (named a, b and c).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "board/board_loader.h"
#include "board/update_stamps.h"
#include "native/fake_file_system.h"

namespace {

using kn::SystemTime;

void Check(bool holds) {
  if (!holds) std::abort();
}

// Board text never holds a NUL, and every CR starts a CR LF line break.
void CheckBoardText(const std::string& text) {
  Check(!text.empty());
  Check(text.find('\0') == std::string::npos);
  for (std::size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r', at + 1)) {
    Check(at + 1 < text.size() && text[at + 1] == '\n');
  }
}

void CheckMemoNames(std::string_view memo) {
  std::size_t cursor = 0;
  std::string name;
  while (kn::NextMemoLine(cursor, memo, name)) {
    Check(cursor <= memo.size());
    Check(name.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
    Check(name[0] != '\t');
  }
}

std::vector<std::string_view> SplitOn(std::string_view text, std::string_view separator, std::size_t most) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < most) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) break;
    parts.push_back(text.substr(0, at));
    text.remove_prefix(at + separator.size());
  }
  parts.push_back(text);
  return parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 17) return 0;
  const std::size_t chunk = static_cast<std::size_t>(data[0]) * 17 + 1;
  SystemTime fileTime{};
  std::memcpy(&fileTime, data + 1, sizeof fileTime);
  const std::string_view rest(reinterpret_cast<const char*>(data + 17), size - 17);

  const std::vector<std::string_view> memoAndFiles = SplitOn(rest, "\xFF\xFE", 2);
  const std::string_view memo = memoAndFiles[0];
  const std::vector<std::string_view> contents =
      SplitOn(memoAndFiles.size() > 1 ? memoAndFiles[1] : std::string_view(), "\xFF\xFD", 3);

  kn::FakeFileSystem files(chunk);
  const char* const names[] = {"a", "b", "c"};
  for (std::size_t i = 0; i < contents.size(); ++i) {
    files.AddFile(names[i], std::string(contents[i]), fileTime);
    kn::SjisString line{std::string(contents[i])};
    kn::ExpandUpdateStamps(line, fileTime);
  }
  files.AddDirectory("d", fileTime);
  files.AddLockedFile("l", fileTime);

  SystemTime newest{};
  CheckBoardText(kn::LoadBoardText("a\r\n;x\n\tb\nd\nl\nc", files, newest));
  CheckBoardText(kn::LoadBoardText(memo, files, newest));
  CheckMemoNames(memo);
  return 0;
}
