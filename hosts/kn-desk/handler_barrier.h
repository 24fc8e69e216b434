// The barrier at the top of both window procedures of the desktop host. An
// exception that escapes a message handler ends here instead of unwinding
// into the system's dispatch; the message then gets the system's default
// handling (so a WM_PAINT is still validated) and the window keeps
// dispatching. What failed is handed to `failed`, which must not save: the
// handler may have stopped halfway through a change.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace kn::desk {

// The message's name where the desk handles it, otherwise its number.
std::string MessageName(UINT message);

namespace barrier_detail {

// A report that itself fails (no memory for its text) is dropped: the
// window must go on.
template <typename Failed>
void Report(Failed& failed, UINT message, const char* what) noexcept {
  try {
    failed(MessageName(message), std::string(what));
  } catch (...) {
  }
}

}  // namespace barrier_detail

// Answers `handler()`, or the default handling once `failed(name, what)`
// has been told why the handler did not return.
template <typename Handler, typename Failed>
LRESULT HandleWithBarrier(HWND window, UINT message, WPARAM wparam, LPARAM lparam, Handler&& handler,
                          Failed&& failed) noexcept {
  try {
    return handler();
  } catch (const std::exception& error) {
    barrier_detail::Report(failed, message, error.what());
  } catch (...) {
    barrier_detail::Report(failed, message, "an exception of unknown type");
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace kn::desk
