// One chip on the desktop: the chip made by the plug-in and the borderless
// tool window that shows it. The window is sized by CalcDefaultRect, painted
// by DrawChip, dragged by the mouse, and passes clicks, menu commands, ticks
// and zoom on to the chip.
#pragma once

#include <windows.h>

#include <set>
#include <string>

#include "desk_settings.h"
#include "flash_sequence.h"
#include "plugin_library.h"
#include "press_tracker.h"
#include "saved_block.h"
#include "platform/win32_owners.h"

namespace kn::desk {

// What a chip needs from the program that holds it.
class ChipOwner {
 public:
  // Something worth saving changed.
  virtual void ChipChanged() = 0;
  // A host command that concerns more than this chip (a new chip, deleting
  // this one, quitting); the owner carries it out later, never inside the
  // chip's own handlers.
  virtual void ChipAsks(int chipId, UINT command) = 0;
  // A call into the plug-in (or a dialog) that held this chip has returned.
  virtual void ChipIdle() = 0;
  // A handler of this chip's window did not return: `message` names what
  // it was handling, `what` why it failed.
  virtual void ChipFailed(int chipId, const std::string& message, const std::string& what) = 0;

 protected:
  ~ChipOwner() = default;
};

class ChipView {
 public:
  static constexpr const wchar_t* kClassName = L"KaleidonoteDeskChip";
  // The window styles the chip's proposed size assumes.
  static constexpr DWORD kStyle = WS_POPUP | WS_BORDER;
  static constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

  // Registers the window class once per process; false when that failed.
  static bool RegisterWindowClass();

  ChipView(const driver::EntryPoints& api, ChipOwner& owner, ChipRecord record, int id);
  ~ChipView();
  ChipView(const ChipView&) = delete;
  ChipView& operator=(const ChipView&) = delete;

  // Creates the chip and shows its window. On failure says why; the record
  // is kept all the same, so that saving never loses a chip.
  bool Open(std::string& problem);

  // The record as it stands now: the window's place and the chip's latest
  // saved block.
  ChipRecord Snapshot();

  int id() const { return id_; }
  HWND window() const { return window_; }
  bool shown() const { return chip_ && window_; }
  // A call into the plug-in or a modal dialog for this chip is under way.
  bool busy() const { return busy_ > 0; }

 private:
  class BusyScope;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);

  void Paint();
  void PaintFrame();
  void Render(int width, int height);
  void Press(LPARAM lparam);
  void Drag(LPARAM lparam);
  void Release(LPARAM lparam);
  void Click(POINT client);
  void ShowMenu(LPARAM lparam);
  void RunCommand(UINT id, const std::set<UINT>& chipIds);
  void RunHostCommand(UINT id);
  void Tick();
  void FlashStep();
  void React(int answer);
  void ApplyRecord();
  bool EditMemoWithPreview();
  void ShowMemo(const std::string& memo, const SavedBlock& block);
  void RenderNow();
  void Fit();
  void KeepReachableOnScreen();
  void RestartTimer();
  std::set<UINT> ChipCommandIds();
  ScreenPoint ScreenOf(LPARAM lparam) const;
  ScreenPoint Origin() const;
  void MoveTo(ScreenPoint origin);

  const driver::EntryPoints& api_;
  ChipOwner& owner_;
  ChipRecord record_;
  int id_;
  HLOCAL chip_ = nullptr;
  HWND window_ = nullptr;
  SavedBlock saved_;
  PressTracker press_;
  FlashSequence flash_;
  unsigned periodMs_ = 0;
  int busy_ = 0;
  GdiObject<HBITMAP> cache_;  // the chip as it last painted itself
  SIZE cacheSize_{};
};

}  // namespace kn::desk
