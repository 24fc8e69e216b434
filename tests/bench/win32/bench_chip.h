// A chip of the real DLL as a benchmark drives it: made from settings,
// shown in a hidden chip window, painted into a memory canvas, and scrolled
// with the same clicks a user would make.
#pragma once

#include <windows.h>

#include <memory>

#include "wine/harness/chip_records.h"
#include "wine/harness/key_state.h"
#include "wine/harness/paint_surface.h"
#include "wine/harness/plugin_module.h"

namespace kn::bench {

using wine::Api;

class BenchChip {
 public:
  // A small chip, as users keep many of them on screen.
  static constexpr int kWidth = 240;
  static constexpr int kHeight = 160;

  explicit BenchChip(wine::ChipSettings& settings)
      : window_(kWidth, kHeight), canvas_(window_.client()) {
    initResult_ = Api().InitializeChip(&handle_, 0, settings.record());
  }
  ~BenchChip() {
    if (handle_) Api().UnInitializeChip(handle_);
  }
  BenchChip(const BenchChip&) = delete;
  BenchChip& operator=(const BenchChip&) = delete;

  bool ok() const { return handle_ && initResult_ == 0 && window_.hwnd() && canvas_.ok(); }
  HLOCAL handle() const { return handle_; }
  HWND hwnd() const { return window_.hwnd(); }
  RECT client() const { return window_.client(); }
  wine::Canvas& canvas() { return canvas_; }

  RECT TextRect() const {
    RECT rect = client();
    InflateRect(&rect, -GetSystemMetrics(SM_CXFRAME), -GetSystemMetrics(SM_CYFRAME));
    return rect;
  }

  int Update(wine::ChipSettings& settings) const { return Api().Update(handle_, 0, settings.record()); }
  int Paint() { return Api().DrawChip(handle_, window_.hwnd(), canvas_.dc()); }

  // Alt-click: scroll mode on or off, the scroll position kept.
  int ToggleScrollMode() const {
    wine::ScopedKeys alt(false, true);
    return Click(client().right / 2, client().bottom / 2);
  }

  // In scroll mode: a click in the bottom band pages down by the lines the
  // last paint drew.
  int PageDown() const {
    wine::ScopedKeys none(false, false);
    return Click(client().right / 2, client().bottom - 4);
  }

  int Click(int x, int y) const {
    POINT point{x, y};
    return Api().MouseClik(handle_, window_.hwnd(), &point);
  }

 private:
  wine::TestWindow window_;
  wine::Canvas canvas_;
  HLOCAL handle_ = nullptr;
  int initResult_ = -1;
};

}  // namespace kn::bench
