#include "button_row.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/win32_owners.h"

namespace kn::desk {
namespace {

// Dialog units to pixels, horizontally, in this dialog's font.
int DialogUnits(HWND dialog, int units) {
  RECT rect{0, 0, units, 0};
  MapDialogRect(dialog, &rect);
  return rect.right;
}

RECT RectInDialog(HWND dialog, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void Place(HWND control, int x, int y, int width, int height) {
  SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// A label as it is drawn: "&&" is one '&', a single '&' marks the access key.
std::wstring LabelAsDrawn(const std::wstring& label) {
  std::wstring drawn;
  for (std::size_t i = 0; i < label.size(); ++i) {
    if (label[i] == L'&' && i + 1 < label.size()) ++i;
    else if (label[i] == L'&') continue;
    drawn += label[i];
  }
  return drawn;
}

}  // namespace

int ButtonWidthForText(HWND button) {
  const int length = GetWindowTextLengthW(button);
  std::wstring label(static_cast<std::size_t>(length) + 1, L'\0');
  label.resize(static_cast<std::size_t>(GetWindowTextW(button, label.data(), length + 1)));
  const std::wstring drawn = LabelAsDrawn(label);
  WindowDc dc(button);
  if (!dc.get()) return 0;
  SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(button, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), drawn.c_str(), static_cast<int>(drawn.size()), &size);
  // 5 dialog units either side, as the dialogs of Windows leave them.
  return size.cx + DialogUnits(GetParent(button), 10);
}

void LayOutButtonRow(HWND dialog, const std::vector<int>& left, const std::vector<int>& right,
                     const std::vector<int>& stretched) {
  const int margin = DialogUnits(dialog, 7);
  const int gap = DialogUnits(dialog, 4);
  struct Button {
    HWND window;
    RECT rect;
    int width;
  };
  const auto row = [&](const std::vector<int>& ids) {
    std::vector<Button> buttons;
    int total = 0;
    for (int id : ids) {
      HWND window = GetDlgItem(dialog, id);
      if (!window) continue;
      const RECT rect = RectInDialog(dialog, window);
      const int width = std::max(static_cast<int>(rect.right - rect.left), ButtonWidthForText(window));
      buttons.push_back(Button{window, rect, width});
      total += width + (buttons.size() > 1 ? gap : 0);
    }
    return std::make_pair(buttons, total);
  };
  const auto [leftButtons, leftWidth] = row(left);
  const auto [rightButtons, rightWidth] = row(right);
  RECT client{};
  GetClientRect(dialog, &client);
  const int needed = margin + leftWidth + (leftWidth > 0 && rightWidth > 0 ? gap * 3 : 0) + rightWidth + margin;
  const int grow = std::max(0, needed - static_cast<int>(client.right));
  if (grow > 0) {
    RECT window{};
    GetWindowRect(dialog, &window);
    SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left + grow, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int id : stretched) {
      if (HWND control = GetDlgItem(dialog, id)) {
        const RECT rect = RectInDialog(dialog, control);
        Place(control, rect.left, rect.top, rect.right - rect.left + grow, rect.bottom - rect.top);
      }
    }
  }
  int x = margin;
  for (const Button& b : leftButtons) {
    Place(b.window, x, b.rect.top, b.width, b.rect.bottom - b.rect.top);
    x += b.width + gap;
  }
  x = static_cast<int>(client.right) + grow - margin - rightWidth;
  for (const Button& b : rightButtons) {
    Place(b.window, x, b.rect.top, b.width, b.rect.bottom - b.rect.top);
    x += b.width + gap;
  }
}

}  // namespace kn::desk
