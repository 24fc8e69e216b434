// The contract between the plug-in and its host: the entry points and their
// signatures, the records they exchange with their fixed byte layouts, the
// menu command ids, the result values and the values of the chip's
// description. The DLL, the hosts, the tools, the tests and the benchmarks
// all read it from here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "system/handles.h"
#include "system/types.h"

#if defined(_WIN32)
#define KN_CDECL __cdecl
#else
#define KN_CDECL
#endif

namespace kn {

// The host keeps each chip as an opaque handle (a movable local block) and
// passes it back first in every per-chip call; the saved block and the
// chooser's text are movable global blocks of the host.
using ChipHandle = void*;
using GlobalHandle = void*;

// ---- Menu command ids. The same values are stored in the chip's mode
// fields and in the saved block.
constexpr std::int32_t IDM_INTERVAL_1MIN = 10000;
constexpr std::int32_t IDM_INTERVAL_3MIN = 10001;
constexpr std::int32_t IDM_INTERVAL_10MIN = 10002;
constexpr std::int32_t IDM_LINK_RED = 10003;
constexpr std::int32_t IDM_LINK_GREEN = 10004;
constexpr std::int32_t IDM_LINK_BLUE = 10005;
constexpr std::int32_t IDM_BLINK = 10006;
constexpr std::int32_t IDM_BOARD_MODE = 10007;
constexpr std::int32_t IDM_SCROLL_MODE = 10008;
constexpr std::int32_t IDM_INTERVAL_1SEC = 10009;
constexpr std::int32_t IDM_INTERVAL_NONE = 10010;
constexpr std::int32_t IDM_ABOUT = 10019;

// ---- What MouseClik, DoDrawExMenu, DoTimer and Zoom ask of the host.
constexpr int kResultNothing = 0;
constexpr int kResultRedraw = 1;
constexpr int kResultTextChanged = 3;
constexpr int kResultAlert = 4;  // only ever added to kResultTextChanged

// InitializeChip.
constexpr int kChipCreated = 0;
constexpr int kChipNotCreated = 1;
// EditHelper.
constexpr int kFileAppended = 1;
constexpr int kFileNotAppended = 2;
// CalcDefaultRect: 0 when the chip wants another size.
constexpr int kSizeDiffers = 0;
constexpr int kSizeAccepted = 1;

// ---- The chip's settings as the host hands them to InitializeChip and
// Update.
struct ChipSettings {
  std::uint8_t hostData[72];  // the host's own; never read
  const char* memo;           // NUL-terminated code page 932, or null
  ColorRef textColor;
  ColorRef backColor;
  LogFont font;
  std::int32_t zoomed;
  const void* saveData;  // the saved block as the host stored it; never null
};

// ---- The block the host keeps for a chip (GetSaveData) and hands back in
// the settings. Only a length of 60 makes the chip read the fields.
struct SaveBlock {
  std::int32_t length;
  std::int32_t interval;
  std::int32_t linkColor;
  std::int32_t blink;
  std::int32_t boardMode;
  std::int32_t scrollMode;
  BrokenDownTime lastCheck;
  std::int32_t reserved;  // written as 0, never read back
  std::int32_t unused;    // not part of the data
};
constexpr std::int32_t kSaveBlockLength = 60;  // the bytes after the length field
constexpr std::size_t kSaveBlockSize = sizeof(SaveBlock);

// The block as GetSaveData writes it: length 60, the modes and the last
// check, 0 in the words after them.
constexpr SaveBlock SaveBlockOf(std::int32_t interval, std::int32_t linkColor, std::int32_t blink,
                                std::int32_t boardMode, std::int32_t scrollMode, const BrokenDownTime& lastCheck) {
  return SaveBlock{kSaveBlockLength, interval, linkColor, blink, boardMode, scrollMode, lastCheck, 0, 0};
}
static_assert(offsetof(SaveBlock, interval) == 4, "interval at 4");
static_assert(offsetof(SaveBlock, linkColor) == 8, "link colour at 8");
static_assert(offsetof(SaveBlock, blink) == 12, "blink at 12");
static_assert(offsetof(SaveBlock, boardMode) == 16, "board mode at 16");
static_assert(offsetof(SaveBlock, scrollMode) == 20, "scroll mode at 20");
static_assert(offsetof(SaveBlock, lastCheck) == 24, "last check at 24");
static_assert(offsetof(SaveBlock, reserved) == 60, "reserved word at 60");
static_assert(sizeof(SaveBlock) == 68, "68 bytes");

// ---- What DrawExSpecification fills. The numbers mean something to the
// host only; the host lists the chip kind under the title.
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
constexpr std::int32_t kDescriptionValues[] = {256, 256, 141, 2, 126};

// "Kaleidonote かれいど帳"
inline constexpr const char kChipTitle[] = "Kaleidonote \x82\xA9\x82\xEA\x82\xA2\x82\xC7\x92\xA0";
static_assert(sizeof kChipTitle <= sizeof ChipDescription::title, "the title fits its field");

// ---- The board-file chooser's request (EditHelper).
struct EditRequest {
  std::int32_t length;       // set to the new text's length
  std::int32_t lengthAgain;  // set to the same length
  GlobalHandle text;         // movable global block with the memo, or null
};

// A click position in the chip window's client coordinates (a POINT).
struct ClickPoint {
  std::int32_t x;
  std::int32_t y;
};

// The host's records hold 32-bit pointers and handles: their layouts are
// fixed only where pointers are 32 bits wide, as in the DLL and its hosts.
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(offsetof(ChipSettings, memo) == 72, "memo at 72");
static_assert(offsetof(ChipSettings, textColor) == 76, "text colour at 76");
static_assert(offsetof(ChipSettings, backColor) == 80, "background colour at 80");
static_assert(offsetof(ChipSettings, font) == 84, "font at 84");
static_assert(offsetof(ChipSettings, zoomed) == 144, "zoom flag at 144");
static_assert(offsetof(ChipSettings, saveData) == 148, "saved block at 148");
static_assert(sizeof(ChipSettings) == 152, "152 bytes");
static_assert(offsetof(EditRequest, text) == 8, "text handle at 8");
static_assert(sizeof(EditRequest) == 12, "12 bytes");
#endif

// ---- The entry points: plain C functions with the caller-cleans calling
// convention, exported under their names and again with a leading
// underscore.
using DrawExSpecificationFn = int(KN_CDECL*)(ChipDescription* description);
using DrawExConfigureFn = int(KN_CDECL*)(WindowHandle owner);
using DrawExAboutFn = int(KN_CDECL*)(WindowHandle owner);
using InitializeChipFn = int(KN_CDECL*)(ChipHandle* chip, int value, const ChipSettings* settings);
using UnInitializeChipFn = int(KN_CDECL*)(ChipHandle chip);
using CalcDefaultRectFn = int(KN_CDECL*)(ChipHandle chip, WindowHandle window, int* size);
using DrawChipFn = int(KN_CDECL*)(ChipHandle chip, WindowHandle window, DcHandle dc);
using MouseClikFn = int(KN_CDECL*)(ChipHandle chip, WindowHandle window, ClickPoint* point);
using ResizeFn = int(KN_CDECL*)();
using ZoomFn = int(KN_CDECL*)(ChipHandle chip, int value, int flag);
using UpdateFn = int(KN_CDECL*)(ChipHandle chip, int value, const ChipSettings* settings);
using ExchangeSendStringFn = int(KN_CDECL*)();
using GetMemoStringFn = int(KN_CDECL*)();
using GetDrawExMenuFn = MenuHandle(KN_CDECL*)(ChipHandle chip);
using DoDrawExMenuFn = int(KN_CDECL*)(ChipHandle chip, WindowHandle window, unsigned id);
using EditHelperFn = int(KN_CDECL*)(WindowHandle owner, EditRequest* request);
using GetSaveDataFn = int(KN_CDECL*)(ChipHandle chip, int value, GlobalHandle* block);
using GetTimerSpanFn = int(KN_CDECL*)(ChipHandle chip);
using DoTimerFn = int(KN_CDECL*)(ChipHandle chip);

// Every entry point, in the order of the export table (the build writes the
// table from this list).
#define KN_ENTRY_POINTS(X) \
  X(DrawExSpecification)   \
  X(DrawExConfigure)       \
  X(DrawExAbout)           \
  X(InitializeChip)        \
  X(UnInitializeChip)      \
  X(CalcDefaultRect)       \
  X(DrawChip)              \
  X(MouseClik)             \
  X(Resize)                \
  X(Zoom)                  \
  X(Update)                \
  X(ExchangeSendString)    \
  X(GetMemoString)         \
  X(GetDrawExMenu)         \
  X(DoDrawExMenu)          \
  X(EditHelper)            \
  X(GetSaveData)           \
  X(GetTimerSpan)          \
  X(DoTimer)

#define KN_COUNT_ONE(name) +1
constexpr int kEntryPointCount = 0 KN_ENTRY_POINTS(KN_COUNT_ONE);
#undef KN_COUNT_ONE

}  // namespace kn
