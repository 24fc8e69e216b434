// A dialog built from an in-memory template has the controls, texts, ids
// and sizes the template gives.
#include "dialog_template.h"

#include <gtest/gtest.h>

#include <string>

namespace kn::desk {
namespace {

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

INT_PTR CALLBACK Quiet(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST(DeskDialogTemplate, MakesTheDialogItDescribes) {
  DialogTemplate dialog(L"\u30e1\u30e2 Title", 200, 100);
  dialog.Add(DialogTemplate::kEdit, 11, L"start", ES_MULTILINE, 5, 5, 190, 60)
      .Add(DialogTemplate::kButton, IDOK, L"OK", BS_DEFPUSHBUTTON, 90, 80, 50, 14)
      .Add(DialogTemplate::kStatic, 12, L"odd", 0, 5, 80, 31, 9);  // odd lengths test the alignment
  HWND window = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), nullptr, &Quiet, 0);
  ASSERT_NE(window, nullptr) << "error " << GetLastError();
  EXPECT_EQ(TextOf(window), L"\u30e1\u30e2 Title");
  struct Expected {
    int id;
    const wchar_t* className;
    const wchar_t* text;
  } controls[] = {{11, L"Edit", L"start"}, {IDOK, L"Button", L"OK"}, {12, L"Static", L"odd"}};
  for (const Expected& c : controls) {
    SCOPED_TRACE(c.id);
    HWND control = GetDlgItem(window, c.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(lstrcmpiW(ClassOf(control).c_str(), c.className), 0) << ClassOf(control);
    EXPECT_EQ(TextOf(control), c.text);
    EXPECT_TRUE(GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE);
  }
  EXPECT_TRUE(GetWindowLongW(GetDlgItem(window, 11), GWL_STYLE) & ES_MULTILINE);
  RECT units{0, 0, 200, 100};
  MapDialogRect(window, &units);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, units.right);
  EXPECT_EQ(client.bottom, units.bottom);
  DestroyWindow(window);
}

}  // namespace
}  // namespace kn::desk
