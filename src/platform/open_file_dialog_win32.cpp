#include "platform/open_file_dialog_win32.h"

#include <commdlg.h>

#include <cstring>

namespace kn {
namespace {

class CurrentDirectoryKeeper {
 public:
  CurrentDirectoryKeeper() {
    const DWORD length = GetCurrentDirectoryA(0, nullptr);
    if (length == 0) return;
    saved_.assign(length + 1, '\0');
    const DWORD written = GetCurrentDirectoryA(length + 1, &saved_[0]);
    saved_.resize(written > 0 && written <= length ? written : 0);
  }
  ~CurrentDirectoryKeeper() {
    if (!saved_.empty()) SetCurrentDirectoryA(saved_.c_str());
  }
  CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
  CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;

 private:
  std::string saved_;
};

// The dialog's list of NUL-separated strings ending in a double NUL.
std::string FilterList(const OpenFileRequest& request) {
  std::string filter;
  for (const auto& [description, pattern] : request.filters) {
    filter += description;
    filter.push_back('\0');
    filter += pattern;
    filter.push_back('\0');
  }
  filter.push_back('\0');
  return filter;
}

}  // namespace

std::string AskForFileToOpenWin32(HWND owner, const OpenFileRequest& request) {
  const CurrentDirectoryKeeper keeper;
  const std::string filter = FilterList(request);
  char path[260] = {};
  OPENFILENAMEA dialog{};
  dialog.lStructSize = 76;  // the original, widely understood layout
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 0;
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.lpstrTitle = request.title;
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  dialog.lpstrDefExt = request.defaultExtension;
  if (!GetOpenFileNameA(&dialog)) return {};
  return std::string(path, strnlen(path, sizeof path));
}

}  // namespace kn
