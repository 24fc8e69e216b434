// A re-read board written straight into the chip's new block while it is
// compared with the text shown: unchanged text keeps its block, a change is
// written once, and running out of memory leaves the chip without a text.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "native/fake_movable_memory.h"
#include "plugin/chip_text.h"

namespace kn::testing {
namespace {

struct Shown {
  BlockHandle block = nullptr;
  std::int32_t length = 0;
};

Shown Store(FakeMovableMemory& memory, const std::string& text) {
  Shown shown;
  shown.length = StoreText(memory, shown.block, text);
  return shown;
}

std::string TextOf(FakeMovableMemory& memory, const Shown& shown) {
  const TextLock lock(memory, shown.block, shown.length);
  return std::string(lock.view());
}

// Appends the pieces (with a size expected ahead) and finishes.
bool Replace(FakeMovableMemory& memory, Shown& shown, const std::vector<std::string>& pieces,
             std::size_t expected) {
  DisplayTextReplacement replacement(memory, shown.block, shown.length);
  if (expected != 0) replacement.Expect(expected);
  for (const std::string& piece : pieces) replacement.Append(piece);
  return replacement.Finish(shown.block, shown.length);
}

TEST(DisplayTextReplacement, BuildsTheNewTextAndTellsWhetherItChanged) {
  const struct {
    const char* name;
    std::string shown;
    std::vector<std::string> pieces;
    std::size_t expected;
    bool changed;
  } cases[] = {
      {"same text in pieces", "a\r\nbc", {"a", "\r\n", "bc"}, 6, false},
      {"differs in the middle", "a\r\nbc", {"a", "\r\n", "bX"}, 6, true},
      {"shorter: the start of the shown text", "a\r\nbc", {"a"}, 1, true},
      {"longer than the shown text", "a", {"a", "\r\n", "b"}, 0, true},
      {"larger than expected: the block grows", "x", {std::string(5000, 'y'), std::string(7000, 'z')}, 10, true},
      {"nothing shown before", "", {"new"}, 3, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMovableMemory memory;
    Shown shown = c.shown.empty() ? Shown{} : Store(memory, c.shown);
    const BlockHandle before = shown.block;
    std::string joined;
    for (const std::string& piece : c.pieces) joined += piece;
    EXPECT_EQ(Replace(memory, shown, c.pieces, c.expected), c.changed);
    EXPECT_EQ(TextOf(memory, shown), c.changed ? joined : c.shown);
    EXPECT_EQ(shown.length, static_cast<std::int32_t>(c.changed ? joined.size() : c.shown.size()));
    if (!c.changed) EXPECT_EQ(shown.block, before) << "an unchanged text keeps its block";
    if (c.changed) EXPECT_EQ(memory.SizeOf(shown.block), joined.size() + 1) << "the room made ahead goes back";
    EXPECT_EQ(memory.LiveBlocks(), 1u);
    EXPECT_EQ(memory.HeldLocks(), 0);
  }
}

TEST(DisplayTextReplacement, RunningOutOfMemoryLeavesNoText) {
  for (const bool whileGrowing : {false, true}) {
    SCOPED_TRACE(whileGrowing ? "the block cannot grow" : "no block at all");
    FakeMovableMemory memory;
    Shown shown = Store(memory, "old");
    {
      DisplayTextReplacement replacement(memory, shown.block, shown.length);
      replacement.Append("o");
      if (whileGrowing) replacement.Append("N");  // the new block is made here
      memory.failAllocations = true;
      replacement.Append(std::string(100000, 'n'));
      memory.failAllocations = false;
      EXPECT_TRUE(replacement.Finish(shown.block, shown.length));
    }
    EXPECT_EQ(shown.block, nullptr);
    EXPECT_EQ(shown.length, 0);
    EXPECT_EQ(memory.LiveBlocks(), 0u);
    EXPECT_EQ(memory.HeldLocks(), 0);
  }
}

TEST(DisplayTextReplacement, UnlockableShownTextCountsAsChanged) {
  FakeMovableMemory memory;
  Shown shown = Store(memory, "same");
  memory.unlockable.insert(shown.block);
  EXPECT_TRUE(Replace(memory, shown, {"same"}, 4));
  EXPECT_EQ(TextOf(memory, shown), "same");
  EXPECT_EQ(memory.LiveBlocks(), 1u);
}

}  // namespace
}  // namespace kn::testing
