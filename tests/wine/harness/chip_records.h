// The records a host hands to the DLL, laid out byte for byte as the host
// does, and builders that keep them alive in the test's own memory.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace kn::wine {

// Mode ids, as stored in the saved block and used as menu ids.
constexpr std::int32_t kInterval1Min = 10000;
constexpr std::int32_t kInterval3Min = 10001;
constexpr std::int32_t kInterval10Min = 10002;
constexpr std::int32_t kLinkRed = 10003;
constexpr std::int32_t kLinkGreen = 10004;
constexpr std::int32_t kLinkBlue = 10005;
constexpr std::int32_t kBlink = 10006;
constexpr std::int32_t kBoardMode = 10007;
constexpr std::int32_t kScrollMode = 10008;
constexpr std::int32_t kInterval1Sec = 10009;
constexpr std::int32_t kIntervalNone = 10010;

// The host's per-chip settings; the DLL reads offsets 72 to 151.
struct ChipSettingsRecord {
  std::uint8_t hostData[72];
  const char* memo;
  COLORREF textColor;
  COLORREF backColor;
  LOGFONTA font;
  std::int32_t zoomed;
  const void* saveData;
};
static_assert(offsetof(ChipSettingsRecord, memo) == 72, "memo at 72");
static_assert(offsetof(ChipSettingsRecord, textColor) == 76, "text colour at 76");
static_assert(offsetof(ChipSettingsRecord, backColor) == 80, "back colour at 80");
static_assert(offsetof(ChipSettingsRecord, font) == 84, "font at 84");
static_assert(offsetof(ChipSettingsRecord, zoomed) == 144, "zoom flag at 144");
static_assert(offsetof(ChipSettingsRecord, saveData) == 148, "saved block at 148");
static_assert(sizeof(ChipSettingsRecord) == 152, "152 bytes");

// The persisted block: length 60, then the five modes, the last check time
// (nine integers), a reserved word and four bytes the DLL never writes.
struct SaveBlockRecord {
  std::int32_t length;
  std::int32_t interval;
  std::int32_t linkColor;
  std::int32_t blink;
  std::int32_t boardMode;
  std::int32_t scrollMode;
  std::int32_t lastCheck[9];
  std::int32_t reserved;
  std::int32_t tail;
};
static_assert(sizeof(SaveBlockRecord) == 68, "68 bytes");
static_assert(offsetof(SaveBlockRecord, lastCheck) == 24, "last check at 24");
static_assert(offsetof(SaveBlockRecord, reserved) == 60, "reserved at 60");

struct Modes {
  std::int32_t interval = kInterval1Min;
  std::int32_t linkColor = kLinkBlue;
  std::int32_t blink = 0;
  std::int32_t boardMode = 0;
  std::int32_t scrollMode = 0;
};

// A block as a chip the host never saved carries it: length 0.
inline SaveBlockRecord EmptySaveBlock() {
  SaveBlockRecord block;
  std::memset(&block, 0, sizeof block);
  return block;
}

// A valid block (length 60) holding the modes, last check all zero.
inline SaveBlockRecord SaveBlockWith(const Modes& modes) {
  SaveBlockRecord block = EmptySaveBlock();
  block.length = 60;
  block.interval = modes.interval;
  block.linkColor = modes.linkColor;
  block.blink = modes.blink;
  block.boardMode = modes.boardMode;
  block.scrollMode = modes.scrollMode;
  return block;
}

// The font the tests draw with unless a case asks for another: 12 pixels,
// Shift-JIS character set, MS Gothic ("ＭＳ ゴシック").
inline LOGFONTA TestFont(LONG height = -12, LONG weight = FW_NORMAL) {
  LOGFONTA font;
  std::memset(&font, 0, sizeof font);
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfCharSet = SHIFTJIS_CHARSET;
  std::strcpy(font.lfFaceName, "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e");
  return font;
}

// Owns the memo and the saved block that a ChipSettingsRecord points to.
// record() rebuilds the pointers, so the builder may be copied or moved.
class ChipSettings {
 public:
  ChipSettings() : save_(EmptySaveBlock()) {
    std::memset(&record_, 0xA5, sizeof record_.hostData);
    textColor_ = RGB(0, 0, 0);
    backColor_ = RGB(255, 255, 204);
    font_ = TestFont();
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
    textColor_ = color;
    return *this;
  }
  ChipSettings& BackColor(COLORREF color) {
    backColor_ = color;
    return *this;
  }
  ChipSettings& Font(const LOGFONTA& font) {
    font_ = font;
    return *this;
  }
  ChipSettings& Zoomed(std::int32_t zoomed) {
    zoomed_ = zoomed;
    return *this;
  }
  ChipSettings& Save(const SaveBlockRecord& block) {
    save_ = block;
    return *this;
  }
  ChipSettings& WithModes(const Modes& modes) { return Save(SaveBlockWith(modes)); }

  const std::optional<std::string>& memo() const { return memo_; }
  COLORREF textColor() const { return textColor_; }
  COLORREF backColor() const { return backColor_; }
  const LOGFONTA& font() const { return font_; }

  // The record to pass to InitializeChip or Update; valid while this builder
  // lives and is not changed.
  const ChipSettingsRecord* record() {
    record_.memo = memo_ ? memo_->c_str() : nullptr;
    record_.textColor = textColor_;
    record_.backColor = backColor_;
    record_.font = font_;
    record_.zoomed = zoomed_;
    record_.saveData = &save_;
    return &record_;
  }

 private:
  ChipSettingsRecord record_;
  std::optional<std::string> memo_;
  COLORREF textColor_;
  COLORREF backColor_;
  LOGFONTA font_;
  std::int32_t zoomed_ = 0;
  SaveBlockRecord save_;
};

}  // namespace kn::wine
