// The memo editor driven as a person types: its keys, and what it says of
// characters that the chip's code page cannot hold.
#include "memo_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desk_texts.h"
#include "record_bridge.h"
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
  EXPECT_FALSE(EditMemo(nullptr, driver::EntryPoints{}, EditedChip{}, memo));
  EXPECT_EQ(driver.acted(), 1);
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 23u);
  EXPECT_EQ(memo, "first line\r\nsecond line") << "cancelled";
}

// Fills the editor with `text` and presses OK; a question that follows is
// answered Yes and its text kept.
struct EditorRun {
  bool saved = false;
  std::string memo;
  std::vector<std::wstring> questions;
};

EditorRun TypeAndSave(const std::wstring& text) {
  EditorRun run;
  DialogDriver driver([&](HWND dialog) {
    if (HWND edit = GetDlgItem(dialog, kMemoEditId)) {
      SetWindowTextW(edit, text.c_str());
      DialogDriver::Press(dialog, IDOK);
    } else {
      run.questions.push_back(DialogDriver::Text(dialog, 0xFFFF));
      DialogDriver::Press(dialog, IDYES);
    }
  });
  run.memo = "old memo";
  run.saved = EditMemo(nullptr, driver::EntryPoints{}, EditedChip{}, run.memo);
  return run;
}

TEST(DeskMemoEditor, NamesTheCharactersTheChipWillShowAsGetaBeforeSaving) {
  // 〜 U+301C and − U+2212 have code page 932 forms: nothing to say.
  const EditorRun symbols = TypeAndSave(L"\x301C\x2212 ok");
  EXPECT_TRUE(symbols.saved);
  EXPECT_EQ(symbols.memo, "\xE3\x80\x9C\xE2\x88\x92 ok");
  EXPECT_TRUE(symbols.questions.empty());

  // 🍣 on line 2 has none; the memo keeps it all the same when told so.
  const EditorRun sushi = TypeAndSave(L"ok\r\nto \U0001F363\x301C");
  EXPECT_TRUE(sushi.saved);
  EXPECT_EQ(sushi.memo, "ok\r\nto \xF0\x9F\x8D\xA3\xE3\x80\x9C");
  ASSERT_EQ(sushi.questions.size(), 1u);
  const std::wstring& question = sushi.questions[0];
  EXPECT_NE(question.find(L"line 2, character 4: \U0001F363 (U+1F363)"), std::wstring::npos)
      << Narrow(question);
  EXPECT_EQ(question.find(L"U+301C"), std::wstring::npos) << Narrow(question);
}

// The label as drawn, in the button's own font.
int LabelWidth(HWND button) {
  wchar_t label[256] = {};
  GetWindowTextW(button, label, 256);
  std::wstring drawn;
  for (const wchar_t* c = label; *c; ++c) {
    if (*c != L'&') drawn += *c;
  }
  HDC dc = GetDC(button);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(button, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, drawn.c_str(), static_cast<int>(drawn.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(button, dc);
  return size.cx;
}

TEST(DeskMemoEditor, EveryButtonHoldsItsWholeLabelInEitherLanguage) {
  const DeskLanguage saved = CurrentDeskLanguage();
  for (DeskLanguage language : {DeskLanguage::kJapanese, DeskLanguage::kEnglish}) {
    UseDeskLanguage(language);
    std::vector<RECT> buttons;
    std::vector<int> labels;
    RECT client{};
    DialogDriver driver([&](HWND dialog) {
      for (int id : {static_cast<int>(kBoardFileButtonId), IDOK, IDCANCEL}) {
        HWND button = GetDlgItem(dialog, id);
        RECT rect{};
        GetWindowRect(button, &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        buttons.push_back(rect);
        labels.push_back(LabelWidth(button));
      }
      GetClientRect(dialog, &client);
      DialogDriver::Press(dialog, IDCANCEL);
    });
    std::string memo;
    EditMemo(nullptr, driver::EntryPoints{}, EditedChip{}, memo);
    ASSERT_EQ(buttons.size(), 3u);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_GT(buttons[i].right - buttons[i].left, labels[i] + 4) << "room for the label and the frame";
      EXPECT_GE(buttons[i].left, 0);
      EXPECT_LE(buttons[i].right, client.right);
    }
    EXPECT_LT(buttons[0].right, buttons[1].left) << "the row does not overlap";
    EXPECT_LT(buttons[1].right, buttons[2].left);
  }
  UseDeskLanguage(saved);
}

}  // namespace
}  // namespace kn::desk
