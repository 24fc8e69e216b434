#include "plugin/menu_checks.h"

#include "plugin/command_ids.h"

namespace kn {

std::vector<std::int32_t> CheckedMenuIds(const ChipState* state) {
  if (!state) return {IDM_INTERVAL_1MIN, IDM_LINK_BLUE};
  // Zero is skipped: separators carry the id 0 and must never be checked.
  std::vector<std::int32_t> ids;
  for (const std::int32_t id :
       {state->interval, state->linkColor, state->blink, state->boardMode, state->scrollMode}) {
    if (id != 0) ids.push_back(id);
  }
  return ids;
}

}  // namespace kn
