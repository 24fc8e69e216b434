// The board-file chooser driven through the real open-file dialog: a hook
// types a full path and presses OK, or presses Cancel, and the host's text
// block is read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "wine/harness/chip_fixture.h"
#include "wine/harness/file_dialog_driver.h"
#include "wine/harness/scratch_folder.h"

namespace kn::wine {
namespace {


// "掲示板に設定したいファイルを指定してください。（１つづつでゴメンネ）"
const char kChooserTitle[] =
    "\x8c\x66\x8e\xa6\x94\xc2\x82\xc9\x90\xdd\x92\xe8\x82\xb5\x82\xbd\x82\xa2\x83\x74\x83\x40\x83\x43"
    "\x83\x8b\x82\xf0\x8e\x77\x92\xe8\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42\x81\x69"
    "\x82\x50\x82\xc2\x82\xc3\x82\xc2\x82\xc5\x83\x53\x83\x81\x83\x93\x83\x6c\x81\x6a";
// "テキストファイル(*.txt)"
const char kTextFiles[] =
    "\x83\x65\x83\x4c\x83\x58\x83\x67\x83\x74\x83\x40\x83\x43\x83\x8b\x28\x2a\x2e\x74\x78\x74\x29";
// "すべてのファイル(*.*)"
const char kAllFiles[] = "\x82\xb7\x82\xd7\x82\xc4\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b\x28\x2a\x2e\x2a\x29";

constexpr std::int32_t kUnsetLength = -7;

// The host's text: a movable global block holding `text` and its NUL, plus
// `spare` zero bytes.
HGLOBAL TextBlock(const std::string& text, SIZE_T spare = 0) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1 + spare);
  if (void* bytes = block ? GlobalLock(block) : nullptr) {
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(block);
  }
  return block;
}

// The block's text up to its first NUL (bounded by its size).
std::string TextOf(HGLOBAL block) {
  std::string text;
  const SIZE_T size = GlobalSize(block);
  if (const char* bytes = static_cast<const char*>(GlobalLock(block))) {
    text.assign(bytes, strnlen(bytes, size));
    GlobalUnlock(block);
  }
  return text;
}

class EditHelperTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    if (HasFatalFailure()) return;
    owner_ = std::make_unique<TestWindow>(200, 100);
    ASSERT_NE(owner_->hwnd(), nullptr);
    scratch_ = std::make_unique<ScratchFolder>("chooser");
    ASSERT_TRUE(scratch_->ok());
    ASSERT_TRUE(scratch_->MakeFolders("start"));
    ASSERT_TRUE(scratch_->MakeFolders("files"));
    board_ = scratch_->Join("files\\board.txt");
    ASSERT_TRUE(WriteWholeFile(board_, "board text\r\n"));
  }
  void TearDown() override {
    if (request_.text) GlobalFree(request_.text);
  }

  // Runs the chooser from the folder "start"; its dialog first opens the
  // folder "files" (which makes that folder current), then is answered with
  // `path` (or Cancel). Afterwards "start" must be current again.
  int Choose(const std::optional<std::string>& path) {
    const std::string start = scratch_->Join("start");
    const std::string files = scratch_->Join("files");
    ScopedCurrentDirectory inStart(start);
    EXPECT_TRUE(inStart.changed());
    FileDialogDriver driver(path, files);
    EXPECT_TRUE(driver.installed());
    const int result = Api().EditHelper(owner_->hwnd(), &request_);
    EXPECT_TRUE(SameFolder(CurrentDirectory(), start)) << "current directory now " << CurrentDirectory();
    EXPECT_EQ(driver.dialogs().size(), 1u) << "open-file dialogs shown";
    EXPECT_TRUE(driver.otherBoxes().empty()) << "unexpected box: " << driver.otherBoxes().front();
    if (!driver.dialogs().empty()) dialog_ = driver.dialogs().front();
    EXPECT_TRUE(SameFolder(dialog_.currentDirectory, files))
        << "the dialog left the current directory at " << dialog_.currentDirectory
        << ", so its restoring is not put to the test";
    return result;
  }

  static bool SameFolder(const std::string& a, const std::string& b) {
    return a.size() == b.size() && lstrcmpiA(a.c_str(), b.c_str()) == 0;
  }

  std::unique_ptr<TestWindow> owner_;
  std::unique_ptr<ScratchFolder> scratch_;
  std::string board_;
  EditRequest request_{kUnsetLength, kUnsetLength, nullptr};
  SeenFileDialog dialog_;
};

// ---- Choosing a file ----------------------------------------------------------

struct AppendCase {
  const char* name;
  bool hasBlock;
  const char* text;
  SIZE_T spare;
};

class EditHelperAppendTest : public EditHelperTest, public testing::WithParamInterface<AppendCase> {};

TEST_P(EditHelperAppendTest, AppendsThePathAndALineBreak) {
  const AppendCase& c = GetParam();
  if (c.hasBlock) request_.text = TextBlock(c.text, c.spare);
  EXPECT_EQ(Choose(board_), 1);
  ASSERT_NE(request_.text, nullptr);
  const std::string expected = std::string(c.text) + board_ + "\r\n";
  EXPECT_EQ(TextOf(request_.text), expected);
  EXPECT_GE(GlobalSize(request_.text), expected.size() + 1);
  EXPECT_EQ(request_.length, static_cast<std::int32_t>(expected.size()));
  EXPECT_EQ(request_.lengthAgain, static_cast<std::int32_t>(expected.size()));
  EXPECT_EQ(GlobalFlags(request_.text) & GMEM_LOCKCOUNT, 0u) << "the block was left locked";

  // The dialog as it was set up.
  EXPECT_EQ(dialog_.title, kChooserTitle);
  EXPECT_EQ(dialog_.owner, owner_->hwnd());
  EXPECT_EQ(dialog_.initialName, "");
  EXPECT_EQ(dialog_.filters, (std::vector<std::string>{kTextFiles, kAllFiles}));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EditHelperAppendTest,
    testing::Values(AppendCase{"NoBlockYet", false, "", 0},
                    AppendCase{"AfterALineBreak", true, "memo line\r\n", 0},
                    AppendCase{"JoinsTheLastLine", true, "no break", 0},
                    AppendCase{"EmptyText", true, "", 0},
                    AppendCase{"BlockLargerThanItsText", true, "abc\r\n", 64}),
    [](const testing::TestParamInfo<AppendCase>& info) { return std::string(info.param.name); });

// The dialog returns at most 259 characters; such a path arrives whole.
TEST_F(EditHelperTest, LongestPathIsAppendedWhole) {
  constexpr size_t kLongest = 259;
  constexpr size_t kFolderLength = 235;  // leaves room for a file name
  // Folders of 40 letters while one more leaves room for a last, shorter one.
  std::string relative = std::string(40, 'd');
  while (scratch_->path().size() + 1 + relative.size() + 41 + 2 < kFolderLength)
    relative += "\\" + std::string(40, 'd');
  const size_t used = scratch_->path().size() + 1 + relative.size() + 1;
  ASSERT_LT(used, kFolderLength);
  relative += "\\" + std::string(kFolderLength - used, 'e');
  ASSERT_TRUE(scratch_->MakeFolders(relative));
  const std::string folder = scratch_->Join(relative);
  ASSERT_EQ(folder.size(), kFolderLength);
  const std::string path = folder + "\\" + std::string(kLongest - kFolderLength - 1 - 4, 'f') + ".txt";
  ASSERT_EQ(path.size(), kLongest);
  ASSERT_TRUE(WriteWholeFile(path, "x"));

  request_.text = TextBlock("memo\r\n");
  EXPECT_EQ(Choose(path), 1);
  const std::string expected = "memo\r\n" + path + "\r\n";
  EXPECT_EQ(TextOf(request_.text), expected);
  EXPECT_EQ(request_.length, static_cast<std::int32_t>(expected.size()));
  EXPECT_EQ(request_.lengthAgain, static_cast<std::int32_t>(expected.size()));
}

// ---- Cancelling ------------------------------------------------------------------

TEST_F(EditHelperTest, CancelLeavesTheTextAsItWas) {
  request_.text = TextBlock("memo line\r\nsecond");
  const HGLOBAL given = request_.text;
  const SIZE_T size = GlobalSize(given);
  EXPECT_EQ(Choose(std::nullopt), 2);
  EXPECT_EQ(request_.text, given);
  EXPECT_EQ(GlobalSize(given), size);
  EXPECT_EQ(TextOf(given), "memo line\r\nsecond");
  EXPECT_EQ(request_.length, kUnsetLength);
  EXPECT_EQ(request_.lengthAgain, kUnsetLength);
}

TEST_F(EditHelperTest, CancelWithoutABlockLeavesNone) {
  EXPECT_EQ(Choose(std::nullopt), 2);
  EXPECT_EQ(request_.text, nullptr);
  EXPECT_EQ(request_.length, kUnsetLength);
  EXPECT_EQ(request_.lengthAgain, kUnsetLength);
}

// A block that cannot be locked (zero bytes, discarded) is left exactly as
// it was: nothing is appended and the host hears that nothing changed.
TEST_F(EditHelperTest, BlockThatCannotBeLockedIsLeftAlone) {
  request_.text = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(request_.text, nullptr);
  ASSERT_EQ(GlobalLock(request_.text), nullptr) << "the block unexpectedly locks";
  const HGLOBAL given = request_.text;
  EXPECT_EQ(Choose(board_), 2);
  EXPECT_EQ(request_.text, given);
  EXPECT_EQ(GlobalSize(given), 0u);
  EXPECT_EQ(request_.length, kUnsetLength);
  EXPECT_EQ(request_.lengthAgain, kUnsetLength);
}

}  // namespace
}  // namespace kn::wine
