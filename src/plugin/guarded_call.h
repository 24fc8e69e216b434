// Nothing thrown inside the plug-in may reach the host: every entry point
// runs its body through GuardedCall, which answers the entry point's
// neutral value instead.
#pragma once

namespace kn {

template <typename Result, typename Body>
Result GuardedCall(Result neutral, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return neutral;
  }
}

}  // namespace kn
