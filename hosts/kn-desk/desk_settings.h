// What the desktop host keeps between runs: every chip with its memo, colours,
// font, place on the screen and the block the chip asked the host to store.
// Portable: texts are UTF-8 here and are converted at the Win32 edge.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kn::desk {

// The format version this program writes; it reads this one and older ones.
constexpr int kSettingsVersion = 1;

// A base font as LOGFONT describes it, face in UTF-8.
struct FontChoice {
  std::string face = "\xEF\xBC\xAD\xEF\xBC\xB3 \xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF";  // ＭＳ ゴシック
  int height = -12;  // LOGFONT height: negative is the character height in pixels
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int charset = 128;         // SHIFTJIS_CHARSET
  int pitchAndFamily = 49;   // FIXED_PITCH | FF_MODERN

  bool operator==(const FontChoice& other) const {
    return face == other.face && height == other.height && weight == other.weight &&
           italic == other.italic && underline == other.underline &&
           strikeOut == other.strikeOut && charset == other.charset &&
           pitchAndFamily == other.pitchAndFamily;
  }
};

struct ChipRecord {
  int x = 40;  // outer window's top-left corner in screen coordinates
  int y = 40;
  std::uint32_t textRgb = 0x000000;  // 0xRRGGBB
  std::uint32_t backRgb = 0xFFFFC8;  // a pale yellow note
  FontChoice font;
  bool zoomed = false;
  std::string memo;  // UTF-8; line breaks as the chip keeps them ("\r\n")
  // The chip's own block exactly as it last wrote it (GetSaveData); empty
  // when the chip never saved one.
  std::vector<std::uint8_t> savedBlock;

  bool operator==(const ChipRecord& other) const {
    return x == other.x && y == other.y && textRgb == other.textRgb &&
           backRgb == other.backRgb && font == other.font && zoomed == other.zoomed &&
           memo == other.memo && savedBlock == other.savedBlock;
  }
};

struct DeskSettings {
  std::vector<ChipRecord> chips;
  // The chips are new (a first run): they go where they cover neither the
  // desk window nor each other. Not kept in the settings file.
  bool placeChips = false;
};

// Bounds a settings file must keep; a value outside them means damage.
constexpr int kMaxCoordinate = 100000;
constexpr int kMaxFontHeight = 1000;
constexpr int kMaxWeight = 1000;
constexpr std::size_t kMaxSavedBlockBytes = 4096;
constexpr std::size_t kMaxSettingsBytes = 16 * 1024 * 1024;

}  // namespace kn::desk
