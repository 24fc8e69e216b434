// The desk against a stand-in plug-in that can be made to throw: a handler
// of the main window or of a chip that fails ends at its window procedure,
// the person is told what failed, the windows go on dispatching and the
// settings file keeps what was last saved, never a state the failed handler
// may have left half changed.
#include "desk_app.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <utility>
#include <string>
#include <vector>

#include "desk_texts.h"
#include "wine/harness/message_box_capture.h"
#include "wine/harness/scratch_folder.h"

namespace kn::desk {
namespace {

struct Stand {
  bool saveThrows = false;
  bool tickThrows = false;
  int saves = 0;
};
Stand g_stand;

HLOCAL const kChip = reinterpret_cast<HLOCAL>(0x4250);

int __cdecl StandInitialize(ChipHandle* chip, int, const ChipSettings*) { return *chip = kChip, 0; }
int __cdecl StandFree(HLOCAL) { return 0; }
int __cdecl StandUpdate(ChipHandle, int, const ChipSettings*) { return 1; }
int __cdecl StandSize(ChipHandle, WindowHandle, int* size) {
  const bool same = size[0] == 120 && size[1] == 60;
  size[0] = 120;
  size[1] = 60;
  return same ? 1 : 0;
}
int __cdecl StandDraw(ChipHandle, WindowHandle, DcHandle) { return 0; }
int __cdecl StandSpan(HLOCAL) { return 1200; }
int __cdecl StandTimer(HLOCAL) {
  if (g_stand.tickThrows) throw std::runtime_error("tick refused");
  return 0;
}
// A block whose bytes change with every save, so that each save is news.
int __cdecl StandSave(ChipHandle, int, GlobalHandle* block) {
  if (g_stand.saveThrows) throw std::runtime_error("save refused");
  HGLOBAL grown = GlobalReAlloc(*block, 68, GMEM_MOVEABLE);
  if (!grown) return 0;
  *block = grown;
  auto* bytes = static_cast<std::uint8_t*>(GlobalLock(grown));
  std::memset(bytes, 0, 68);
  bytes[0] = 60;
  bytes[4] = static_cast<std::uint8_t>(++g_stand.saves);
  GlobalUnlock(grown);
  return 1;
}

driver::EntryPoints StandApi() {
  driver::EntryPoints api;
  api.InitializeChip = &StandInitialize;
  api.UnInitializeChip = &StandFree;
  api.Update = &StandUpdate;
  api.CalcDefaultRect = &StandSize;
  api.DrawChip = &StandDraw;
  api.GetTimerSpan = &StandSpan;
  api.DoTimer = &StandTimer;
  api.GetSaveData = &StandSave;
  return api;
}

struct WindowSearch {
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK CheckClass(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (lstrcmpW(name, search->className) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

// This thread's first window of a class: windows of other programs under
// the same Wine server may share the class name.
HWND ThreadWindowOf(const wchar_t* className) {
  WindowSearch search{className, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), &CheckClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A desk with one chip, saving to its own file.
class RunningDesk {
 public:
  explicit RunningDesk(std::string path)
      : path_(std::move(path)), app_(api_, std::wstring(path_.begin(), path_.end())) {
    ChipRecord record;
    record.memo = "memo";
    record.x = 40;
    record.y = 50;
    DeskSettings settings;
    settings.chips.push_back(record);
    std::wstring error;
    started_ = app_.Start(settings, error);
    main_ = ThreadWindowOf(DeskApp::kClassName);
    chip_ = ThreadWindowOf(ChipView::kClassName);
  }
  ~RunningDesk() {
    // Quitting posts WM_QUIT; it must not end a later test's message loop.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
  RunningDesk(const RunningDesk&) = delete;
  RunningDesk& operator=(const RunningDesk&) = delete;

  bool started() const { return started_ && main_ && chip_; }
  HWND main() const { return main_; }
  HWND chip() const { return chip_; }
  std::string Saved() const { return wine::ReadWholeFile(path_).value_or("(none)"); }
  bool TemporaryLeft() const {
    return GetFileAttributesA((path_ + ".new").c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  void SaveNow() const { SendMessageW(main_, WM_ENDSESSION, TRUE, 0); }

 private:
  std::string path_;
  driver::EntryPoints api_ = StandApi();
  DeskApp app_;
  bool started_ = false;
  HWND main_ = nullptr;
  HWND chip_ = nullptr;
};

// Sends the message with the message boxes it shows captured.
std::vector<wine::CapturedBox> SendCapturingBoxes(HWND window, UINT message, WPARAM wparam) {
  wine::MessageBoxCapture boxes;
  EXPECT_TRUE(boxes.installed());
  EXPECT_EQ(SendMessageW(window, message, wparam, 0), 0) << "the default handling answers";
  return boxes.boxes();
}

struct FailureCase {
  const char* name;
  bool inMainWindow;  // else in the chip's window
  bool Stand::*thrower;
  UINT message;
  WPARAM wparam;
  const char* told;
};

TEST(DeskAppBarrier, AFailedHandlerIsShownOnceAndTheFileKeepsTheLastSave) {
  const DeskLanguage language = CurrentDeskLanguage();
  UseDeskLanguage(DeskLanguage::kEnglish);
  wine::ScratchFolder folder("desk_barrier");
  ASSERT_TRUE(folder.ok());
  const FailureCase cases[] = {
      {"main", true, &Stand::saveThrows, WM_ENDSESSION, TRUE,
       "The main window failed to handle WM_ENDSESSION: save refused"},
      {"chip", false, &Stand::tickThrows, WM_TIMER, 1, "Chip 1 failed to handle WM_TIMER: tick refused"},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    g_stand = Stand{};
    RunningDesk desk(folder.Join(std::string(c.name) + ".txt"));
    ASSERT_TRUE(desk.started());
    desk.SaveNow();
    const std::string firstSave = desk.Saved();
    ASSERT_NE(firstSave.find("memo"), std::string::npos) << firstSave;
    desk.SaveNow();
    const std::string kept = desk.Saved();
    ASSERT_NE(kept, firstSave) << "each save writes the chip's new block";

    g_stand.*c.thrower = true;
    const std::vector<wine::CapturedBox> boxes =
        SendCapturingBoxes(c.inMainWindow ? desk.main() : desk.chip(), c.message, c.wparam);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, desk.main());
    EXPECT_NE(boxes[0].text.find(c.told), std::string::npos) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find("not saved"), std::string::npos) << boxes[0].text;
    EXPECT_EQ(desk.Saved(), kept);
    EXPECT_FALSE(desk.TemporaryLeft());

    // Both windows go on dispatching; only the first failure is shown.
    g_stand.saveThrows = true;
    g_stand.tickThrows = true;
    EXPECT_TRUE(SendCapturingBoxes(desk.chip(), WM_TIMER, 1).empty());
    g_stand.saveThrows = false;
    g_stand.tickThrows = false;
    desk.SaveNow();
    EXPECT_EQ(g_stand.saves, 2) << "a snapshot was taken for saving after the failure";
    EXPECT_EQ(desk.Saved(), kept);
    SendMessageW(desk.main(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(desk.main())) << "quitting still works";
    EXPECT_EQ(desk.Saved(), kept) << "quitting saved what the failure may have left";
  }
  UseDeskLanguage(language);
}

}  // namespace
}  // namespace kn::desk
