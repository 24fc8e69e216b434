#include "plugin/chip_paint.h"

#include <algorithm>

#include "plugin/chip_text.h"
#include "plugin/host_contract.h"
#include "render/layout_walks.h"

namespace kn {
namespace {

Rect InsetByFrame(const Rect& client, Size frame) {
  return {client.left + frame.width, client.top + frame.height, client.right - frame.width,
          client.bottom - frame.height};
}

}  // namespace

ColorRef LinkColorFor(std::int32_t linkColorSetting) {
  if (linkColorSetting == IDM_LINK_RED) return MakeRgb(255, 0, 0);
  if (linkColorSetting == IDM_LINK_GREEN) return MakeRgb(0, 255, 0);
  return MakeRgb(0, 0, 255);
}

Rect TextRectOf(Desktop& desktop, const Rect& client) {
  return InsetByFrame(client, desktop.FrameThickness());
}

void PaintChip(ChipEnv& env, ChipState& state, Desktop& desktop, Canvas& canvas) {
  const Rect client = desktop.ClientRect();
  canvas.Fill(client, state.backColor);
  if (state.scrollMode != 0) canvas.DrawRaisedBevel(client);
  const TextLock text(env.memory, state.displayText, state.displayLength);
  if (!text.ok()) return;
  const LineContext context{state.baseFont, state.textColor, &env.clock};
  const DrawOutcome outcome =
      DrawLines(text.view(), state.firstLine, TextRectOf(desktop, client), context,
                LinkColorFor(state.linkColor), canvas.BeginText());
  state.lastLine = outcome.lastLine;
  state.linesDrawn = outcome.linesDrawn;
}

int ProposeSize(ChipEnv& env, const ChipState& state, Desktop& desktop, int* size) {
  const TextLock text(env.memory, state.displayText, state.displayLength);
  if (!text.ok()) return kSizeAccepted;
  const int width = size[0];
  const int height = size[1];
  const Rect work = desktop.WorkArea();
  const int halfWidth = work.Width() / 2;
  const int workHeight = work.Height();
  MeasuredSize measured{};
  {
    const std::unique_ptr<TextSurface> surface = desktop.OpenSurface();
    if (!surface) return kSizeAccepted;
    const LineContext context{state.baseFont, state.textColor, &env.clock};
    measured = MeasureLines(text.view(), state.firstLine, halfWidth, workHeight, context, *surface);
  }
  const Size frame = desktop.FrameThickness();
  const Size outer = desktop.OuterSize({std::min(measured.maxWidth, halfWidth) + 2 * frame.width,
                                        std::min(measured.totalHeight, workHeight) + 2 * frame.height});
  size[0] = outer.width;
  size[1] = outer.height;
  return (size[0] != width || size[1] != height) ? kSizeDiffers : kSizeAccepted;
}

}  // namespace kn
