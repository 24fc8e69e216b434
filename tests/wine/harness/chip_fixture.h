// What most end-to-end tests share: the loaded DLL, a chip that frees itself,
// a chip window with a canvas of its client size, and the text rectangle.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "wine/harness/chip_records.h"
#include "wine/harness/paint_surface.h"
#include "wine/harness/plugin_module.h"
#include "scoped_chip.h"

namespace kn::wine {

// A chip of the DLL under test, created by InitializeChip and released by
// UnInitializeChip.
class ScopedChip : public driver::ScopedChip {
 public:
  explicit ScopedChip(const ChipSettings& settings) : driver::ScopedChip(Api(), settings.record()) {}
  int Update(const ChipSettings& settings) const { return driver::ScopedChip::Update(settings.record()); }
};

// The client rectangle inset by the window frame metrics, where text goes.
inline RECT TextRect(const RECT& client) {
  RECT rect = client;
  InflateRect(&rect, -GetSystemMetrics(SM_CXFRAME), -GetSystemMetrics(SM_CYFRAME));
  return rect;
}

// The outer window size for a client size, as the chip's size is proposed.
inline SIZE OuterSize(int clientWidth, int clientHeight) {
  RECT rect{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&rect, WS_POPUP | WS_VISIBLE | WS_BORDER, FALSE, WS_EX_TOOLWINDOW);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

// Fails the current test unless the DLL is loaded with every entry point.
class PluginTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Plugin().ready()) << PluginPath() << ": " << Plugin().error();
  }
};

// A chip window (240 x 120 outer) and a canvas of its client size.
class PaintTest : public PluginTest {
 protected:
  static constexpr int kWidth = 240;
  static constexpr int kHeight = 120;

  void SetUp() override {
    PluginTest::SetUp();
    if (HasFatalFailure()) return;
    window_ = std::make_unique<TestWindow>(kWidth, kHeight);
    ASSERT_NE(window_->hwnd(), nullptr) << "CreateWindowEx failed, error " << window_->createError();
    canvas_ = std::make_unique<Canvas>(window_->ClientRect());
    ASSERT_TRUE(canvas_->ok());
  }

  // Fills the canvas with `before`, then lets the chip paint it.
  int Paint(const ScopedChip& chip, COLORREF before = RGB(1, 2, 3)) {
    canvas_->Fill(before);
    return Api().DrawChip(chip.get(), window_->hwnd(), canvas_->dc());
  }

  HWND hwnd() const { return window_->hwnd(); }
  RECT client() const { return window_->ClientRect(); }
  Canvas& canvas() { return *canvas_; }

  std::unique_ptr<TestWindow> window_;
  std::unique_ptr<Canvas> canvas_;
};

}  // namespace kn::wine
