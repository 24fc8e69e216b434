#include "plugin/chooser_win32.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "platform/gdi_raii_win32.h"
#include "plugin/host_texts.h"

namespace kn {
namespace {

// The dialog may change the process's current directory; it is put back
// whatever happens.
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

std::string FilterList() {
  std::string filter;
  for (const char* part : {kFileFilter, "*.txt", kFileFilterAll, "*.*"}) {
    filter += part;
    filter.push_back('\0');
  }
  filter.push_back('\0');
  return filter;
}

// The chosen file's full path, or empty when nothing was chosen.
std::string AskForFile(HWND owner) {
  const CurrentDirectoryKeeper keeper;
  const std::string filter = FilterList();
  char path[260] = {};
  OPENFILENAMEA dialog{};
  dialog.lStructSize = 76;  // the original, widely understood layout
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 0;
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.lpstrTitle = kChooserTitle;
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  dialog.lpstrDefExt = "txt";
  if (!GetOpenFileNameA(&dialog)) return {};
  return std::string(path, strnlen(path, sizeof path));
}

// A new block holding the path and CR LF.
bool AppendToNewBlock(EditRequest& request, const std::string& line) {
  OwnedGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, line.size() + 2));
  if (!block.get()) return false;
  {
    GlobalLockGuard lock(block.get());
    if (!lock.get()) return false;
    std::memcpy(lock.get(), line.c_str(), line.size() + 1);
  }
  request.text = block.release();
  request.length = request.lengthAgain = static_cast<std::int32_t>(line.size());
  return true;
}

bool AppendToExistingBlock(EditRequest& request, const std::string& line) {
  // A discarded (zero-byte) block cannot be locked: it is left as it was.
  const SIZE_T size = GlobalSize(request.text);
  if (size == 0) return false;
  // Growing keeps the old contents; a failure leaves the host's block as it was.
  HGLOBAL grown = GlobalReAlloc(request.text, size + line.size() + 1, GMEM_MOVEABLE);
  if (!grown) return false;
  request.text = grown;
  GlobalLockGuard lock(grown);
  if (!lock.get()) return false;
  char* text = static_cast<char*>(lock.get());
  const std::size_t used = strnlen(text, size);
  std::memcpy(text + used, line.c_str(), line.size() + 1);
  request.length = request.lengthAgain = static_cast<std::int32_t>(used + line.size());
  return true;
}

}  // namespace

int ChooseBoardFile(HWND owner, EditRequest* request) {
  if (!request) return 2;
  const std::string path = AskForFile(owner);
  if (path.empty()) return 2;
  const std::string line = path + "\r\n";
  const bool appended = request->text ? AppendToExistingBlock(*request, line)
                                      : AppendToNewBlock(*request, line);
  return appended ? 1 : 2;
}

}  // namespace kn
