#include "desk_app.h"

#include <algorithm>

#include "chip_menu.h"
#include "desk_texts.h"
#include "handler_barrier.h"
#include "placement.h"
#include "record_bridge.h"
#include "settings_file.h"
#include "settings_text.h"

namespace kn::desk {
namespace {

constexpr UINT kChipAskMessage = WM_APP + 1;  // wparam: command, lparam: chip id
constexpr UINT kIdleMessage = WM_APP + 2;
constexpr UINT_PTR kSaveTimer = 1;
constexpr UINT kSaveDelayMs = 1000;
constexpr UINT kCommandSaveNow = 40100;

HMENU MainMenu() {
  HMENU chips = CreatePopupMenu();
  AppendMenuW(chips, MF_STRING, kCommandNewChip, Widen(Say(Text::kMenuNewChip)).c_str());
  AppendMenuW(chips, MF_STRING, kCommandSaveNow, Widen(Say(Text::kMainMenuSaveNow)).c_str());
  AppendMenuW(chips, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(chips, MF_STRING, kCommandQuit, Widen(Say(Text::kMainMenuExit)).c_str());
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(chips),
              Widen(Say(Text::kMainMenuChips)).c_str());
  return bar;
}

ScreenRect WorkArea() {
  RECT work{0, 0, 800, 600};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return ScreenRect{work.left, work.top, work.right, work.bottom};
}

}  // namespace

DeskSettings FirstRunSettings() {
  ChipRecord welcome;
  welcome.memo = Say(Text::kFirstRunMemo);
  DeskSettings settings;
  settings.chips.push_back(welcome);
  settings.placeChips = true;
  return settings;
}

DeskApp::DeskApp(const driver::EntryPoints& api, std::wstring settingsPath)
    : api_(api), path_(std::move(settingsPath)) {}

DeskApp::~DeskApp() {
  chips_.clear();  // every chip is freed while the plug-in is still loaded
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

bool DeskApp::Start(const DeskSettings& settings, std::wstring& error) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &DeskApp::WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  wc.lpszClassName = kClassName;
  // Registered once per process, however many times the desk starts in it.
  if ((!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) ||
      !CreateWindowExW(0, kClassName, Widen(Say(Text::kTitle)).c_str(),
                       WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX, CW_USEDEFAULT, CW_USEDEFAULT, 460,
                       170, nullptr, MainMenu(), GetModuleHandleW(nullptr), this)) {
    error = Widen(Say(Text::kCannotCreateMain, {std::to_string(GetLastError())}));
    return false;
  }
  for (const ChipRecord& record : settings.chips) {
    AddChip(record);
    if (settings.placeChips) PlaceFreely(*chips_.back(), record.x, record.y);
  }
  ShowWindow(window_, SW_SHOWNOACTIVATE);
  return true;
}

int DeskApp::Run() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

// The first change since the last save starts the delay; later ones do not
// move it, so a chip that changes every second cannot put the save off.
void DeskApp::ChipChanged() {
  if (!window_) return;
  if (!savePending_) savePending_ = SetTimer(window_, kSaveTimer, kSaveDelayMs, nullptr) != 0;
  InvalidateRect(window_, nullptr, TRUE);
}

void DeskApp::ChipAsks(int chipId, UINT command) {
  PostMessageW(window_, kChipAskMessage, command, chipId);
}

void DeskApp::ChipIdle() {
  if (quitPending_) PostMessageW(window_, kIdleMessage, 0, 0);
}

LRESULT CALLBACK DeskApp::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* app = static_cast<DeskApp*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    app->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
  }
  auto* app = reinterpret_cast<DeskApp*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!app) return DefWindowProcW(window, message, wparam, lparam);
  return HandleWithBarrier(
      window, message, wparam, lparam, [&] { return app->Handle(message, wparam, lparam); },
      [&](const std::string& name, const std::string& what) {
        app->HandlerFailed(Say(Text::kMainWindowFailed, {name, what}));
      });
}

void DeskApp::ChipFailed(int chipId, const std::string& message, const std::string& what) {
  HandlerFailed(Say(Text::kChipWindowFailed, {std::to_string(chipId), message, what}));
}

// What the handler was changing may be half done, so the file keeps the
// last save: saving stops for this run, and the person is told once (the
// main window goes on showing it).
void DeskApp::HandlerFailed(const std::string& what) {
  if (handlerFailed_) return;
  handlerFailed_ = true;
  saveProblem_ = Widen(what);
  if (!window_) return;
  KillTimer(window_, kSaveTimer);
  savePending_ = false;
  InvalidateRect(window_, nullptr, TRUE);
  MessageBoxW(window_, Widen(Say(Text::kHandlerFailed, {what})).c_str(), Widen(Say(Text::kTitle)).c_str(),
              MB_OK | MB_ICONERROR);
}

LRESULT DeskApp::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  HWND window = window_;
  switch (message) {
    case WM_PAINT:
      PaintStatus();
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case kCommandNewChip:
          NewChipNear(0);
          return 0;
        case kCommandSaveNow:
          Save();
          return 0;
        case kCommandQuit:
          Quit();
          return 0;
      }
      break;
    case kChipAskMessage:
      if (wparam == kCommandNewChip) NewChipNear(static_cast<int>(lparam));
      if (wparam == kCommandDeleteChip) DeleteChip(static_cast<int>(lparam));
      if (wparam == kCommandQuit) Quit();
      return 0;
    case kIdleMessage:
      if (quitPending_) Quit();
      return 0;
    case WM_TIMER:
      if (wparam == kSaveTimer) {
        KillTimer(window_, kSaveTimer);
        savePending_ = false;
        Save();
      }
      return 0;
    case WM_CLOSE:
      Quit();
      return 0;
    case WM_ENDSESSION:
      if (wparam) Save();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      window_ = nullptr;
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void DeskApp::AddChip(const ChipRecord& record) {
  auto chip = std::make_unique<ChipView>(api_, *this, record, nextId_++);
  std::string problem;
  if (!chip->Open(problem)) {
    ++unopened_;
    openProblem_ = Widen(problem);
  }
  chips_.push_back(std::move(chip));
  InvalidateRect(window_, nullptr, TRUE);
}

void DeskApp::NewChipNear(int chipId) {
  const ScreenRect area = WorkArea();
  RECT beside{area.left, area.top, area.left, area.top};
  if (ChipView* chip = Find(chipId); chip && chip->window()) GetWindowRect(chip->window(), &beside);
  else if (!chips_.empty() && chips_.back()->window()) GetWindowRect(chips_.back()->window(), &beside);
  ChipRecord record;
  record.memo = Say(Text::kNewChipMemo);
  record.x = beside.left;
  record.y = beside.top;
  NextChipPlace(area, record.x, record.y);
  AddChip(record);
  PlaceFreely(*chips_.back(), beside.left, beside.top);
  ChipChanged();
}

// Moves a chip just made to a place, from the cascade after (x, y), where it
// covers neither the desk window nor another chip.
void DeskApp::PlaceFreely(ChipView& chip, int x, int y) {
  if (!chip.window()) return;
  const auto rectOf = [](HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
  };
  std::vector<ScreenRect> taken = {rectOf(window_)};
  for (const auto& other : chips_) {
    if (other.get() != &chip && other->window()) taken.push_back(rectOf(other->window()));
  }
  const ScreenRect own = rectOf(chip.window());
  FreeChipPlace(WorkArea(), taken, own.right - own.left, own.bottom - own.top, x, y);
  SetWindowPos(chip.window(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DeskApp::DeleteChip(int chipId) {
  ChipView* chip = Find(chipId);
  if (!chip || chip->busy()) return;
  const int answer =
      MessageBoxW(chip->window(), Widen(Say(Text::kDeleteQuestion)).c_str(),
                  Widen(Say(Text::kTitle)).c_str(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
  // The box let other messages through: look the chip up again.
  chip = Find(chipId);
  if (answer != IDYES || !chip || chip->busy()) return;
  chips_.erase(std::find_if(chips_.begin(), chips_.end(),
                            [&](const std::unique_ptr<ChipView>& held) { return held.get() == chip; }));
  ChipChanged();
}

void DeskApp::Quit() {
  if (AnyBusy()) {
    quitPending_ = true;  // once the chip's call returns
    return;
  }
  quitPending_ = false;
  KillTimer(window_, kSaveTimer);
  savePending_ = false;
  Save();
  chips_.clear();
  DestroyWindow(window_);
}

bool DeskApp::Save() {
  if (handlerFailed_) return false;
  DeskSettings settings;
  for (const auto& chip : chips_) settings.chips.push_back(chip->Snapshot());
  std::string text = WriteSettingsText(settings);
  // A clock's tick changes nothing worth keeping: the disk is spared.
  if (text == written_ && saveProblem_.empty()) return true;
  std::wstring error;
  if (ReplaceSettingsFile(path_, text, error)) {
    written_ = std::move(text);
    saveProblem_.clear();
    return true;
  }
  saveProblem_ = error;
  InvalidateRect(window_, nullptr, TRUE);
  if (!saveFailureShown_) {
    saveFailureShown_ = true;  // once: the main window keeps showing it
    MessageBoxW(window_, Widen(Say(Text::kCannotSave, {Narrow(error), Narrow(path_)})).c_str(),
                Widen(Say(Text::kTitle)).c_str(), MB_OK | MB_ICONERROR);
  }
  return false;
}

void DeskApp::PaintStatus() {
  PaintDc paint(window_);
  RECT area{};
  GetClientRect(window_, &area);
  InflateRect(&area, -8, -6);
  const std::size_t count = chips_.size();
  std::string text = Say(Text::kStatusChips, {std::to_string(count)}) + "\n";
  if (unopened_ > 0) {
    text += Say(Text::kStatusUnopened, {std::to_string(unopened_), Narrow(openProblem_)}) + "\n";
  }
  text += Say(Text::kStatusSettings, {Narrow(path_)}) + "\n";
  if (!saveProblem_.empty()) text += Say(Text::kStatusNotSaved, {Narrow(saveProblem_)}) + "\n";
  const std::wstring shown = Widen(text);
  SelectedObject font(paint.get(), GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(paint.get(), TRANSPARENT);
  DrawTextW(paint.get(), shown.c_str(), static_cast<int>(shown.size()), &area,
            DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

ChipView* DeskApp::Find(int chipId) const {
  for (const auto& chip : chips_) {
    if (chip->id() == chipId) return chip.get();
  }
  return nullptr;
}

bool DeskApp::AnyBusy() const {
  return std::any_of(chips_.begin(), chips_.end(),
                     [](const std::unique_ptr<ChipView>& chip) { return chip->busy(); });
}

}  // namespace kn::desk
