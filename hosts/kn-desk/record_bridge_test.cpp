// Between the settings file's records and what the chip and the dialogs take.
#include "record_bridge.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "memo_dialog.h"

namespace kn::desk {
namespace {

const char kGothicUtf8[] = u8"\uff2d\uff33 \u30b4\u30b7\u30c3\u30af";               // ＭＳ ゴシック
const char kGothicSjis[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";  // the same in code page 932

TEST(DeskRecordBridge, ColoursTurnIntoColorRefsAndBack) {
  for (std::uint32_t rgb : {0x000000u, 0xFFFFFFu, 0x123456u, 0xFF0000u, 0x00FF00u, 0x0000FFu}) {
    const COLORREF color = ToColorRef(rgb);
    EXPECT_EQ(GetRValue(color), (rgb >> 16) & 0xFF);
    EXPECT_EQ(GetGValue(color), (rgb >> 8) & 0xFF);
    EXPECT_EQ(GetBValue(color), rgb & 0xFF);
    EXPECT_EQ(FromColorRef(color), rgb);
  }
}

TEST(DeskRecordBridge, TheChipGetsItsTextInCodePage932) {
  EXPECT_EQ(ToChipText(std::string(kGothicUtf8)), kGothicSjis);
  EXPECT_EQ(FromChipText(kGothicSjis), kGothicUtf8);
  EXPECT_EQ(ToChipText(std::string("a\r\nb")), "a\r\nb");
  // 〜 U+301C and − U+2212 as JIS-based text has them are the code page's
  // own; a character the code page lacks becomes one 〓, never a lost line.
  EXPECT_EQ(ToChipText(std::string(u8"\u301C\u2212")), "\x81\x60\x81\x7C");
  EXPECT_EQ(ToChipText(std::string(u8"x\U0001F600y\r\nz")), "x\x81\xACy\r\nz");
}

TEST(DeskRecordBridge, TheChipFontCarriesEveryChoice) {
  FontChoice choice;
  choice.face = kGothicUtf8;
  choice.height = -20;
  choice.weight = 700;
  choice.italic = true;
  choice.underline = true;
  choice.strikeOut = true;
  choice.charset = 128;
  choice.pitchAndFamily = 49;
  const LOGFONTA font = ToChipFont(choice);
  EXPECT_STREQ(font.lfFaceName, kGothicSjis);
  EXPECT_EQ(font.lfHeight, -20);
  EXPECT_EQ(font.lfWeight, 700);
  EXPECT_TRUE(font.lfItalic && font.lfUnderline && font.lfStrikeOut);
  EXPECT_EQ(font.lfCharSet, 128);
  EXPECT_EQ(font.lfPitchAndFamily, 49);
  EXPECT_TRUE(FromDialogFont(ToDialogFont(choice)) == choice);
}

TEST(DeskRecordBridge, ALongFaceIsCutBetweenCharacters) {
  FontChoice choice;
  choice.face = "a";
  for (int i = 0; i < 20; ++i) choice.face += u8"\u3042";  // あ: two bytes in code page 932
  const LOGFONTA font = ToChipFont(choice);
  EXPECT_EQ(std::strlen(font.lfFaceName), 31u) << "1 + 15 double-byte characters";
  EXPECT_EQ(static_cast<unsigned char>(font.lfFaceName[29]), 0x82u);
}

TEST(DeskRecordBridge, DialogFontsOutsideTheFileBoundsAreClamped) {
  LOGFONTW font{};
  font.lfHeight = -4000;
  font.lfWeight = 5000;
  const FontChoice choice = FromDialogFont(font);
  EXPECT_EQ(choice.height, -kMaxFontHeight);
  EXPECT_EQ(choice.weight, kMaxWeight);
}

TEST(DeskRecordBridge, PluginSettingsPointAtTheMemoAndTheBlock) {
  ChipRecord record;
  record.memo = kGothicUtf8;
  record.textRgb = 0x010203;
  record.backRgb = 0x040506;
  record.zoomed = true;
  const SaveBlock block = driver::EmptySaveBlock();
  const PluginSettings settings(record, &block);
  EXPECT_STREQ(settings.get()->memo, kGothicSjis);
  EXPECT_EQ(settings.get()->textColor, RGB(1, 2, 3));
  EXPECT_EQ(settings.get()->backColor, RGB(4, 5, 6));
  EXPECT_EQ(settings.get()->zoomed, 1);
  EXPECT_EQ(settings.get()->saveData, &block);
  const PluginSettings unlocked(record, nullptr);
  ASSERT_NE(unlocked.get()->saveData, nullptr) << "the chip's settings never carry a null block";
  EXPECT_EQ(*static_cast<const std::int32_t*>(unlocked.get()->saveData), 0);
}

TEST(DeskMemoEditor, ShowsEveryLineBreakAsTheEditBoxNeedsIt) {
  struct Case {
    std::string memo;
    std::wstring shown;
  } cases[] = {
      {"", L""},
      {"a\r\nb", L"a\r\nb"},
      {"a\nb\n", L"a\r\nb\r\n"},
      {"a\rb", L"a\r\nb"},
      {"\n\r\n\r", L"\r\n\r\n\r\n"},
      {u8"\u4ed8\n\u7b8b", L"\u4ed8\r\n\u7b8b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.memo);
    EXPECT_EQ(EditorText(c.memo), c.shown);
  }
}

}  // namespace
}  // namespace kn::desk
