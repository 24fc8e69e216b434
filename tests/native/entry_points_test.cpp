// The entry points' own rules, over fake services: what reaches the host
// when it hands over nothing to write to.
#include "plugin/entry_points.h"

#include <gtest/gtest.h>

#include "fake_desktop.h"
#include "fake_file_system.h"
#include "fake_host_memory.h"
#include "fake_movable_memory.h"
#include "markup/civil_date.h"

namespace kn::testing {
namespace {

class EntryPoints : public ::testing::Test {
 protected:
  EntryPoints() : clock(MakeLocalTime(2026, 12, 8, 10, 0, 0)) {
    settings.memo = "memo";
    settings.saveData = kNoSaveBlock;
  }

  static constexpr std::uint8_t kNoSaveBlock[4] = {};
  FakeMovableMemory memory;
  FakeHostMemory hostMemory;
  FixedClock clock;
  FakeFileSystem files;
  RefusingCp932Encoder encoder;
  FakeDesktop desktop;
  Services services{memory, hostMemory, clock, files, encoder, desktop};
  ChipSettings settings{};
};

TEST_F(EntryPoints, InitializeChipWithoutAPlaceForTheHandleMakesNoChip) {
  EXPECT_EQ(entry::InitializeChip(services, nullptr, &settings), kChipNotCreated);
  EXPECT_EQ(memory.LiveBlocks(), 0u) << "a chip nobody can free was made";
}

TEST_F(EntryPoints, InitializeChipWithoutSettingsAnswersANullHandle) {
  ChipHandle chip = reinterpret_cast<ChipHandle>(0x1234);
  EXPECT_EQ(entry::InitializeChip(services, &chip, nullptr), kChipNotCreated);
  EXPECT_EQ(chip, nullptr);
  EXPECT_EQ(memory.LiveBlocks(), 0u);
}

TEST_F(EntryPoints, ChipMadeAndFreedLeavesNothingBehind) {
  ChipHandle chip = nullptr;
  ASSERT_EQ(entry::InitializeChip(services, &chip, &settings), kChipCreated);
  ASSERT_NE(chip, nullptr);
  EXPECT_EQ(memory.LiveBlocks(), 3u) << "the state, the shown text and the memo copy";
  EXPECT_EQ(entry::UnInitializeChip(services, chip), 0);
  EXPECT_EQ(memory.LiveBlocks(), 0u);
}

TEST_F(EntryPoints, AllocationFailureMakesNoChip) {
  memory.failAllocations = true;
  ChipHandle chip = reinterpret_cast<ChipHandle>(0x1234);
  EXPECT_EQ(entry::InitializeChip(services, &chip, &settings), kChipNotCreated);
  EXPECT_EQ(chip, nullptr);
}

}  // namespace
}  // namespace kn::testing
