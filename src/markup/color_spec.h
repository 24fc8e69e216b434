// The colour item of a line's format prefix: a kanji colour name or six
// hexadecimal digits RRGGBB.
#pragma once

#include <cstdint>
#include <string_view>

#include "system/types.h"

namespace kn {

struct ColorNameEntry {
  const char* name;  // two Shift-JIS bytes; the empty name ends the table
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
};

// Searched in this order.
inline constexpr ColorNameEntry ColorNames[] = {
    {"\x8D\x95", 0, 0, 0},        // 黒
    {"\x92\x83", 128, 0, 0},      // 茶
    {"\x97\xCE", 0, 128, 0},      // 緑
    {"\x8D\xAE", 0, 0, 128},      // 紺
    {"\x8E\x87", 128, 0, 128},    // 紫
    {"\x8A\x44", 128, 128, 128},  // 灰
    {"\x8B\xE2", 192, 192, 192},  // 銀
    {"\x90\xD4", 255, 0, 0},      // 赤
    {"\x89\xA9", 255, 255, 0},    // 黄
    {"\x90\xC2", 0, 0, 255},      // 青
    {"\x90\x85", 0, 255, 255},    // 水
    {"\x94\x92", 255, 255, 255},  // 白
    {"\x93\x8D", 255, 0, 255},    // 桃
    {"\x9E\xF2", 255, 128, 0},    // 橙
    {"", 0, 0, 0},
};

// Reads the colour that follows the `c` of a prefix (the upper-cased bytes
// after it, at most 6 are looked at). On success stores it in `color` and
// returns how many prefix bytes the item takes, the `c` included: 3 for a
// name, 7 for RRGGBB. Returns 0 and leaves `color` alone otherwise.
// `nameIndex`, when given, receives the name's index in ColorNames, or -1.
int ParseColorSpec(std::string_view text, ColorRef& color, int* nameIndex = nullptr);

}  // namespace kn
