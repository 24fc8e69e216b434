// The records a host shares with the plug-in, laid out byte for byte as the
// plug-in reads them, and builders that fill them in the host's own memory.
// The host defines these itself: it knows the plug-in only through its
// exported functions.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace kn::host {

static_assert(sizeof(void*) == 4, "the plug-in interface is 32-bit");

// Menu item ids; the mode ids are also the values kept in the saved block.
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
constexpr std::int32_t kAbout = 10019;

// A chip's settings as the host hands them to InitializeChip and Update.
struct ChipSettings {
  std::uint8_t hostData[72];  // the host's own; the plug-in never reads it
  const char* memo;           // NUL-terminated code page 932, or null
  COLORREF textColor;
  COLORREF backColor;
  LOGFONTA font;
  std::int32_t zoomed;
  const void* saveData;  // a saved block (length first); never null
};
static_assert(offsetof(ChipSettings, memo) == 72, "memo at 72");
static_assert(offsetof(ChipSettings, textColor) == 76, "text colour at 76");
static_assert(offsetof(ChipSettings, backColor) == 80, "background colour at 80");
static_assert(offsetof(ChipSettings, font) == 84, "font at 84");
static_assert(offsetof(ChipSettings, zoomed) == 144, "zoom flag at 144");
static_assert(offsetof(ChipSettings, saveData) == 148, "saved block at 148");
static_assert(sizeof(ChipSettings) == 152, "152 bytes");

// The block a chip asks the host to keep (GetSaveData) and gets back in its
// settings. Only a length of 60 makes the chip read the fields.
struct SaveBlock {
  std::int32_t length;
  std::int32_t interval;
  std::int32_t linkColor;
  std::int32_t blink;
  std::int32_t boardMode;
  std::int32_t scrollMode;
  std::int32_t lastCheck[9];  // struct tm order: sec, min, hour, mday, mon, year, wday, yday, isdst
  std::int32_t reserved;
  std::int32_t unused;  // never written by the plug-in
};
static_assert(offsetof(SaveBlock, interval) == 4, "interval at 4");
static_assert(offsetof(SaveBlock, linkColor) == 8, "link colour at 8");
static_assert(offsetof(SaveBlock, blink) == 12, "blink at 12");
static_assert(offsetof(SaveBlock, boardMode) == 16, "board mode at 16");
static_assert(offsetof(SaveBlock, scrollMode) == 20, "scroll mode at 20");
static_assert(offsetof(SaveBlock, lastCheck) == 24, "last check at 24");
static_assert(offsetof(SaveBlock, reserved) == 60, "reserved word at 60");
static_assert(sizeof(SaveBlock) == 68, "68 bytes");
constexpr std::int32_t kSaveBlockLength = 60;

// What DrawExSpecification fills. The values are the host's business; the
// host reads the title and keeps the rest.
struct ChipDescription {
  std::int32_t value0;
  std::int32_t value4;
  char title[52];  // NUL-terminated code page 932
  std::int32_t value60;
  std::int32_t value64;
  std::int32_t value68;
};
static_assert(offsetof(ChipDescription, title) == 8, "title at 8");
static_assert(offsetof(ChipDescription, value60) == 60, "value at 60");
static_assert(sizeof(ChipDescription) == 72, "72 bytes");

// The board-file chooser's request (EditHelper): the memo text in a movable
// global block that the plug-in may grow.
struct EditRequest {
  std::int32_t length1;
  std::int32_t length2;
  HGLOBAL text;
};
static_assert(offsetof(EditRequest, text) == 8, "text handle at 8");
static_assert(sizeof(EditRequest) == 12, "12 bytes");

// The modes a saved block carries, with the values a fresh chip would use.
struct SaveModes {
  std::int32_t interval = kInterval1Min;
  std::int32_t linkColor = kLinkBlue;
  std::int32_t blink = 0;
  std::int32_t boardMode = 0;
  std::int32_t scrollMode = 0;
  std::int32_t lastCheck[9] = {};
};

// A block of length 60 holding the modes, as GetSaveData would write it.
inline SaveBlock MakeSaveBlock(const SaveModes& modes) {
  SaveBlock block{};
  block.length = kSaveBlockLength;
  block.interval = modes.interval;
  block.linkColor = modes.linkColor;
  block.blink = modes.blink;
  block.boardMode = modes.boardMode;
  block.scrollMode = modes.scrollMode;
  std::memcpy(block.lastCheck, modes.lastCheck, sizeof block.lastCheck);
  return block;
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

// Settings for a chip; `memo` and `save` must outlive every call that gets
// the record.
inline ChipSettings MakeChipSettings(const char* memo, COLORREF textColor, COLORREF backColor,
                                     const LOGFONTA& font, const SaveBlock& save,
                                     std::int32_t zoomed = 0) {
  ChipSettings settings{};
  settings.memo = memo;
  settings.textColor = textColor;
  settings.backColor = backColor;
  settings.font = font;
  settings.zoomed = zoomed;
  settings.saveData = &save;
  return settings;
}

}  // namespace kn::host
