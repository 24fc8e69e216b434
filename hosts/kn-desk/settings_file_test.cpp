// The settings file on disk: read whole, replaced in one step, and a place
// to keep a file that could not be used.
#include "settings_file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace kn::desk {
namespace {

// A folder of the test's own, removed with what it holds.
class Folder {
 public:
  Folder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"kn_desk_file_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~Folder() { Remove(path_); }
  std::wstring Join(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  static void Remove(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Remove(path + L"\\" + name);
        else DeleteFileW((path + L"\\" + name).c_str());
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
  }

  std::wstring path_;
};

TEST(DeskSettingsFile, AMissingFileOrFolderIsMissingNotAFailure) {
  Folder folder;
  std::string bytes;
  std::wstring error;
  EXPECT_EQ(ReadSettingsFile(folder.Join(L"none.txt"), bytes, error), FileRead::kMissing);
  EXPECT_EQ(ReadSettingsFile(folder.Join(L"no-folder\\none.txt"), bytes, error), FileRead::kMissing);
}

TEST(DeskSettingsFile, ReplacingWritesTheWholeTextAndLeavesNoTemporaryFile) {
  Folder folder;
  const std::wstring path = folder.Join(L"sub\\settings.txt");  // the folder is made as needed
  std::wstring error;
  for (const std::string& text : {std::string("first, longer text\r\n"), std::string("second"), std::string()}) {
    ASSERT_TRUE(ReplaceSettingsFile(path, text, error)) << std::string(error.begin(), error.end());
    std::string bytes = "left over";
    ASSERT_EQ(ReadSettingsFile(path, bytes, error), FileRead::kRead);
    EXPECT_EQ(bytes, text);
    EXPECT_EQ(GetFileAttributesW((path + L".new").c_str()), INVALID_FILE_ATTRIBUTES);
  }
}

TEST(DeskSettingsFile, AFileHeldOpenByAnotherIsNotReplacedAndStaysIntact) {
  Folder folder;
  const std::wstring path = folder.Join(L"settings.txt");
  std::wstring error;
  ASSERT_TRUE(ReplaceSettingsFile(path, "kept", error));
  HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(ReplaceSettingsFile(path, "new text", error));
  EXPECT_FALSE(error.empty());
  std::string bytes;
  EXPECT_EQ(ReadSettingsFile(path, bytes, error), FileRead::kFailed) << "it is held open";
  CloseHandle(held);
  ASSERT_EQ(ReadSettingsFile(path, bytes, error), FileRead::kRead);
  EXPECT_EQ(bytes, "kept");
  EXPECT_EQ(GetFileAttributesW((path + L".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(DeskSettingsFile, AnUnusableFileIsSetAsideBesideItself) {
  const std::wstring aside = SetAsidePath(L"C:\\x\\desk-settings.txt");
  const std::wstring prefix = L"C:\\x\\desk-settings.txt.unreadable-";
  ASSERT_EQ(aside.compare(0, prefix.size(), prefix), 0);
  const std::wstring stamp = aside.substr(prefix.size());
  ASSERT_EQ(stamp.size(), 15u) << "YYYYMMDD-HHMMSS";
  for (std::size_t i = 0; i < stamp.size(); ++i) {
    EXPECT_TRUE(i == 8 ? stamp[i] == L'-' : iswdigit(stamp[i])) << i;
  }
}

TEST(DeskSettingsFile, TheDefaultLivesInTheProfile) {
  const std::wstring path = DefaultSettingsPath();
  const std::wstring tail = L"\\Kaleidonote\\desk-settings.txt";
  ASSERT_GT(path.size(), tail.size());
  EXPECT_EQ(path.substr(path.size() - tail.size()), tail);
}

}  // namespace
}  // namespace kn::desk
