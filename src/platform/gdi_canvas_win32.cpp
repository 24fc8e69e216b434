#include "platform/gdi_canvas_win32.h"

namespace kn {

void GdiCanvas::Fill(const Rect& rect, ColorRef color) {
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  GdiObject<HBRUSH> brush(CreateSolidBrush(color));
  FillRect(dc_, &r, brush.get());
}

void GdiCanvas::DrawRaisedBevel(const Rect& r) {
  GdiObject<HPEN> light(CreatePen(PS_SOLID, 2, GetSysColor(COLOR_BTNHIGHLIGHT)));
  GdiObject<HPEN> shadow(CreatePen(PS_SOLID, 2, GetSysColor(COLOR_BTNSHADOW)));
  SelectedObject pen(dc_, light.get());
  MoveToEx(dc_, r.right, r.top, nullptr);
  LineTo(dc_, r.left, r.top);
  LineTo(dc_, r.left, r.bottom);
  SelectObject(dc_, shadow.get());
  LineTo(dc_, r.right, r.bottom);
  LineTo(dc_, r.right, r.top);
}

TextSurface& GdiCanvas::BeginText() {
  if (!text_) {
    SetBkMode(dc_, TRANSPARENT);
    text_.emplace(dc_);
  }
  return *text_;
}

}  // namespace kn
