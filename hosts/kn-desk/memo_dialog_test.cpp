// The memo editor's keys, driven as a person types.
#include "memo_dialog.h"

#include <gtest/gtest.h>

#include "wine/harness/dialog_driver.h"

namespace kn::desk {
namespace {

using wine::DialogDriver;

TEST(DeskMemoEditor, CtrlASelectsTheWholeMemo) {
  DWORD start = 99;
  DWORD end = 99;
  DialogDriver driver([&](HWND dialog) {
    HWND edit = GetDlgItem(dialog, kMemoEditId);
    SendMessageW(edit, EM_SETSEL, 3, 3);
    SendMessageW(edit, WM_CHAR, 1, 0);  // what Ctrl+A types
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    DialogDriver::Press(dialog, IDCANCEL);
  });
  std::string memo = "first line\r\nsecond line";
  EXPECT_FALSE(EditMemo(nullptr, host::EntryPoints{}, FontChoice{}, memo));
  EXPECT_EQ(driver.acted(), 1);
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 23u);
  EXPECT_EQ(memo, "first line\r\nsecond line") << "cancelled";
}

}  // namespace
}  // namespace kn::desk
