// The system's handles as the core passes them along without looking inside:
// a window, a device context, a menu. On Windows they are HWND, HDC and
// HMENU; the core only hands them back to the platform.
#pragma once

namespace kn {

using WindowHandle = void*;
using DcHandle = void*;
using MenuHandle = void*;

}  // namespace kn
