#include "plugin/click_logic.h"

#include "plugin/chip_text.h"
#include "plugin/host_contract.h"
#include "render/launch_command.h"
#include "render/layout_walks.h"
#include "render/link_recognition.h"
#include "render/scroll_regions.h"

namespace kn {
namespace {

void LaunchOrCopy(const SjisString& command, bool copy, Desktop& desktop) {
  if (copy) {
    desktop.CopyToClipboard(command.View());
    return;
  }
  const std::optional<LaunchTriple> launch = BuildLaunchTriple(command.View());
  if (!launch) return;  // an empty command names nothing to start
  // Longer names than Windows takes are never handed to the shell: some
  // shells overrun their own buffers on them.
  if (!FitsTheShell(*launch) ||
      desktop.ShellOpen(launch->program, launch->parameters, launch->workingDirectory) <= 32) {
    desktop.ShowMessage(LaunchFailureMessage(*launch).c_str(), kChipTitle, MessageIcon::kError);
  }
}

// Finds the line under the pointer; runs or copies its link. True when a
// link was hit.
bool ActivateLinkAt(ChipEnv& env, const ChipState& state, KeyState keys,
                    const ClickGeometry& where, Desktop& desktop) {
  const TextLock text(env.memory, state.displayText, state.displayLength);
  if (!text.ok()) return false;
  const std::unique_ptr<TextSurface> surface = desktop.OpenSurface();
  if (!surface) return false;
  const LineContext context{state.baseFont, state.textColor, &env.clock};
  const HitOutcome hit = HitTestLines(text.view(), state.firstLine, where.textRect, where.x,
                                      where.y, context, *surface);
  if (!hit.onText) return false;
  SjisString command;
  LogFont ignored = state.baseFont;
  if (RecognizeLink(kLinkCommand, hit.lineText, command, ignored) == 0) return false;
  LaunchOrCopy(command, state.scrollMode == 0 && keys.shift, desktop);
  return true;
}

}  // namespace

int ClickChip(ChipEnv& env, BlockHandle chip, KeyState keys, const ClickGeometry& where,
              Desktop& desktop) {
  BlockLock lock(env.memory, chip);
  if (!lock) return kResultNothing;
  ChipState& state = *lock.as<ChipState>();
  if (keys.alt) {
    if (keys.shift) {
      state.scrollMode = 0;
      state.firstLine = 0;
    } else {
      state.scrollMode = state.scrollMode != 0 ? 0 : IDM_SCROLL_MODE;
    }
    return kResultRedraw;
  }
  if (state.scrollMode != 0 && !keys.shift) {
    return ScrollByRegion(state.firstLine, state.lastLine, state.linesDrawn, where.client.top,
                          where.client.bottom, where.y)
               ? kResultRedraw
               : kResultNothing;
  }
  const bool linkHit = ActivateLinkAt(env, state, keys, where, desktop);
  if (!linkHit && keys.shift) {
    state.firstLine = 0;
    ToggleBoardMode(env, state);
    return kResultRedraw;
  }
  return kResultNothing;
}

}  // namespace kn
