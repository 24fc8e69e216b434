#include "render_memo.h"

#include "chip_window.h"
#include "dib_canvas.h"
#include "plugin_library.h"
#include "wide_text.h"

namespace kn::host {
namespace {

constexpr int kMaxSide = 16384;

// A chip that UnInitializeChip frees unless it was freed already.
class ScopedChip {
 public:
  explicit ScopedChip(const EntryPoints& api) : api_(api) {}
  ~ScopedChip() { Free(); }
  ScopedChip(const ScopedChip&) = delete;
  ScopedChip& operator=(const ScopedChip&) = delete;

  HLOCAL* receive() { return &handle_; }
  HLOCAL get() const { return handle_; }
  void Free() {
    if (handle_) api_.UnInitializeChip(handle_);
    handle_ = nullptr;
  }

 private:
  const EntryPoints& api_;
  HLOCAL handle_ = nullptr;
};

bool CreateChip(const EntryPoints& api, const ChipSettings& settings, bool updateAgain,
                ScopedChip& chip, std::string& error) {
  const int created = api.InitializeChip(chip.receive(), 0, &settings);
  if (created != 0 || !chip.get()) {
    error = "InitializeChip failed (returned " + std::to_string(created) + ")";
    return false;
  }
  if (updateAgain) api.Update(chip.get(), 0, &settings);
  return true;
}

// Asks the chip for its size until it accepts the window's size.
bool SizeWindow(const EntryPoints& api, HLOCAL chip, ChipWindow& window, RenderResult& result,
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
    if (accepted == 1) {
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

bool Paint(const EntryPoints& api, HLOCAL chip, const ChipWindow& window, Picture& picture,
           std::string& error) {
  const RECT client = window.ClientRect();
  DibCanvas canvas(client.right - client.left, client.bottom - client.top);
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
  const SaveBlock save = request.modes ? MakeSaveBlock(*request.modes) : EmptySaveBlock();
  const ChipSettings settings = MakeChipSettings(request.memo.c_str(), request.textColor,
                                                 request.backColor, request.font, save);
  ScopedChip chip(api);
  const bool board = request.modes && request.modes->boardMode != 0;
  if (!CreateChip(api, settings, board, chip, error)) return false;

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
    error = WideToUtf8(library.path()) + ": " + library.error();
    return false;
  }
  return RenderWith(library.api(), request, result, error);
}

}  // namespace kn::host
