// Chip settings as a test builds them: the host's records (host_records.h)
// kept alive together with the memo and the saved block they point to.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "host_records.h"

namespace kn::wine {

using host::kBlink;
using host::kBoardMode;
using host::kInterval1Min;
using host::kInterval3Min;
using host::kIntervalNone;
using host::kLinkBlue;
using host::kLinkGreen;
using host::kLinkRed;
using host::kScrollMode;
using host::SaveBlock;
using Modes = host::SaveModes;

// Modes as positional values: interval, link colour, blink, board, scroll.
inline Modes ModesOf(std::int32_t interval, std::int32_t linkColor, std::int32_t blink,
                     std::int32_t boardMode, std::int32_t scrollMode) {
  Modes modes;
  modes.interval = interval;
  modes.linkColor = linkColor;
  modes.blink = blink;
  modes.boardMode = boardMode;
  modes.scrollMode = scrollMode;
  return modes;
}
inline Modes ScrollModeOn() { return ModesOf(kInterval1Min, kLinkBlue, 0, 0, kScrollMode); }
inline Modes BoardModeOn() { return ModesOf(kInterval1Min, kLinkBlue, 0, kBoardMode, 0); }

// The font the tests draw with unless a case asks for another: MS Gothic,
// Shift-JIS, 12 pixels.
inline LOGFONTA TestFont(LONG height = -12, bool bold = false) {
  return host::MakeNoteFont(host::kDefaultFace, height, bold);
}

// Owns the memo and the saved block that the settings record points to.
// record() refreshes the pointers, so the builder may be copied or moved.
class ChipSettings {
 public:
  ChipSettings() {
    std::memset(record_.hostData, 0xA5, sizeof record_.hostData);
    record_.textColor = RGB(0, 0, 0);
    record_.backColor = RGB(255, 255, 204);
    record_.font = TestFont();
    record_.zoomed = 0;
  }

  ChipSettings& Memo(std::string memo) {
    memo_ = std::move(memo);
    return *this;
  }
  ChipSettings& NoMemo() {
    memo_.reset();
    return *this;
  }
  ChipSettings& TextColor(COLORREF color) {
    record_.textColor = color;
    return *this;
  }
  ChipSettings& BackColor(COLORREF color) {
    record_.backColor = color;
    return *this;
  }
  ChipSettings& Font(const LOGFONTA& font) {
    record_.font = font;
    return *this;
  }
  ChipSettings& Zoomed(std::int32_t zoomed) {
    record_.zoomed = zoomed;
    return *this;
  }
  ChipSettings& Save(const SaveBlock& block) {
    save_ = block;
    return *this;
  }
  ChipSettings& WithModes(const Modes& modes) { return Save(host::MakeSaveBlock(modes)); }

  COLORREF textColor() const { return record_.textColor; }
  COLORREF backColor() const { return record_.backColor; }
  const LOGFONTA& font() const { return record_.font; }

  // The record to pass to InitializeChip or Update; valid while this builder
  // lives unchanged.
  const host::ChipSettings* record() {
    record_.memo = memo_ ? memo_->c_str() : nullptr;
    record_.saveData = &save_;
    return &record_;
  }

 private:
  host::ChipSettings record_{};
  std::optional<std::string> memo_;
  SaveBlock save_ = host::EmptySaveBlock();
};

}  // namespace kn::wine
