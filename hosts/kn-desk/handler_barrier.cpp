#include "handler_barrier.h"

#include <cstdio>

namespace kn::desk {

std::string MessageName(UINT message) {
  struct Named {
    UINT message;
    const char* name;
  };
  static constexpr Named kNames[] = {
      {WM_PAINT, "WM_PAINT"},           {WM_NCPAINT, "WM_NCPAINT"},
      {WM_COMMAND, "WM_COMMAND"},       {WM_TIMER, "WM_TIMER"},
      {WM_CONTEXTMENU, "WM_CONTEXTMENU"}, {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
      {WM_MOUSEMOVE, "WM_MOUSEMOVE"},   {WM_LBUTTONUP, "WM_LBUTTONUP"},
      {WM_CLOSE, "WM_CLOSE"},           {WM_ENDSESSION, "WM_ENDSESSION"},
      {WM_SETTINGCHANGE, "WM_SETTINGCHANGE"}, {WM_DISPLAYCHANGE, "WM_DISPLAYCHANGE"},
  };
  for (const Named& named : kNames) {
    if (named.message == message) return named.name;
  }
  char number[24] = {};
  std::snprintf(number, sizeof number, "message 0x%04X", message);
  return number;
}

}  // namespace kn::desk
