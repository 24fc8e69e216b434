#include "chip_view.h"

#include <windowsx.h>

#include <algorithm>

#include "chip_answers.h"
#include "chip_menu.h"
#include "desk_texts.h"
#include "handler_barrier.h"
#include "memo_dialog.h"
#include "placement.h"
#include "record_bridge.h"
#include "style_dialogs.h"

namespace kn::desk {
namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT_PTR kFlashTimer = 2;
constexpr UINT kFlashStepMs = 150;
constexpr int kStartSide = 100;
constexpr int kMaxSizingCalls = 4;

// The chip's background at a quarter of its brightness (0xRRGGBB).
std::uint32_t FrameRgb(std::uint32_t backRgb) { return (backRgb >> 2) & 0x3F3F3F; }

}  // namespace

// Marks the chip busy for a scope: its ticks, clicks and menu wait, and
// painting shows the last picture, so that no two calls for one chip
// overlap while a call pumps messages (a message box, a dialog).
class ChipView::BusyScope {
 public:
  explicit BusyScope(ChipView& view) : view_(view) { ++view_.busy_; }
  ~BusyScope() {
    if (--view_.busy_ == 0) view_.owner_.ChipIdle();
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  ChipView& view_;
};

bool ChipView::RegisterWindowClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &ChipView::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  return registered;
}

ChipView::ChipView(const driver::EntryPoints& api, ChipOwner& owner, ChipRecord record, int id)
    : api_(api),
      owner_(owner),
      record_(std::move(record)),
      id_(id),
      saved_(record_.savedBlock),
      press_(GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG)) {}

ChipView::~ChipView() {
  if (window_) {
    KillTimer(window_, kTickTimer);
    KillTimer(window_, kFlashTimer);
  }
  // The chip goes before its window, as it came after it.
  if (chip_) api_.UnInitializeChip(chip_);
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

bool ChipView::Open(std::string& problem) {
  {
    SavedBlock::Pointer block(saved_);
    PluginSettings settings(record_, block.get());
    HLOCAL handle = nullptr;
    const int created = api_.InitializeChip(&handle, 0, settings.get());
    if (created != 0 || !handle) {
      problem = Say(Text::kChipRefused, {std::to_string(created)});
      return false;
    }
    chip_ = handle;
    // A new chip shows its memo even when its saved block turns board mode
    // on; the second Update shows the board.
    api_.Update(chip_, 0, settings.get());
  }
  if (!RegisterWindowClass() ||
      !CreateWindowExW(kExStyle, kClassName, L"Kaleidonote", kStyle, record_.x, record_.y,
                       kStartSide, kStartSide, nullptr, nullptr, GetModuleHandleW(nullptr), this)) {
    problem = Say(Text::kCannotCreateChipWindow, {std::to_string(GetLastError())});
    return false;
  }
  Fit();
  KeepReachableOnScreen();
  ShowWindow(window_, SW_SHOWNOACTIVATE);
  RestartTimer();
  return true;
}

ChipRecord ChipView::Snapshot() {
  if (window_) {
    RECT rect{};
    GetWindowRect(window_, &rect);
    record_.x = std::clamp(static_cast<int>(rect.left), -kMaxCoordinate, kMaxCoordinate);
    record_.y = std::clamp(static_cast<int>(rect.top), -kMaxCoordinate, kMaxCoordinate);
  }
  if (chip_ && !busy()) {
    BusyScope busy(*this);
    if (saved_.Refresh(api_, chip_)) record_.savedBlock = saved_.Bytes();
  }
  return record_;
}

LRESULT CALLBACK ChipView::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* view = static_cast<ChipView*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    view->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
  }
  auto* view = reinterpret_cast<ChipView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!view) return DefWindowProcW(window, message, wparam, lparam);
  return HandleWithBarrier(
      window, message, wparam, lparam, [&] { return view->Handle(message, wparam, lparam); },
      [&](const std::string& name, const std::string& what) {
        view->owner_.ChipFailed(view->id_, name, what);
      });
}

LRESULT ChipView::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  HWND window = window_;  // still valid for DefWindowProc after WM_NCDESTROY
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_NCPAINT:
      PaintFrame();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_MOUSEACTIVATE:
      // A chip takes no keys, so a press leaves the focus where it was. On
      // an X display, taking it mid-press cancelled the drag it started.
      return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
      Press(lparam);
      return 0;
    case WM_MOUSEMOVE:
      Drag(lparam);
      return 0;
    case WM_LBUTTONUP:
      Release(lparam);
      return 0;
    case WM_CAPTURECHANGED:
      press_.Cancel();
      return 0;
    case WM_CONTEXTMENU:
      ShowMenu(lparam);
      return 0;
    case WM_COMMAND:
      if (!busy()) RunCommand(LOWORD(wparam), ChipCommandIds());
      return 0;
    case WM_TIMER:
      if (wparam == kTickTimer) Tick();
      if (wparam == kFlashTimer) FlashStep();
      return 0;
    case WM_SETTINGCHANGE:
      if (wparam == SPI_SETWORKAREA && !busy()) Fit();
      break;
    case WM_DISPLAYCHANGE:
      if (!busy()) Fit();
      break;
    case WM_CLOSE:
      return 0;  // a chip goes only through its Delete command
    case WM_NCDESTROY:
      window_ = nullptr;
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void ChipView::Paint() {
  PaintDc paint(window_);
  RECT client{};
  GetClientRect(window_, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (!busy()) Render(width, height);
  MemoryDc source(CreateCompatibleDC(paint.get()));
  if (!cache_.get() || !source.get()) return;
  SelectedObject picture(source.get(), cache_.get());
  BitBlt(paint.get(), 0, 0, width, height, source.get(), 0, 0,
         flash_.inverted() ? NOTSRCCOPY : SRCCOPY);
}

// The one-pixel frame in a dark shade of the chip's own background. The
// system's grey frame sat right beside the grey half of the scroll-mode
// bevel and hid it; against a dark frame both halves of the bevel show.
void ChipView::PaintFrame() {
  WholeWindowDc dc(window_);
  if (!dc.get()) return;
  RECT frame{};
  GetWindowRect(window_, &frame);
  OffsetRect(&frame, -frame.left, -frame.top);
  GdiObject<HBRUSH> brush(CreateSolidBrush(ToColorRef(FrameRgb(record_.backRgb))));
  FrameRect(dc.get(), &frame, brush.get());
}

void ChipView::Render(int width, int height) {
  if (width <= 0 || height <= 0) return;
  WindowDc screen(window_);
  if (!cache_.get() || cacheSize_.cx != width || cacheSize_.cy != height) {
    cache_.reset(CreateCompatibleBitmap(screen.get(), width, height));
    cacheSize_ = SIZE{width, height};
  }
  MemoryDc canvas(CreateCompatibleDC(screen.get()));
  if (!cache_.get() || !canvas.get()) return;
  SelectedObject picture(canvas.get(), cache_.get());
  // The chip's background, should the chip not paint at all.
  GdiObject<HBRUSH> back(CreateSolidBrush(ToColorRef(record_.backRgb)));
  RECT all{0, 0, width, height};
  FillRect(canvas.get(), &all, back.get());
  if (chip_) {
    BusyScope busy(*this);
    api_.DrawChip(chip_, window_, canvas.get());
  }
}

ScreenPoint ChipView::ScreenOf(LPARAM lparam) const {
  POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  ClientToScreen(window_, &point);
  return ScreenPoint{point.x, point.y};
}

ScreenPoint ChipView::Origin() const {
  RECT rect{};
  GetWindowRect(window_, &rect);
  return ScreenPoint{rect.left, rect.top};
}

void ChipView::MoveTo(ScreenPoint origin) {
  SetWindowPos(window_, nullptr, origin.x, origin.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ChipView::Press(LPARAM lparam) {
  if (busy()) return;
  press_.Press(ScreenOf(lparam), Origin());
  SetCapture(window_);
}

void ChipView::Drag(LPARAM lparam) {
  ScreenPoint origin;
  if (press_.pressed() && press_.Move(ScreenOf(lparam), origin)) MoveTo(origin);
}

void ChipView::Release(LPARAM lparam) {
  if (!press_.pressed()) return;
  ScreenPoint origin;
  const PressTracker::Outcome outcome = press_.Release(ScreenOf(lparam), origin);
  ReleaseCapture();
  if (outcome == PressTracker::Outcome::kDragged) {
    MoveTo(origin);
    owner_.ChipChanged();
  } else if (outcome == PressTracker::Outcome::kClick) {
    Click(POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
  }
}

// The chip reads the keyboard itself while this message is handled, so it
// sees the keys as they were at the click.
void ChipView::Click(POINT client) {
  if (!chip_ || busy()) return;
  int answer = 0;
  {
    BusyScope busy(*this);
    saved_.Refresh(api_, chip_);
    const DisplayModes before = saved_.Modes();
    ClickPoint point{client.x, client.y};
    answer = api_.MouseClik(chip_, window_, &point);
    if (answer != 0 && saved_.Refresh(api_, chip_)) {
      answer = ClickAnswer(answer, before, saved_.Modes());
    }
  }
  React(answer);
  if (answer != 0) owner_.ChipChanged();
}

void ChipView::ShowMenu(LPARAM lparam) {
  if (busy()) return;
  POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  if (at.x == -1 && at.y == -1) {  // from the keyboard: the chip's corner
    const ScreenPoint origin = Origin();
    at = POINT{origin.x, origin.y};
  }
  HMENU chipMenu = nullptr;
  if (chip_) {
    BusyScope busy(*this);
    chipMenu = static_cast<HMENU>(api_.GetDrawExMenu(chip_));
  }
  const ChipMenu menu = BuildChipMenu(chipMenu, record_.zoomed);
  SetForegroundWindow(window_);
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(
      menu.menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window_, nullptr));
  PostMessageW(window_, WM_NULL, 0, 0);  // lets the menu close when the chip loses the focus
  if (chosen != 0) RunCommand(chosen, menu.chipIds);
}

std::set<UINT> ChipView::ChipCommandIds() {
  if (!chip_) return {};
  HMENU chipMenu = nullptr;
  {
    BusyScope busy(*this);
    chipMenu = static_cast<HMENU>(api_.GetDrawExMenu(chip_));
  }
  const OwnedMenu menu(chipMenu && IsMenu(chipMenu) ? chipMenu : nullptr);
  return CommandIds(menu.get());
}

void ChipView::RunCommand(UINT id, const std::set<UINT>& chipIds) {
  if (chip_ && chipIds.count(id) != 0) {
    int answer = 0;
    {
      BusyScope busy(*this);
      answer = api_.DoDrawExMenu(chip_, window_, id);
    }
    React(answer);
    RestartTimer();  // the command may have chosen another interval
    owner_.ChipChanged();
  } else if (IsHostCommand(id)) {
    RunHostCommand(id);
  }
}

void ChipView::RunHostCommand(UINT id) {
  bool changed = false;
  switch (id) {
    case kCommandEditMemo: {
      BusyScope busy(*this);
      changed = EditMemoWithPreview();
      break;
    }
    case kCommandTextColor: {
      BusyScope busy(*this);
      changed = ChooseChipColor(window_, record_.textRgb);
      break;
    }
    case kCommandBackColor: {
      BusyScope busy(*this);
      changed = ChooseChipColor(window_, record_.backRgb);
      break;
    }
    case kCommandFont: {
      BusyScope busy(*this);
      changed = ChooseChipFont(window_, record_.font, record_.textRgb);
      break;
    }
    case kCommandZoom: {
      record_.zoomed = !record_.zoomed;
      int answer = 0;
      if (chip_) {
        BusyScope busy(*this);
        answer = api_.Zoom(chip_, 0, record_.zoomed ? 1 : 0);
      }
      React(answer);
      owner_.ChipChanged();
      return;
    }
    default:
      owner_.ChipAsks(id_, id);
      return;
  }
  if (!changed) return;
  ApplyRecord();
  owner_.ChipChanged();
}

void ChipView::Tick() {
  if (!chip_ || busy()) return;
  int answer = 0;
  {
    BusyScope busy(*this);
    answer = api_.DoTimer(chip_);
  }
  React(answer);
  if (answer != 0) owner_.ChipChanged();  // a board re-read moves the last check
}

void ChipView::FlashStep() {
  if (!flash_.Step()) KillTimer(window_, kFlashTimer);
  InvalidateRect(window_, nullptr, FALSE);
}

void ChipView::React(int answer) {
  const ChipReaction reaction = ReactionTo(answer);
  if (reaction.refit) Fit();
  if (reaction.flash) {
    flash_.Start();
    SetTimer(window_, kFlashTimer, kFlashStepMs, nullptr);
  }
  if (reaction.repaint) InvalidateRect(window_, nullptr, FALSE);
}

// The editor's memo shows on the chip while the editor is open. Cancel
// hands the chip its memo and block as they were and puts the window back at
// its size; OK keeps the edited memo.
bool ChipView::EditMemoWithPreview() {
  if (chip_) saved_.Refresh(api_, chip_);
  const SavedBlock before(saved_.Bytes());
  RECT rect{};
  GetWindowRect(window_, &rect);
  struct Preview final : MemoPreview {
    Preview(ChipView& chipView, const SavedBlock& before) : view(chipView), block(before) {}
    void Show(const std::string& memo) override {
      view.ShowMemo(memo, block);
      shown = true;
    }
    ChipView& view;
    const SavedBlock& block;
    bool shown = false;
  } preview(*this, before);
  std::string memo = record_.memo;
  const bool kept = EditMemo(window_, api_, EditedChip{record_.font, record_.textRgb, &preview}, memo);
  if (kept && memo != record_.memo) {
    record_.memo = memo;
    return true;
  }
  if (preview.shown) {
    ShowMemo(record_.memo, before);
    SetWindowPos(window_, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RenderNow();
  }
  return false;
}

// Hands the chip a memo with a given block, measures it and paints it at
// once: the paints that follow show the picture even while the chip is busy.
void ChipView::ShowMemo(const std::string& memo, const SavedBlock& block) {
  if (!chip_) return;
  ChipRecord shown = record_;
  shown.memo = memo;
  {
    BusyScope busy(*this);
    SavedBlock::Pointer pointer(block);
    PluginSettings settings(shown, pointer.get());
    api_.Update(chip_, 0, settings.get());
  }
  Fit();
  RenderNow();
}

void ChipView::RenderNow() {
  RECT client{};
  GetClientRect(window_, &client);
  Render(client.right - client.left, client.bottom - client.top);
  InvalidateRect(window_, nullptr, FALSE);
}

// Hands the chip its record again. The chip's latest block goes with it, so
// that its modes are not set back to an older block's.
void ChipView::ApplyRecord() {
  if (!chip_) return;
  {
    BusyScope busy(*this);
    saved_.Refresh(api_, chip_);
    SavedBlock::Pointer block(saved_);
    PluginSettings settings(record_, block.get());
    api_.Update(chip_, 0, settings.get());
  }
  Fit();
  InvalidateRect(window_, nullptr, FALSE);
}

void ChipView::Fit() {
  if (!chip_ || !window_) return;
  for (int call = 0; call < kMaxSizingCalls; ++call) {
    RECT rect{};
    GetWindowRect(window_, &rect);
    const WindowSize current{rect.right - rect.left, rect.bottom - rect.top};
    int size[2] = {current.width, current.height};
    {
      BusyScope busy(*this);
      api_.CalcDefaultRect(chip_, window_, size);
    }
    // The sizes decide, not the answer: an answer that disagrees with them
    // cannot make the window flicker between two sizes.
    const WindowSize wanted = UsableSize(WindowSize{size[0], size[1]}, current);
    if (wanted == current) return;
    SetWindowPos(window_, nullptr, 0, 0, wanted.width, wanted.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void ChipView::KeepReachableOnScreen() {
  RECT rect{};
  GetWindowRect(window_, &rect);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const ScreenRect area{monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right,
                        monitor.rcWork.bottom};
  int x = rect.left;
  int y = rect.top;
  KeepReachable(area, rect.right - rect.left, rect.bottom - rect.top, x, y);
  if (x != rect.left || y != rect.top) MoveTo(ScreenPoint{x, y});
}

void ChipView::RestartTimer() {
  if (!chip_ || !window_) return;
  int ticks = 0;
  {
    BusyScope busy(*this);
    ticks = api_.GetTimerSpan(chip_);
  }
  const unsigned period = TimerPeriodMs(ticks);
  if (period == periodMs_) return;
  periodMs_ = period;
  SetTimer(window_, kTickTimer, period, nullptr);
}

}  // namespace kn::desk
