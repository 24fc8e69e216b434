// The clipboard as a test sees it. Its contents live in the prefix's
// wineserver and outlive their owner, so a test empties it first.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kn::wine {

inline bool EmptyTheClipboard() {
  if (!OpenClipboard(nullptr)) return false;
  const bool emptied = EmptyClipboard() != FALSE;
  CloseClipboard();
  return emptied;
}

// The CF_TEXT bytes up to their terminator; nullopt when there is none.
inline std::optional<std::string> ClipboardText() {
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::string> text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
      text = std::string(bytes, strnlen(bytes, GlobalSize(data)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

}  // namespace kn::wine
