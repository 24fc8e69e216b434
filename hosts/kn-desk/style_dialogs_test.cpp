// The font dialog as a person meets it from a chip's menu: it opens on the
// face and size the chip is drawn with, OK on what it shows changes nothing,
// and a size the person picks is taken.
#include "style_dialogs.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <string>

#include "record_bridge.h"
#include "wine/harness/dialog_driver.h"

namespace kn::desk {
namespace {

using wine::DialogDriver;

struct Shown {
  std::wstring face;
  std::wstring size;
};

TEST(DeskFontDialog, OpensOnTheChipsFontAndOkAloneChangesNothing) {
  for (const int height : {-12, -14, -16}) {
    SCOPED_TRACE(height);
    FontChoice font;  // ＭＳ ゴシック, which this system may draw with another face
    font.height = height;
    const FontChoice before = font;
    std::uint32_t color = 0x102030;
    Shown shown;
    DialogDriver driver([&](HWND dialog) {
      shown = Shown{DialogDriver::Text(dialog, cmb1), DialogDriver::Text(dialog, cmb3)};
      DialogDriver::Press(dialog, IDOK);
    });
    ASSERT_TRUE(driver.installed());
    EXPECT_FALSE(ChooseChipFont(nullptr, font, color)) << "OK alone is no change";
    EXPECT_EQ(driver.acted(), 1);
    EXPECT_TRUE(font == before);
    EXPECT_EQ(color, 0x102030u);
    EXPECT_EQ(shown.face, FaceInUse(ToChipFont(before))) << Narrow(shown.face);
    EXPECT_NE(shown.face.substr(0, 1), L"@") << "a vertical face draws the text on its side";
    // 96 dots per inch: 12 pixels are 9 points, 16 are 12.
    const std::wstring points = height == -12 ? L"9" : height == -16 ? L"12" : L"";
    if (!points.empty()) EXPECT_EQ(shown.size, points);
  }
}

TEST(DeskFontDialog, ASizeThePersonPicksIsTaken) {
  FontChoice font;
  std::uint32_t color = 0;
  DialogDriver driver([](HWND dialog) {
    HWND sizes = GetDlgItem(dialog, cmb3);
    SendMessageW(sizes, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"20"));
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb3, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(sizes));
    DialogDriver::Press(dialog, IDOK);
  });
  ASSERT_TRUE(ChooseChipFont(nullptr, font, color));
  EXPECT_LT(font.height, -24) << "20 points are about 27 pixels";
  EXPECT_EQ(font.weight, 400);
}

}  // namespace
}  // namespace kn::desk
