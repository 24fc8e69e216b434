#include "dialog_template.h"

namespace kn::desk {
namespace {

// Offset of DLGTEMPLATE::cdit in WORDs: style (2) + extended style (2).
constexpr std::size_t kItemCountWord = 4;

}  // namespace

DialogTemplate::DialogTemplate(const std::wstring& title, short width, short height,
                               const std::wstring& fontFace, WORD pointSize) {
  Dword(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  Dword(0);  // extended style
  Word(0);   // item count, counted up by Add
  Word(0);
  Word(0);
  Word(static_cast<WORD>(width));
  Word(static_cast<WORD>(height));
  Word(0);  // no menu
  Word(0);  // the standard dialog class
  Text(title);
  Word(pointSize);
  Text(fontFace);
}

void DialogTemplate::Text(const std::wstring& text) {
  for (wchar_t c : text) Word(static_cast<WORD>(c));
  Word(0);
}

DialogTemplate& DialogTemplate::Add(WORD controlClass, WORD id, const std::wstring& text,
                                    DWORD style, short x, short y, short width, short height) {
  AlignToDword();
  Dword(style | WS_CHILD | WS_VISIBLE);
  Dword(0);  // extended style
  Word(static_cast<WORD>(x));
  Word(static_cast<WORD>(y));
  Word(static_cast<WORD>(width));
  Word(static_cast<WORD>(height));
  Word(id);
  Word(0xFFFF);
  Word(controlClass);
  Text(text);
  Word(0);  // no creation data
  ++words_[kItemCountWord];
  return *this;
}

}  // namespace kn::desk
