#include "platform/gdi_text_surface_win32.h"

#include <climits>
#include <cstring>

namespace kn {

static_assert(sizeof(LOGFONTA) == sizeof(LogFont), "LogFont mirrors LOGFONTA");
static_assert(sizeof(RECT) == sizeof(Rect), "Rect mirrors RECT");

GdiTextSurface::~GdiTextSurface() {
  if (original_) SelectObject(dc_, original_);
  // current_ deletes the last font once it is no longer selected.
}

void GdiTextSurface::UseFont(const LogFont& font) {
  LOGFONTA description;
  std::memcpy(&description, &font, sizeof description);
  description.lfFaceName[LF_FACESIZE - 1] = '\0';
  HFONT made = CreateFontIndirectA(&description);
  if (!made) return;
  HGDIOBJ previous = SelectObject(dc_, made);
  if (!original_) original_ = previous;
  current_.reset(made);  // deletes the font this one replaced
}

void GdiTextSurface::UseTextColor(ColorRef color) { SetTextColor(dc_, color); }

int GdiTextSurface::DrawWrapped(std::string_view text, Rect& rect, unsigned flags) {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  const int length = text.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX
                                                                     : static_cast<int>(text.size());
  const int height = ::DrawTextA(dc_, text.data(), length, &r, flags);
  rect = {r.left, r.top, r.right, r.bottom};
  return height;
}

}  // namespace kn
