// The host's paint flow against the DLL built beside the tests: what the
// host puts in the settings and the saved block must show in the picture.
#include <gtest/gtest.h>

#include <algorithm>

#include "render_memo.h"
#include "test_files.h"

namespace kn::driver {
namespace {

// The tests run in the build folder, beside the DLL.
const std::wstring kDllBesideTheTests = L"kaleidonote.dll";

constexpr COLORREF kBack = RGB(255, 255, 200);
constexpr COLORREF kText = RGB(160, 0, 80);

RenderRequest Request(const std::string& memo) {
  RenderRequest request;
  request.dllPath = kDllBesideTheTests;
  request.memo = memo;
  request.textColor = kText;
  request.backColor = kBack;
  request.font = MakeNoteFont(kDefaultFace, -24, true);
  return request;
}

RenderResult Render(const RenderRequest& request) {
  RenderResult result;
  std::string error;
  EXPECT_TRUE(RenderMemo(request, result, error)) << error;
  return result;
}

std::size_t Count(const Picture& picture, COLORREF color) {
  return static_cast<std::size_t>(
      std::count(picture.pixels.begin(), picture.pixels.end(), PixelOf(color)));
}

// "■■■■": solid squares give many pixels in the text colour.
const std::string kSquares = "\x81\xa1\x81\xa1\x81\xa1\x81\xa1";

TEST(RenderMemo, EmptyMemoPaintsOnlyTheBackground) {
  const RenderResult result = Render(Request(""));
  ASSERT_FALSE(result.picture.pixels.empty());
  EXPECT_EQ(Count(result.picture, kBack), result.picture.pixels.size());
}

TEST(RenderMemo, TextInTheTextColourOnTheBackground) {
  const RenderResult result = Render(Request(kSquares));
  EXPECT_GT(Count(result.picture, kText), 100u);
  EXPECT_EQ(result.picture.At(0, 0), PixelOf(kBack));
}

TEST(RenderMemo, WindowTakesTheSizeTheChipProposes) {
  const RenderResult result = Render(Request(kSquares + "\r\n" + kSquares + kSquares));
  EXPECT_TRUE(result.sizeSettled);
  EXPECT_GE(result.sizingCalls, 2);  // the 100x100 start is not what it wants
  EXPECT_LE(result.sizingCalls, kMaxSizingCalls);
  // The picture is the client area: the outer size less a one-pixel border.
  EXPECT_EQ(result.picture.width, result.outerSize.cx - 2);
  EXPECT_EQ(result.picture.height, result.outerSize.cy - 2);
}

TEST(RenderMemo, LongerMemoGetsALargerWindow) {
  const RenderResult one = Render(Request(kSquares));
  const RenderResult two = Render(Request(kSquares + kSquares + "\r\n" + kSquares));
  EXPECT_GT(two.outerSize.cx, one.outerSize.cx);
  EXPECT_GT(two.outerSize.cy, one.outerSize.cy);
}

TEST(RenderMemo, GivenSizeIsKept) {
  RenderRequest request = Request(kSquares);
  request.outerSize = SIZE{240, 120};
  const RenderResult result = Render(request);
  EXPECT_EQ(result.sizingCalls, 0);
  EXPECT_EQ(result.outerSize.cx, 240);
  EXPECT_EQ(result.outerSize.cy, 120);
  EXPECT_EQ(result.picture.width, 238);
  EXPECT_EQ(result.picture.height, 118);
}

TEST(RenderMemo, ScrollModeFromTheSavedBlockDrawsTheBevel) {
  RenderRequest request = Request("");
  const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  ASSERT_NE(highlight, kBack);
  const RenderResult plain = Render(request);
  request.modes = SaveModes{};
  request.modes->scrollMode = IDM_SCROLL_MODE;
  const RenderResult scrolled = Render(request);
  const int middle = scrolled.picture.width / 2;
  EXPECT_EQ(plain.picture.At(middle, 0), PixelOf(kBack));
  EXPECT_EQ(scrolled.picture.At(middle, 0), PixelOf(highlight));
}

struct LinkCase {
  const char* name;
  std::int32_t id;
  COLORREF shown;
};

class RenderMemoLinks : public ::testing::TestWithParam<LinkCase> {};

TEST_P(RenderMemoLinks, LinkColourFromTheSavedBlock) {
  RenderRequest request = Request("http://example.com/kaleidonote");
  request.modes = SaveModes{};
  request.modes->linkColor = GetParam().id;
  const RenderResult result = Render(request);
  for (COLORREF color : {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)}) {
    SCOPED_TRACE("colour " + std::to_string(color));
    if (color == GetParam().shown) {
      EXPECT_GT(Count(result.picture, color), 20u);
    } else {
      EXPECT_EQ(Count(result.picture, color), 0u);
    }
  }
  EXPECT_EQ(Count(result.picture, kText), 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, RenderMemoLinks,
                         ::testing::Values(LinkCase{"Red", IDM_LINK_RED, RGB(255, 0, 0)},
                                           LinkCase{"Green", IDM_LINK_GREEN, RGB(0, 255, 0)},
                                           LinkCase{"Blue", IDM_LINK_BLUE, RGB(0, 0, 255)}),
                         [](const ::testing::TestParamInfo<LinkCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(RenderMemo, BoardModeShowsTheListedFileNotTheList) {
  ScratchFile board(L"board.txt");
  ASSERT_TRUE(board.Write(kSquares + kSquares + kSquares + "\r\n" + kSquares + "\r\n"));
  std::string list;
  for (wchar_t c : board.path()) list.push_back(static_cast<char>(c));  // an ASCII path
  RenderRequest request = Request(list);
  const RenderResult asMemo = Render(request);
  request.modes = SaveModes{};
  request.modes->boardMode = IDM_BOARD_MODE;
  const RenderResult asBoard = Render(request);
  EXPECT_NE(asBoard.picture.pixels, asMemo.picture.pixels);
  // Three squares in a row are wider than the path in this font.
  EXPECT_GT(Count(asBoard.picture, kText), Count(asMemo.picture, kText));
}

TEST(RenderMemo, MissingDllIsReported) {
  RenderRequest request = Request("x");
  request.dllPath = L"C:\\no-such-folder-kn\\kaleidonote.dll";
  RenderResult result;
  std::string error;
  EXPECT_FALSE(RenderMemo(request, result, error));
  EXPECT_NE(error.find("cannot load the DLL"), std::string::npos) << error;
  EXPECT_NE(error.find("no-such-folder-kn"), std::string::npos) << error;
}

TEST(RenderMemo, DllWithoutTheEntryPointsIsReported) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  RenderRequest request = Request("x");
  request.dllPath = std::wstring(system) + L"\\kernel32.dll";
  RenderResult result;
  std::string error;
  EXPECT_FALSE(RenderMemo(request, result, error));
  EXPECT_NE(error.find("does not export DrawExSpecification"), std::string::npos) << error;
}

}  // namespace
}  // namespace kn::driver
