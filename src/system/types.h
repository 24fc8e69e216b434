// Plain records shared by the portable core and the platform layer. Their
// layouts match the Windows records byte for byte, so the platform layer can
// pass them to Win32 unchanged.
#pragma once

#include <cstdint>

namespace kn {

// 0x00BBGGRR: red in the lowest byte.
using ColorRef = std::uint32_t;

constexpr ColorRef MakeRgb(int r, int g, int b) {
  return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// Same layout as LOGFONTA.
struct LogFont {
  std::int32_t lfHeight;
  std::int32_t lfWidth;
  std::int32_t lfEscapement;
  std::int32_t lfOrientation;
  std::int32_t lfWeight;
  std::uint8_t lfItalic;
  std::uint8_t lfUnderline;
  std::uint8_t lfStrikeOut;
  std::uint8_t lfCharSet;
  std::uint8_t lfOutPrecision;
  std::uint8_t lfClipPrecision;
  std::uint8_t lfQuality;
  std::uint8_t lfPitchAndFamily;
  char lfFaceName[32];
};
static_assert(sizeof(LogFont) == 60, "LogFont must match LOGFONTA");

constexpr std::uint8_t kShiftJisCharset = 128;
constexpr std::uint8_t kAnsiCharset = 0;
constexpr std::int32_t kBoldWeight = 700;

// Same layout as SYSTEMTIME.
struct SystemTime {
  std::uint16_t wYear;
  std::uint16_t wMonth;
  std::uint16_t wDayOfWeek;
  std::uint16_t wDay;
  std::uint16_t wHour;
  std::uint16_t wMinute;
  std::uint16_t wSecond;
  std::uint16_t wMilliseconds;
};
static_assert(sizeof(SystemTime) == 16, "SystemTime must match SYSTEMTIME");

// The C library's broken-down time (struct tm), field for field, as nine
// 32-bit integers so that it can be stored in the chip state and the saved
// block with a fixed layout.
struct BrokenDownTime {
  std::int32_t sec;
  std::int32_t min;
  std::int32_t hour;
  std::int32_t mday;
  std::int32_t mon;   // 0-11
  std::int32_t year;  // years since 1900
  std::int32_t wday;  // 0 = Sunday
  std::int32_t yday;
  std::int32_t isdst;
};
static_assert(sizeof(BrokenDownTime) == 36, "BrokenDownTime is nine integers");

// Left, top, right, bottom; right and bottom exclusive (a Win32 RECT).
struct Rect {
  std::int32_t left;
  std::int32_t top;
  std::int32_t right;
  std::int32_t bottom;
  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
};

struct Size {
  std::int32_t width;
  std::int32_t height;
};

}  // namespace kn
