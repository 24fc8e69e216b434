// A memo that uses every kind of line markup paints exactly what GDI paints
// when the expected visible texts are drawn directly, each with the font,
// colour and alignment its markup asks for.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "wine/harness/chip_fixture.h"
#include "wine/harness/styled_reference.h"

namespace kn::wine {
namespace {

struct Day {
  int year;
  int month;  // 1-12
  int day;
};

// The calendar day `days` after the local day of `base`.
Day DayAfter(std::time_t base, int days) {
  std::tm t = *std::localtime(&base);
  t.tm_mday += days;
  t.tm_hour = 12;  // clear of any daylight-saving shift
  t.tm_isdst = -1;
  std::mktime(&t);
  return Day{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday};
}

std::string Digits8(const Day& day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", day.year, day.month, day.day);
  return text;
}

// Days from `now` to the target date at the same time of day, as a
// countdown counts them.
int DaysUntil(const Day& target, std::time_t now) {
  std::tm t = *std::localtime(&now);
  t.tm_year = target.year - 1900;
  t.tm_mon = target.month - 1;
  t.tm_mday = target.day;
  const std::time_t then = std::mktime(&t);
  return static_cast<int>((then - now) / 86400);
}

// Full-width digits and minus sign, code page 932.
std::string FullWidth(int number) {
  std::string out;
  for (char c : std::to_string(number)) {
    if (c == '-') {
      out += "\x81\x7C";  // "－"
    } else {
      out += '\x82';
      out += static_cast<char>(0x4F + (c - '0'));  // "０" .. "９"
    }
  }
  return out;
}

std::string DateText(std::time_t now) {
  static const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  const std::tm t = *std::localtime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %s", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                kWeekdays[t.tm_wday]);
  return text;
}

constexpr COLORREF kTextColor = RGB(40, 40, 40);
constexpr COLORREF kBackColor = RGB(255, 255, 204);
constexpr COLORREF kLinkBlue = RGB(0, 0, 255);

// The memo's countdown dates, fixed when the memo is written.
struct Targets {
  Day ahead;  // ten days after the day the memo was written
  Day past;   // three days before it
};

std::string MarkupMemo(const Targets& targets) {
  const std::vector<std::string> lines = {
      "#|plain left",
      "$c\x90\xD4" "b|\x92\x86\x89\x9B bold",  // "$c赤b|中央 bold"
      "%c0080ffi|right italic",
      "#su|strike under",
      "#+2|bigger",
      "#-2|smaller",
      "#FACE=\"IPAMincho\"|\x96\xBE\x92\xA9 face",  // "明朝 face"
      "#FACEA=\"Liberation Serif\"|ANSI face",
      "#|today %dateyyyy-mm-dd www%",
      "#c\x90\xD4|\x82\xA0\x82\xC6%!" + Digits8(targets.ahead) + "%\x93\xFA",  // "#c赤|あと%!…%日"
      "#c\x97\xCE|%!" + Digits8(targets.past) + "%\x93\xFA\x8C\x6F\x89\xDF",    // "#c緑|%!…%日経過"
      "#|\x8E\x63\x82\xE8%$" + Digits8(targets.ahead) + "%\x93\xFA",          // "#|残り%$…%日"
      "http://example.com/",
      "#c\x90\xD4|!=\x90\xD4\x82\xA2\x83\x8A\x83\x93\x83N|notepad.exe",  // "#c赤|!=赤いリンク|notepad.exe"
  };
  std::string memo;
  for (const std::string& line : lines) memo += line + "\r\n";
  return memo;
}

LOGFONTA Styled(const LOGFONTA& base, void (*change)(LOGFONTA&)) {
  LOGFONTA font = base;
  change(font);
  return font;
}

void SetFace(LOGFONTA& font, const char* face, BYTE charset) {
  lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
  font.lfCharSet = charset;
}

// What the chip must show at `now` (the date and the day counts depend on it).
std::vector<StyledLine> ExpectedLines(const LOGFONTA& base, const Targets& targets, std::time_t now) {
  const LOGFONTA bold = Styled(base, [](LOGFONTA& f) { f.lfWeight = FW_BOLD; });
  const LOGFONTA italic = Styled(base, [](LOGFONTA& f) { f.lfItalic = 1; });
  const LOGFONTA strikeUnder = Styled(base, [](LOGFONTA& f) {
    f.lfStrikeOut = 1;
    f.lfUnderline = 1;
  });
  const LOGFONTA bigger = Styled(base, [](LOGFONTA& f) { f.lfHeight = -16; });
  const LOGFONTA smaller = Styled(base, [](LOGFONTA& f) { f.lfHeight = -8; });
  // The face names reach the font upper-cased, as the prefix is read.
  const LOGFONTA mincho = Styled(base, [](LOGFONTA& f) { SetFace(f, "IPAMINCHO", SHIFTJIS_CHARSET); });
  const LOGFONTA serif = Styled(base, [](LOGFONTA& f) { SetFace(f, "LIBERATION SERIF", ANSI_CHARSET); });
  const LOGFONTA underlined = Styled(base, [](LOGFONTA& f) { f.lfUnderline = 1; });
  const int ahead = DaysUntil(targets.ahead, now);
  const int past = DaysUntil(targets.past, now);
  return {
      {"plain left", base, kTextColor, DT_LEFT},
      {"\x92\x86\x89\x9B bold", bold, RGB(255, 0, 0), DT_CENTER},
      {"right italic", italic, RGB(0, 0x80, 0xFF), DT_RIGHT},
      {"strike under", strikeUnder, kTextColor, DT_LEFT},
      {"bigger", bigger, kTextColor, DT_LEFT},
      {"smaller", smaller, kTextColor, DT_LEFT},
      {"\x96\xBE\x92\xA9 face", mincho, kTextColor, DT_LEFT},
      {"ANSI face", serif, kTextColor, DT_LEFT},
      {"today " + DateText(now), base, kTextColor, DT_LEFT},
      // Days still ahead: the prefix colour waits for the date.
      {"\x82\xA0\x82\xC6" + std::to_string(ahead) + "\x93\xFA", base, kTextColor, DT_LEFT},
      // The date has passed: the prefix colour applies.
      {std::to_string(past) + "\x93\xFA\x8C\x6F\x89\xDF", base, RGB(0, 128, 0), DT_LEFT},
      {"\x8E\x63\x82\xE8" + FullWidth(ahead) + "\x93\xFA", base, kTextColor, DT_LEFT},
      {"http://example.com/", underlined, kLinkBlue, DT_LEFT},
      // A link coloured by its markup keeps that colour.
      {"\x90\xD4\x82\xA2\x83\x8A\x83\x93\x83N", underlined, RGB(255, 0, 0), DT_LEFT},
  };
}

class MarkupPixelsTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    if (HasFatalFailure()) return;
    window_ = std::make_unique<TestWindow>(420, 280);
    ASSERT_NE(window_->hwnd(), nullptr) << "CreateWindowExA failed, error " << GetLastError();
  }

  RECT client() const { return window_->ClientRect(); }

  // The first difference between `painted` and the expected lines, or "".
  std::string Compare(const Canvas& painted, const std::vector<StyledLine>& lines) {
    Canvas expected(client());
    const int bottom = PaintStyledReference(expected, client(), kBackColor, lines);
    EXPECT_LT(bottom, TextRect(client()).bottom) << "the expected lines do not all fit the window";
    return painted.FirstDifference(expected);
  }

  // Whether one line drawn in these two fonts looks different at all.
  bool FontsLookDifferent(const std::string& text, const LOGFONTA& a, const LOGFONTA& b) {
    Canvas first(client());
    Canvas second(client());
    PaintStyledReference(first, client(), kBackColor, {{text, a, kTextColor, DT_LEFT}});
    PaintStyledReference(second, client(), kBackColor, {{text, b, kTextColor, DT_LEFT}});
    return !first.FirstDifference(second).empty();
  }

  std::unique_ptr<TestWindow> window_;
};

TEST_F(MarkupPixelsTest, EveryFeaturePaintsAsGdiDrawsTheExpectedLines) {
  const std::time_t written = std::time(nullptr);
  const Targets targets{DayAfter(written, 10), DayAfter(written, -3)};
  ChipSettings settings;
  settings.Memo(MarkupMemo(targets)).TextColor(kTextColor).BackColor(kBackColor);
  const LOGFONTA base = settings.font();
  ScopedChip chip(settings);
  ASSERT_EQ(chip.initResult(), 0);

  // The two faces must look unlike the base font, or a face the chip ignored
  // would go unnoticed.
  const std::vector<StyledLine> atSetup = ExpectedLines(base, targets, written);
  ASSERT_TRUE(FontsLookDifferent(atSetup[6].text, base, atSetup[6].font)) << "IPAMincho is not installed";
  ASSERT_TRUE(FontsLookDifferent(atSetup[7].text, base, atSetup[7].font)) << "Liberation Serif is not installed";

  Canvas painted(client());
  ASSERT_TRUE(painted.ok());
  painted.Fill(RGB(1, 2, 3));
  const std::time_t before = std::time(nullptr);
  ASSERT_EQ(Api().DrawChip(chip.get(), window_->hwnd(), painted.dc()), 0);
  const std::time_t after = std::time(nullptr);

  // Around midnight the paint may have seen either day.
  std::string difference = Compare(painted, ExpectedLines(base, targets, before));
  if (!difference.empty() && DateText(before) != DateText(after)) {
    const std::string later = Compare(painted, ExpectedLines(base, targets, after));
    if (later.empty()) difference.clear();
  }
  EXPECT_EQ(difference, "");
}

}  // namespace
}  // namespace kn::wine
