// The editor's hand-off to the chip's board-file chooser, against a stand-in
// chooser that appends as the chip's does: right after the text it gets.
#include "board_file_chooser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace kn::desk {
namespace {

const char kChosen[] = "C:\\boards\\status.txt";

std::string g_received;
bool g_cancel = false;

int __cdecl FakeChooser(WindowHandle, EditRequest* request) {
  if (g_cancel) return 2;
  const std::size_t size = GlobalSize(request->text);
  HGLOBAL grown = GlobalReAlloc(request->text, size + std::strlen(kChosen) + 3, GMEM_MOVEABLE);
  if (!grown) return 2;
  request->text = grown;
  char* text = static_cast<char*>(GlobalLock(grown));
  g_received = text;
  std::strcat(text, kChosen);
  std::strcat(text, "\r\n");
  request->length = request->lengthAgain = static_cast<std::int32_t>(std::strlen(text));
  GlobalUnlock(grown);
  return 1;
}

TEST(DeskBoardFileChooser, TheChosenFileBecomesALineOfItsOwn) {
  driver::EntryPoints api;
  api.EditHelper = &FakeChooser;
  const std::wstring added = L"C:\\boards\\status.txt\r\n";
  struct Case {
    const char* name;
    std::wstring text;
    std::wstring expected;
  };
  const Case cases[] = {
      {"no line break at the end", L"notice.txt", L"notice.txt\r\n" + added},
      {"a line break at the end", L"notice.txt\r\n", L"notice.txt\r\n" + added},
      {"a bare line feed at the end", L"notice.txt\n", L"notice.txt\n" + added},
      {"empty", L"", added},
      // 🍣 has no code page 932 form: the chooser gets 〓 but the editor keeps it.
      {"a character the chip's code page lacks", L"\U0001F363.txt", L"\U0001F363.txt\r\n" + added},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_cancel = false;
    const std::optional<std::wstring> result = WithBoardFileAdded(api, nullptr, c.text);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, c.expected);
    EXPECT_TRUE(g_received.empty() || g_received.back() == '\n') << g_received;
  }
  g_cancel = true;
  EXPECT_FALSE(WithBoardFileAdded(api, nullptr, L"notice.txt").has_value()) << "cancelled";
}

}  // namespace
}  // namespace kn::desk
