// BoardText: a board held in blocks that never move. What it holds must be
// exactly the bytes appended, across every block boundary.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/board_loader.h"

namespace kn {
namespace {

std::string Pattern(std::size_t n, unsigned seed) {
  std::string bytes(n, '\0');
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>((i * 131 + seed) & 0xFF);
  return bytes;
}

struct AppendCase {
  const char* name;
  std::vector<std::size_t> pieces;
};

class BoardTextAppend : public testing::TestWithParam<AppendCase> {};

TEST_P(BoardTextAppend, HoldsExactlyWhatWasAppended) {
  BoardText board;
  std::string expected;
  unsigned seed = 1;
  for (std::size_t size : GetParam().pieces) {
    const std::string piece = Pattern(size, seed++);
    board.Append(piece);
    expected += piece;
  }
  EXPECT_EQ(board.Size(), expected.size());
  EXPECT_EQ(board.Join(), expected);
  EXPECT_TRUE(board.Equals(expected));

  // CopyTo writes Size() bytes and not one more.
  std::string out(expected.size() + 4, '#');
  board.CopyTo(&out[0]);
  EXPECT_EQ(out.substr(0, expected.size()), expected);
  EXPECT_EQ(out.substr(expected.size()), "####");
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, BoardTextAppend,
    testing::Values(AppendCase{"Nothing", {}}, AppendCase{"EmptyPieces", {0, 0, 0}},
                    AppendCase{"OneSmall", {10}}, AppendCase{"FillsTheFirstBlock", {4096}},
                    AppendCase{"OneOverTheFirstBlock", {4097}},
                    AppendCase{"ManySmallAcrossBlocks", std::vector<std::size_t>(3000, 37)},
                    AppendCase{"OneLargerThanTheLargestBlock", {200000}},
                    AppendCase{"MixedAroundBoundaries", {4095, 1, 1, 65535, 2, 65536, 131073, 0, 5}}),
    [](const testing::TestParamInfo<AppendCase>& info) { return std::string(info.param.name); });

TEST(BoardTextEquals, TellsEveryDifference) {
  const std::string text = Pattern(70000, 7);
  BoardText board;
  board.Append(text.substr(0, 5000));
  board.Append(text.substr(5000));

  EXPECT_TRUE(board.Equals(text));
  EXPECT_FALSE(board.Equals(text.substr(0, text.size() - 1)));  // shorter
  EXPECT_FALSE(board.Equals(text + "x"));                       // longer
  for (std::size_t at : {std::size_t{0}, std::size_t{4095}, std::size_t{4096}, std::size_t{69999}}) {
    std::string changed = text;
    changed[at] = static_cast<char>(changed[at] ^ 1);
    EXPECT_FALSE(board.Equals(changed)) << "byte " << at;
  }
}

TEST(BoardTextEquals, EmptyBoardEqualsOnlyTheEmptyText) {
  const BoardText board;
  EXPECT_TRUE(board.Equals(""));
  EXPECT_FALSE(board.Equals(std::string(1, '\0')));
}

}  // namespace
}  // namespace kn
