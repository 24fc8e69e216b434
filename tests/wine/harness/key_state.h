// Holds Shift and Alt down for the calling thread, as the keyboard state a
// click handler reads with GetKeyboardState, and puts the previous state
// back afterwards. Another thread would still see the keys up.
#pragma once

#include <windows.h>

#include <cstring>
#include <initializer_list>

namespace kn::wine {

class ScopedKeys {
 public:
  ScopedKeys(bool shift, bool alt) {
    GetKeyboardState(saved_);
    BYTE keys[256];
    std::memcpy(keys, saved_, sizeof keys);
    Set(keys, shift, {VK_SHIFT, VK_LSHIFT});
    Set(keys, alt, {VK_MENU, VK_LMENU});
    applied_ = SetKeyboardState(keys) != FALSE;
  }
  ~ScopedKeys() { SetKeyboardState(saved_); }
  ScopedKeys(const ScopedKeys&) = delete;
  ScopedKeys& operator=(const ScopedKeys&) = delete;

  bool applied() const { return applied_; }

 private:
  static void Set(BYTE (&keys)[256], bool down, std::initializer_list<int> codes) {
    for (int code : codes) keys[code] = down ? 0x80 : 0;
  }

  BYTE saved_[256] = {};
  bool applied_ = false;
};

}  // namespace kn::wine
