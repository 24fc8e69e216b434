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
#include "scoped_chip.h"

namespace kn::bench {

using wine::Api;

class BenchChip {
 public:
  // A small chip, as users keep many of them on screen.
  static constexpr int kWidth = 240;
  static constexpr int kHeight = 160;

  explicit BenchChip(const wine::ChipSettings& settings)
      : window_(kWidth, kHeight), canvas_(window_.ClientRect()), chip_(Api(), settings.record()) {}
  BenchChip(const BenchChip&) = delete;
  BenchChip& operator=(const BenchChip&) = delete;

  bool ok() const { return chip_.ok() && window_.hwnd() && canvas_.ok(); }
  ChipHandle handle() const { return chip_.get(); }
  HWND hwnd() const { return window_.hwnd(); }
  RECT client() const { return window_.ClientRect(); }
  wine::Canvas& canvas() { return canvas_; }

  RECT TextRect() const {
    RECT rect = client();
    InflateRect(&rect, -GetSystemMetrics(SM_CXFRAME), -GetSystemMetrics(SM_CYFRAME));
    return rect;
  }

  int Update(const wine::ChipSettings& settings) const { return chip_.Update(settings.record()); }
  int Paint() { return Api().DrawChip(chip_.get(), window_.hwnd(), canvas_.dc()); }

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
    return wine::ClickChipAt(chip_.get(), window_.hwnd(), POINT{x, y});
  }

 private:
  wine::TestWindow window_;
  wine::Canvas canvas_;
  driver::ScopedChip chip_;  // ends before its window
};

}  // namespace kn::bench
