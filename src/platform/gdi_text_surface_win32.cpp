#include "platform/gdi_text_surface_win32.h"

#include <climits>
#include <cstring>

namespace kn {

static_assert(sizeof(LOGFONTA) == sizeof(LogFont), "LogFont mirrors LOGFONTA");
static_assert(sizeof(RECT) == sizeof(Rect), "Rect mirrors RECT");

GdiTextSurface::~GdiTextSurface() {
  if (original_) SelectObject(dc_, original_);
  // made_ deletes the fonts once none of them is selected any more.
}

void GdiTextSurface::Select(HFONT font) {
  if (font == selected_) return;
  HGDIOBJ previous = SelectObject(dc_, font);
  if (!previous) return;
  if (!original_) original_ = previous;
  selected_ = font;
}

void GdiTextSurface::UseFont(const LogFont& font) {
  LOGFONTA description;
  std::memcpy(&description, &font, sizeof description);
  description.lfFaceName[LF_FACESIZE - 1] = '\0';
  for (std::size_t i = 0; i < madeCount_; ++i) {
    if (std::memcmp(&made_[i].description, &description, sizeof description) == 0) {
      Select(made_[i].font.get());
      return;
    }
  }
  GdiObject<HFONT> made(CreateFontIndirectA(&description));
  if (!made) return;
  Select(made.get());
  if (selected_ != made.get()) return;  // not selected: deleted at once
  std::size_t slot = madeCount_;
  if (madeCount_ < kKeptFonts) {
    ++madeCount_;
  } else {
    slot = nextToReplace_;
    nextToReplace_ = (nextToReplace_ + 1) % kKeptFonts;
  }
  // The font replaced here is never the selected one: the new font is.
  made_[slot].description = description;
  made_[slot].font = std::move(made);
}

void GdiTextSurface::UseTextColor(ColorRef color) {
  if (colorSet_ && color == color_) return;
  SetTextColor(dc_, color);
  color_ = color;
  colorSet_ = true;
}

int GdiTextSurface::DrawWrapped(std::string_view text, Rect& rect, unsigned flags) {
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  const int length = text.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX
                                                                     : static_cast<int>(text.size());
  const int height = ::DrawTextA(dc_, text.data(), length, &r, flags);
  rect = {r.left, r.top, r.right, r.bottom};
  return height;
}

}  // namespace kn
