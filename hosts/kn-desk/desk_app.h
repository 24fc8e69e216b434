// The desktop host's running program: a small main window (what the chips
// are, where they are saved, a menu for a new chip and for quitting) and the
// chips themselves. Changes are saved a moment after they happen and on
// quitting.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "chip_view.h"
#include "desk_settings.h"
#include "plugin_library.h"

namespace kn::desk {

class DeskApp : public ChipOwner {
 public:
  static constexpr const wchar_t* kClassName = L"KaleidonoteDesk";

  DeskApp(const driver::EntryPoints& api, std::wstring settingsPath);
  ~DeskApp();
  DeskApp(const DeskApp&) = delete;
  DeskApp& operator=(const DeskApp&) = delete;

  // Opens the main window and every chip. On failure says why.
  bool Start(const DeskSettings& settings, std::wstring& error);
  // Runs until the user quits; the program's exit status.
  int Run();

  void ChipChanged() override;
  void ChipAsks(int chipId, UINT command) override;
  void ChipIdle() override;
  void ChipFailed(int chipId, const std::string& message, const std::string& what) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);

  void AddChip(const ChipRecord& record);
  void NewChipNear(int chipId);
  void PlaceFreely(ChipView& chip, int x, int y);
  void DeleteChip(int chipId);
  void Quit();
  bool Save();
  void HandlerFailed(const std::string& what);
  void PaintStatus();
  ChipView* Find(int chipId) const;
  bool AnyBusy() const;

  const driver::EntryPoints& api_;
  std::wstring path_;
  HWND window_ = nullptr;
  std::vector<std::unique_ptr<ChipView>> chips_;
  int nextId_ = 1;
  int unopened_ = 0;  // chips the plug-in could not create; kept for saving
  std::wstring openProblem_;
  std::wstring saveProblem_;
  bool saveFailureShown_ = false;
  bool handlerFailed_ = false;  // nothing is saved after a handler failed
  bool quitPending_ = false;
  bool savePending_ = false;
  std::string written_;  // the text last saved, empty before the first save
};

// The welcome chip of a first start.
DeskSettings FirstRunSettings();

}  // namespace kn::desk
