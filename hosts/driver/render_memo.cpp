#include "render_memo.h"

#include "chip_window.h"
#include "dib_canvas.h"
#include "plugin_library.h"
#include "scoped_chip.h"

namespace kn::driver {
namespace {

constexpr int kMaxSide = 16384;

std::string Utf8Of(const std::wstring& wide) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                    nullptr);
  std::string text(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
  if (n > 0) {
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &text[0], n, nullptr, nullptr);
  }
  return text;
}

// Asks the chip for its size until it accepts the window's size.
bool SizeWindow(const EntryPoints& api, ChipHandle chip, ChipWindow& window, RenderResult& result,
                std::string& error) {
  for (int call = 1; call <= kMaxSizingCalls; ++call) {
    const SIZE current = window.OuterSize();
    int size[2] = {current.cx, current.cy};
    const int accepted = api.CalcDefaultRect(chip, window.hwnd(), size);
    result.sizingCalls = call;
    if (size[0] < 1 || size[1] < 1 || size[0] > kMaxSide || size[1] > kMaxSide) {
      error = "CalcDefaultRect proposed an unusable size " + std::to_string(size[0]) + "x" +
              std::to_string(size[1]);
      return false;
    }
    if (accepted == kSizeAccepted) {
      result.sizeSettled = true;
      return true;
    }
    if (!window.Resize(size[0], size[1])) {
      error = "cannot resize the window (error " + std::to_string(GetLastError()) + ")";
      return false;
    }
  }
  return true;
}

bool Paint(const EntryPoints& api, ChipHandle chip, const ChipWindow& window, Picture& picture,
           std::string& error) {
  const RECT client = window.ClientRect();
  DibCanvas canvas(client);
  if (!canvas.ok()) {
    error = "cannot make a canvas of the client size " + std::to_string(client.right) + "x" +
            std::to_string(client.bottom);
    return false;
  }
  const int painted = api.DrawChip(chip, window.hwnd(), canvas.dc());
  if (painted != 0) {
    error = "DrawChip failed (returned " + std::to_string(painted) + ")";
    return false;
  }
  picture = canvas.Snapshot();
  return true;
}

bool RenderWith(const EntryPoints& api, const RenderRequest& request, RenderResult& result,
                std::string& error) {
  HostSettings settings;
  settings.Memo(request.memo).TextColor(request.textColor).BackColor(request.backColor).Font(request.font);
  if (request.modes) settings.WithModes(*request.modes);
  ScopedChip chip(api, settings.record());
  if (!chip.ok()) {
    error = "InitializeChip failed (returned " + std::to_string(chip.initResult()) + ")";
    return false;
  }
  // A fresh chip shows its memo until an Update: a board needs one more.
  if (request.modes && request.modes->boardMode != 0) chip.Update(settings.record());

  const SIZE start = request.outerSize.value_or(SIZE{kStartSide, kStartSide});
  ChipWindow window(start.cx, start.cy);
  if (!window.ok()) {
    error = "cannot create the chip window (error " + std::to_string(window.createError()) + ")";
    return false;
  }
  if (request.outerSize) {
    result.sizeSettled = true;
  } else if (!SizeWindow(api, chip.get(), window, result, error)) {
    return false;
  }
  result.outerSize = window.OuterSize();
  if (!Paint(api, chip.get(), window, result.picture, error)) return false;
  chip.Free();  // the host frees the chip before its window goes
  return true;
}

}  // namespace

bool RenderMemo(const RenderRequest& request, RenderResult& result, std::string& error) {
  result = RenderResult{};
  PluginLibrary library(request.dllPath);
  if (!library.ready()) {
    error = Utf8Of(library.path()) + ": " + library.error();
    return false;
  }
  return RenderWith(library.api(), request, result, error);
}

}  // namespace kn::driver
