// What a host hands a chip: the settings record (InitializeChip, Update)
// with the memo and the saved block it points to, kept alive together, and
// the saved blocks a host keeps. The records themselves are the contract's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "plugin/chip_modes.h"
#include "plugin/host_contract.h"

namespace kn::driver {

static_assert(sizeof(LOGFONTA) == sizeof(LogFont), "LogFont is laid out as LOGFONTA");

inline LogFont ToLogFont(const LOGFONTA& font) {
  LogFont out;
  std::memcpy(&out, &font, sizeof out);
  return out;
}

// The modes a saved block carries, with the values a fresh chip would use.
struct SaveModes {
  std::int32_t interval = kDefaultModes.interval;
  std::int32_t linkColor = kDefaultModes.linkColor;
  std::int32_t blink = kDefaultModes.blink;
  std::int32_t boardMode = kDefaultModes.boardMode;
  std::int32_t scrollMode = kDefaultModes.scrollMode;
  BrokenDownTime lastCheck{};
};

// A block of length 60 holding the modes, as GetSaveData would write it.
inline SaveBlock MakeSaveBlock(const SaveModes& modes) {
  return SaveBlockOf(modes.interval, modes.linkColor, modes.blink, modes.boardMode, modes.scrollMode,
                     modes.lastCheck);
}

// The block of a chip the host has never saved: length 0, read as "none".
inline SaveBlock EmptySaveBlock() { return SaveBlock{}; }

// "ＭＳ ゴシック"
inline constexpr char kDefaultFace[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";

// A Shift-JIS font; the face (code page 932 bytes) is cut to the 31 bytes
// that LOGFONTA holds, never between the two bytes of one character.
inline LOGFONTA MakeNoteFont(const std::string& face, LONG height, bool bold) {
  LOGFONTA font{};
  font.lfHeight = height;
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  std::size_t n = 0;
  while (n < face.size()) {
    const std::size_t step = IsDBCSLeadByteEx(932, static_cast<BYTE>(face[n])) ? 2 : 1;
    if (n + step > face.size() || n + step > sizeof font.lfFaceName - 1) break;
    n += step;
  }
  std::memcpy(font.lfFaceName, face.data(), n);
  return font;
}

// The settings record with what it points to. record() refreshes the
// pointers, so the builder may be copied or moved; the record is valid
// while the builder lives unchanged.
class HostSettings {
 public:
  HostSettings() { record_.font = ToLogFont(MakeNoteFont(kDefaultFace, -12, false)); }

  HostSettings& Memo(std::string memo) {
    memo_ = std::move(memo);
    return *this;
  }
  HostSettings& NoMemo() {
    memo_.reset();
    return *this;
  }
  HostSettings& TextColor(COLORREF color) {
    record_.textColor = color;
    return *this;
  }
  HostSettings& BackColor(COLORREF color) {
    record_.backColor = color;
    return *this;
  }
  HostSettings& Font(const LOGFONTA& font) {
    record_.font = ToLogFont(font);
    return *this;
  }
  HostSettings& Zoomed(std::int32_t zoomed) {
    record_.zoomed = zoomed;
    return *this;
  }
  // The host's own bytes at the start of the record, which a chip never reads.
  HostSettings& HostData(std::uint8_t fill) {
    std::memset(record_.hostData, fill, sizeof record_.hostData);
    return *this;
  }
  HostSettings& Save(const SaveBlock& block) {
    save_ = block;
    externalSave_ = nullptr;
    return *this;
  }
  HostSettings& WithModes(const SaveModes& modes) { return Save(MakeSaveBlock(modes)); }
  // A block the host keeps elsewhere (in its global memory), which must
  // outlive every call that gets the record.
  HostSettings& SavedBlockAt(const void* block) {
    externalSave_ = block;
    return *this;
  }

  COLORREF textColor() const { return record_.textColor; }
  COLORREF backColor() const { return record_.backColor; }
  LOGFONTA font() const {
    LOGFONTA font;
    std::memcpy(&font, &record_.font, sizeof font);
    return font;
  }

  const ChipSettings* record() const {
    record_.memo = memo_ ? memo_->c_str() : nullptr;
    record_.saveData = externalSave_ ? externalSave_ : &save_;
    return &record_;
  }

 private:
  mutable ChipSettings record_{};
  std::optional<std::string> memo_;
  SaveBlock save_ = EmptySaveBlock();
  const void* externalSave_ = nullptr;
};

}  // namespace kn::driver
