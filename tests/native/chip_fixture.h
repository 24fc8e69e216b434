// A chip driven through its portable logic with fake memory, a fixed clock
// and an in-memory file system, its board files read on threads of their
// own that the host's call waits for until they are done (a test may shut
// the gate of the file system to stall them).
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fake_file_system.h"
#ifndef _WIN32
#include "fake_reading_threads.h"
#endif
#include "fake_movable_memory.h"
#include "plugin/chip_logic.h"
#include "plugin/chip_text.h"
#include "plugin/host_contract.h"
#include "plugin/save_block.h"
#include "markup/civil_date.h"
#include "platform/system_cp932_encoder.h"

namespace kn::testing {

// The mingw build of these tests reads in the call: with the standard
// library's threads and waits of that build the program stopped under
// emulated Wine with an illegal instruction, and they are not what the DLL
// reads on (Win32 threads, which the Wine tests drive through the DLL).
#ifndef _WIN32
#define KN_READS_OFF_THREAD 1
#endif

class ChipFixture : public ::testing::Test {
 protected:
  ChipFixture() : clock(MakeLocalTime(2026, 12, 8, 10, 0, 0)) {}

  ~ChipFixture() override {
#ifdef KN_READS_OFF_THREAD
    gate.Open();
    if (chip) DestroyChip(env, chip);
    threads.AwaitIdle();
    EXPECT_EQ(threads.LiveReads(), 0) << "reads leaked";
    EXPECT_EQ(hostFiles.calls, 0) << "board files read on the host's thread";
#else
    if (chip) DestroyChip(env, chip);
#endif
    EXPECT_EQ(memory.LiveBlocks(), 0u) << "blocks leaked";
  }

  ChipSettingsView Settings(const char* memo, const std::uint8_t* saveData = nullptr) const {
    ChipSettingsView view{};
    view.memo = memo;
    view.textColor = MakeRgb(0, 0, 0);
    view.backColor = MakeRgb(255, 255, 224);
    view.font.lfHeight = -12;
    view.zoomed = 0;
    view.saveData = saveData ? saveData : kNoSaveData;
    return view;
  }

  // A save block with length 60 and the given modes.
  static std::vector<std::uint8_t> SaveData(std::int32_t interval, std::int32_t link,
                                            std::int32_t blink, std::int32_t board,
                                            std::int32_t scroll, BrokenDownTime lastCheck = {}) {
    ChipState modes{};
    modes.interval = interval;
    modes.linkColor = link;
    modes.blink = blink;
    modes.boardMode = board;
    modes.scrollMode = scroll;
    modes.lastCheck = lastCheck;
    std::uint8_t block[kSaveBlockSize];
    PackSaveBlock(&modes, block);
    return {block, block + kSaveBlockSize};
  }

  void Create(const char* memo, const std::uint8_t* saveData = nullptr) {
    chip = CreateChip(env, Settings(memo, saveData));
    ASSERT_NE(chip, nullptr);
  }

  ChipState State() {
    BlockLock lock(memory, chip);
    EXPECT_TRUE(lock);
    return *lock.as<ChipState>();
  }

  template <typename Change>
  void Modify(Change change) {
    BlockLock lock(memory, chip);
    change(*lock.as<ChipState>());
  }

  std::string Shown() {
    const ChipState state = State();
    const TextLock text(memory, state.displayText);
    return std::string(text.view());
  }

  static constexpr std::uint8_t kNoSaveData[4] = {0, 0, 0, 0};

  FakeMovableMemory memory;
  FixedClock clock;
  FakeFileSystem files;
  SystemCp932Encoder encoder;
#ifdef KN_READS_OFF_THREAD
  GatedFileSystem gate{files};
  TestReadingThreads threads{gate, encoder};
  HostThreadFiles hostFiles{files};
  ChipEnv env{memory, clock, hostFiles, &encoder, &threads};
#else
  ChipEnv env{memory, clock, files, &encoder};
#endif
  BlockHandle chip = nullptr;
};

}  // namespace kn::testing
