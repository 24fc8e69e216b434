// The entry points the host calls. Each one locks what it needs for its own
// duration, and no exception ever leaves it: a failure yields the entry
// point's neutral result.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/desktop_win32.h"
#include "platform/file_system_win32.h"
#include "platform/gdi_raii_win32.h"
#include "platform/gdi_text_surface_win32.h"
#include "platform/local_memory_win32.h"
#include "platform/system_clock.h"
#include "platform/system_cp932_encoder.h"
#include "plugin/chip_logic.h"
#include "plugin/chip_text.h"
#include "plugin/click_logic.h"
#include "plugin/command_ids.h"
#include "plugin/host_texts.h"
#include "plugin/menu_win32.h"
#include "plugin/save_block.h"
#include "plugin/chooser_win32.h"
#include "render/layout_walks.h"

// Exported through kaleidonote.def under both plain and underscore names.
#define KN_EXPORT extern "C"

namespace kn {
namespace {

// The services every call works with; none holds state between calls.
struct Services {
  LocalMemory memory;
  SystemClock clock;
  Win32FileSystem files;
  SystemCp932Encoder encoder;
  ChipEnv env{memory, clock, files, &encoder};
};

// The host's settings record, read at its fixed offsets.
ChipSettingsView ReadSettings(const void* settings) {
  const auto* bytes = static_cast<const unsigned char*>(settings);
  ChipSettingsView view{};
  std::memcpy(&view.memo, bytes + 72, 4);
  std::memcpy(&view.textColor, bytes + 76, 4);
  std::memcpy(&view.backColor, bytes + 80, 4);
  std::memcpy(&view.font, bytes + 84, sizeof view.font);
  std::memcpy(&view.zoomed, bytes + 144, 4);
  std::memcpy(&view.saveData, bytes + 148, 4);
  return view;
}
static_assert(sizeof(void*) == 4, "the host's records hold 32-bit pointers");

Rect FrameInset(const RECT& client) {
  const int cx = GetSystemMetrics(SM_CXFRAME);
  const int cy = GetSystemMetrics(SM_CYFRAME);
  return {client.left + cx, client.top + cy, client.right - cx, client.bottom - cy};
}

void DrawScrollBevel(HDC dc, const RECT& r) {
  GdiObject<HPEN> light(CreatePen(PS_SOLID, 2, GetSysColor(COLOR_BTNHIGHLIGHT)));
  GdiObject<HPEN> shadow(CreatePen(PS_SOLID, 2, GetSysColor(COLOR_BTNSHADOW)));
  SelectedObject pen(dc, light.get());
  MoveToEx(dc, r.right, r.top, nullptr);
  LineTo(dc, r.left, r.top);
  LineTo(dc, r.left, r.bottom);
  SelectObject(dc, shadow.get());
  LineTo(dc, r.right, r.bottom);
  LineTo(dc, r.right, r.top);
}

int PaintChip(ChipState& state, MovableMemory& memory, const Clock& clock, HWND window, HDC dc) {
  RECT client{};
  GetClientRect(window, &client);
  SavedDcState saved(dc);
  {
    GdiObject<HBRUSH> brush(CreateSolidBrush(state.backColor));
    FillRect(dc, &client, brush.get());
  }
  if (state.scrollMode != 0) DrawScrollBevel(dc, client);
  const TextLock text(memory, state.displayText, state.displayLength);
  if (!text.ok()) return 0;
  SetBkMode(dc, TRANSPARENT);
  GdiTextSurface surface(dc);
  const LineContext context{state.baseFont, state.textColor, &clock};
  const DrawOutcome outcome = DrawLines(text.view(), state.firstLine, FrameInset(client), context,
                                        LinkColorFor(state.linkColor), surface);
  state.lastLine = outcome.lastLine;
  state.linesDrawn = outcome.linesDrawn;
  return 0;
}

int ProposeSize(const ChipState& state, MovableMemory& memory, const Clock& clock, HWND window,
                int* size) {
  const TextLock text(memory, state.displayText, state.displayLength);
  if (!text.ok()) return 1;
  const int width = size[0];
  const int height = size[1];
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int halfWidth = (work.right - work.left) / 2;
  const int workHeight = work.bottom - work.top;
  MeasuredSize measured{};
  {
    WindowDc dc(window);
    GdiTextSurface surface(dc.get());
    const LineContext context{state.baseFont, state.textColor, &clock};
    measured = MeasureLines(text.view(), state.firstLine, halfWidth, workHeight, context, surface);
  }
  RECT outer{0, 0, std::min(measured.maxWidth, halfWidth) + 2 * GetSystemMetrics(SM_CXFRAME),
             std::min(measured.totalHeight, workHeight) + 2 * GetSystemMetrics(SM_CYFRAME)};
  AdjustWindowRectEx(&outer, WS_POPUP | WS_VISIBLE | WS_BORDER, FALSE, WS_EX_TOOLWINDOW);
  size[0] = outer.right - outer.left;
  size[1] = outer.bottom - outer.top;
  return (size[0] != width || size[1] != height) ? 0 : 1;
}

void ShowAbout(HWND owner) { MessageBoxA(owner, kAboutText, kAboutCaption, MB_OK | MB_ICONINFORMATION); }

}  // namespace
}  // namespace kn

using namespace kn;

KN_EXPORT int DrawExSpecification(void* record) {
  if (!record) return 0;
  auto* bytes = static_cast<unsigned char*>(record);
  const std::int32_t values[] = {256, 256, 141, 2, 126};
  std::memcpy(bytes + 0, &values[0], 4);
  std::memcpy(bytes + 4, &values[1], 4);
  std::memcpy(bytes + 8, kChipTitle, sizeof kChipTitle);  // fits the 52 bytes
  std::memcpy(bytes + 60, &values[2], 4);
  std::memcpy(bytes + 64, &values[3], 4);
  std::memcpy(bytes + 68, &values[4], 4);
  return 0;
}
static_assert(sizeof(kn::kChipTitle) <= 52, "title fits its field");

KN_EXPORT int DrawExConfigure(HWND owner) {
  MessageBoxA(owner, kConfigureText, kChipTitle, MB_OK | MB_ICONINFORMATION);
  return 0;
}

KN_EXPORT int DrawExAbout(HWND owner) {
  ShowAbout(owner);
  return 0;
}

KN_EXPORT int InitializeChip(HLOCAL* out, int /*value*/, const void* settings) {
  try {
    Services services;
    HLOCAL chip = nullptr;
    if (settings) {
      chip = static_cast<HLOCAL>(CreateChip(services.env, ReadSettings(settings)));
    }
    if (out) *out = chip;
    return chip ? 0 : 1;
  } catch (...) {
    return 1;
  }
}

KN_EXPORT int UnInitializeChip(HLOCAL chip) {
  try {
    Services services;
    DestroyChip(services.env, chip);
  } catch (...) {
  }
  return 0;
}

KN_EXPORT int CalcDefaultRect(HLOCAL chip, HWND window, int* size) {
  try {
    if (!size) return 1;
    Services services;
    BlockLock lock(services.memory, chip);
    if (!lock) return 1;
    return ProposeSize(*lock.as<ChipState>(), services.memory, services.clock, window, size);
  } catch (...) {
    return 1;
  }
}

KN_EXPORT int DrawChip(HLOCAL chip, HWND window, HDC dc) {
  try {
    Services services;
    BlockLock lock(services.memory, chip);
    if (!lock) return 1;
    return PaintChip(*lock.as<ChipState>(), services.memory, services.clock, window, dc);
  } catch (...) {
    return 1;
  }
}

KN_EXPORT int MouseClik(HLOCAL chip, HWND window, POINT* point) {
  try {
    const KeyState keys = ReadKeyState();
    if (!point) return 0;
    RECT client{};
    GetClientRect(window, &client);
    const ClickGeometry where{{client.left, client.top, client.right, client.bottom},
                              FrameInset(client), point->x, point->y};
    Services services;
    Win32Desktop desktop(window);
    return ClickChip(services.env, chip, keys, where, desktop);
  } catch (...) {
    return 0;
  }
}

KN_EXPORT int Resize() { return 1; }
KN_EXPORT int ExchangeSendString() { return 0; }
KN_EXPORT int GetMemoString() { return 0; }

KN_EXPORT int Zoom(HLOCAL chip, int /*value*/, int flag) {
  try {
    Services services;
    return ZoomChip(services.env, chip, flag);
  } catch (...) {
    return 0;
  }
}

KN_EXPORT int Update(HLOCAL chip, int /*value*/, const void* settings) {
  try {
    if (!settings) return 1;
    Services services;
    UpdateChip(services.env, chip, ReadSettings(settings));
  } catch (...) {
  }
  return 1;
}

KN_EXPORT HMENU GetDrawExMenu(HLOCAL chip) {
  try {
    Services services;
    BlockLock lock(services.memory, chip);
    return BuildChipMenu(lock ? lock.as<ChipState>() : nullptr);
  } catch (...) {
    return nullptr;
  }
}

KN_EXPORT int DoDrawExMenu(HLOCAL chip, HWND window, unsigned id) {
  try {
    Services services;
    const MenuOutcome outcome = ApplyMenuCommand(services.env, chip, id);
    if (outcome.showAbout) ShowAbout(window);
    return outcome.result;
  } catch (...) {
    return 0;
  }
}

KN_EXPORT int EditHelper(HWND owner, EditRequest* request) {
  try {
    return ChooseBoardFile(owner, request);
  } catch (...) {
    return 2;
  }
}

KN_EXPORT int GetSaveData(HLOCAL chip, int /*value*/, HGLOBAL* handle) {
  try {
    std::uint8_t block[kSaveBlockSize];
    {
      Services services;
      BlockLock lock(services.memory, chip);
      PackSaveBlock(lock ? lock.as<ChipState>() : nullptr, block);
    }
    if (!handle) return 0;
    HGLOBAL resized = GlobalReAlloc(*handle, kSaveBlockSize, GMEM_MOVEABLE | GMEM_NOCOMPACT);
    if (!resized) return 0;
    *handle = resized;
    GlobalLockGuard lock(resized);
    if (!lock.get()) return 0;
    std::memcpy(lock.get(), block, sizeof block);
    return 1;
  } catch (...) {
    return 0;
  }
}

KN_EXPORT int GetTimerSpan(HLOCAL chip) {
  try {
    Services services;
    return GetChipTimerSpan(services.env, chip);
  } catch (...) {
    return TimerPeriodOf(IDM_INTERVAL_1MIN);
  }
}

KN_EXPORT int DoTimer(HLOCAL chip) {
  try {
    Services services;
    return RunTimerStep(services.env, chip);
  } catch (...) {
    return 0;
  }
}
