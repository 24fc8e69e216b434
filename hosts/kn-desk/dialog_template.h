// Builds an in-memory dialog template (DLGTEMPLATE and its items) so that a
// dialog needs no resource script. Units are dialog units.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kn::desk {

class DialogTemplate {
 public:
  DialogTemplate(const std::wstring& title, short width, short height,
                 const std::wstring& fontFace = L"MS Shell Dlg", WORD pointSize = 9);

  // The predefined control classes, by their atoms.
  static constexpr WORD kButton = 0x0080;
  static constexpr WORD kEdit = 0x0081;
  static constexpr WORD kStatic = 0x0082;

  DialogTemplate& Add(WORD controlClass, WORD id, const std::wstring& text, DWORD style, short x,
                      short y, short width, short height);

  // Valid until the template changes.
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Word(WORD value) { words_.push_back(value); }
  void Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  void Text(const std::wstring& text);
  void AlignToDword() {
    if (words_.size() % 2 != 0) Word(0);
  }

  std::vector<WORD> words_;  // WORD-aligned by construction
};

}  // namespace kn::desk
