// Menu command ids; the same values are stored in the chip's mode fields and
// in the saved block.
#pragma once

#include <cstdint>

namespace kn {

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

// Results that ask something of the host.
constexpr int kResultNothing = 0;
constexpr int kResultRedraw = 1;
constexpr int kResultTextChanged = 3;
constexpr int kResultAlert = 4;  // only ever added to kResultTextChanged

}  // namespace kn
