// The saved block as the chip expects the host to hold it: movable global
// memory that GetSaveData may resize and even replace.
#include "saved_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace kn::desk {
namespace {

std::vector<std::uint8_t> Bytes(std::size_t count, std::uint8_t first) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(first + i));
  return bytes;
}

// Stand-ins for the chip's GetSaveData, one behaviour each.
HGLOBAL g_handedIn = nullptr;
int __cdecl WritesInPlace(HLOCAL, int, HGLOBAL* block) {
  g_handedIn = *block;
  HGLOBAL grown = GlobalReAlloc(*block, 68, GMEM_MOVEABLE);
  if (!grown) return 0;
  *block = grown;
  auto* bytes = static_cast<std::uint8_t*>(GlobalLock(grown));
  std::memset(bytes, 0xAB, 68);
  GlobalUnlock(grown);
  return 1;
}
int __cdecl ReplacesTheBlock(HLOCAL, int, HGLOBAL* block) {
  GlobalFree(*block);
  *block = GlobalAlloc(GMEM_MOVEABLE, 68);
  auto* bytes = static_cast<std::uint8_t*>(GlobalLock(*block));
  std::memset(bytes, 0xCD, 68);
  GlobalUnlock(*block);
  return 1;
}
int __cdecl Refuses(HLOCAL, int, HGLOBAL*) { return 0; }
int __cdecl ShrinksTheBlock(HLOCAL, int, HGLOBAL* block) {
  *block = GlobalReAlloc(*block, 8, GMEM_MOVEABLE);
  return 1;
}
int __cdecl LosesTheBlock(HLOCAL, int, HGLOBAL* block) {
  GlobalFree(*block);
  *block = nullptr;
  return 1;
}

driver::EntryPoints WithSaveData(GetSaveDataFn fn) {
  driver::EntryPoints api;
  api.GetSaveData = fn;
  return api;
}

std::vector<std::uint8_t> Pointed(const SavedBlock& block, std::size_t count) {
  SavedBlock::Pointer pointer(block);
  const auto* bytes = static_cast<const std::uint8_t*>(pointer.get());
  return bytes ? std::vector<std::uint8_t>(bytes, bytes + count) : std::vector<std::uint8_t>();
}

TEST(DeskSavedBlock, IsPaddedToAFullBlockForTheChip) {
  for (std::size_t count : {0u, 4u, 8u, 68u}) {
    SCOPED_TRACE(count);
    const SavedBlock block(Bytes(count, 1));
    std::vector<std::uint8_t> expected = Bytes(count, 1);
    expected.resize(68, 0);
    EXPECT_EQ(block.Bytes(), expected);
    EXPECT_EQ(Pointed(block, 68), expected);
  }
  const SavedBlock larger(Bytes(100, 1));
  EXPECT_EQ(larger.Bytes(), Bytes(100, 1)) << "a larger block is kept whole";
}

TEST(DeskSavedBlock, TakesWhatTheChipWrote) {
  SavedBlock block(Bytes(68, 1));
  EXPECT_TRUE(block.Refresh(WithSaveData(&WritesInPlace), nullptr));
  EXPECT_NE(g_handedIn, nullptr) << "the chip got the host's block";
  EXPECT_EQ(block.Bytes(), std::vector<std::uint8_t>(68, 0xAB));
}

TEST(DeskSavedBlock, FollowsTheChipToAReplacedBlock) {
  SavedBlock block(Bytes(68, 1));
  EXPECT_TRUE(block.Refresh(WithSaveData(&ReplacesTheBlock), nullptr));
  EXPECT_EQ(block.Bytes(), std::vector<std::uint8_t>(68, 0xCD));
  EXPECT_EQ(Pointed(block, 68), std::vector<std::uint8_t>(68, 0xCD));
}

TEST(DeskSavedBlock, KeepsItsBytesWhenTheChipWritesNothing) {
  SavedBlock block(Bytes(68, 1));
  EXPECT_FALSE(block.Refresh(WithSaveData(&Refuses), nullptr));
  EXPECT_EQ(block.Bytes(), Bytes(68, 1));
}

TEST(DeskSavedBlock, StaysLargeEnoughForTheChipWhateverTheChipDid) {
  SavedBlock shrunk(Bytes(68, 1));
  shrunk.Refresh(WithSaveData(&ShrinksTheBlock), nullptr);
  std::vector<std::uint8_t> expected = Bytes(8, 1);
  expected.resize(68, 0);
  EXPECT_EQ(Pointed(shrunk, 68), expected);

  SavedBlock lost(Bytes(68, 1));
  lost.Refresh(WithSaveData(&LosesTheBlock), nullptr);
  EXPECT_EQ(Pointed(lost, 68), std::vector<std::uint8_t>(68, 0));
}

}  // namespace
}  // namespace kn::desk
