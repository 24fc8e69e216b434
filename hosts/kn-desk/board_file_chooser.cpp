#include "board_file_chooser.h"

#include <cstring>

#include "record_bridge.h"
#include "platform/win32_owners.h"

namespace kn::desk {
namespace {

std::wstring EndingInLineBreak(const std::wstring& text) {
  return text.empty() || text.back() == L'\n' ? text : text + L"\r\n";
}

}  // namespace

std::optional<std::wstring> WithBoardFileAdded(const driver::EntryPoints& api, HWND owner,
                                               const std::wstring& text) {
  const std::wstring before = EndingInLineBreak(text);
  const std::string sent = ToChipText(before);
  OwnedGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sent.size() + 1));
  {
    GlobalLockGuard lock(block.get());
    if (!lock.get()) return std::nullopt;
    std::memcpy(lock.get(), sent.c_str(), sent.size() + 1);
  }
  EditRequest request{};
  request.length = request.lengthAgain = static_cast<std::int32_t>(sent.size());
  request.text = block.release();
  const int answer = api.EditHelper(owner, &request);
  block.reset(request.text);  // the chooser may have grown it into another handle
  if (answer != 1) return std::nullopt;
  GlobalLockGuard lock(block.get());
  if (!lock.get()) return std::nullopt;
  const auto* bytes = static_cast<const char*>(lock.get());
  const std::string after(bytes, strnlen(bytes, GlobalSize(block.get())));
  if (after.size() <= sent.size() || after.compare(0, sent.size(), sent) != 0) return std::nullopt;
  return before + Widen(FromChipText(after.substr(sent.size())));
}

}  // namespace kn::desk
