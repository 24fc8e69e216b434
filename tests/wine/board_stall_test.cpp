// Board files on a share that stalls, through the real DLL: every call of
// the host answers within the bound while reads are stuck, the board comes
// with the next tick once the share answers, and chips and the DLL itself go
// without waiting, their threads and handles back to their count after.
//
// The share is the project's stalling FUSE file system, which
// tests/wine/share/run_stall_tests.sh mounts; without it these tests report
// themselves skipped.
//
// The bound: on Windows a call waits at most 100 ms for a read. Here Wine runs
// under qemu emulation, where making a thread and the waits around it take
// far longer than on a real machine, so these tests hold each call to 1.5 s:
// what they tell apart is a call that waits for the share (each stalled file
// call takes 2 s, a board read makes several) from one that does not.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "plugin/board_reader.h"
#include "wine/harness/board_files.h"
#include "wine/harness/chip_fixture.h"
#include "wine/harness/reference_painter.h"
#include "wine/harness/scratch_folder.h"

namespace kn::wine {
namespace {

constexpr double kCallBoundMs = 1500;
// How long the share may take to answer every stuck read once it is back.
constexpr auto kShareBack = std::chrono::seconds(300);

std::string Environment(const char* name) {
  char value[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
  return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

int ThreadsOfThisProcess() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

// Wine's GetProcessHandleCount answers 0: the handles are counted by
// asking about every handle value in turn.
int HandlesOfThisProcess() {
  int count = 0;
  for (std::uintptr_t value = 4; value < 0x10000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

// Waits until `done` holds, looking every 100 ms; false when the share took
// longer than it may.
bool AwaitShare(const std::function<bool()>& done) {
  const auto start = std::chrono::steady_clock::now();
  while (!done()) {
    if (std::chrono::steady_clock::now() - start > kShareBack) return false;
    Sleep(100);
  }
  return true;
}

class BoardStallTest : public PaintTest {
 protected:
  void SetUp() override {
    share_ = Environment("KN_STALL_SHARE");
    backing_ = Environment("KN_STALL_BACKING");
    control_ = Environment("KN_STALL_CONTROL");
    if (share_.empty() || backing_.empty() || control_.empty()) {
      GTEST_SKIP() << "needs the stalling share that tests/wine/share/run_stall_tests.sh mounts (FUSE)";
    }
    PaintTest::SetUp();
  }
  void TearDown() override {
    if (!control_.empty()) Stall(false);
  }

  // While the control file exists every file call on the share waits 2 s.
  void Stall(bool on) {
    if (on) {
      ASSERT_TRUE(WriteWholeFile(control_, "")) << control_;
    } else {
      DeleteFileA(control_.c_str());
    }
  }

  // The file written behind the share's back; its path on the share.
  std::string WriteBoard(const std::string& name, const std::string& bytes) {
    EXPECT_TRUE(WriteWholeFile(backing_ + "\\" + name, bytes)) << name;
    return share_ + "\\" + name;
  }

  // The call's result, its wall time checked against the bound.
  int Timed(const char* what, const std::function<int()>& call) {
    const auto start = std::chrono::steady_clock::now();
    const int result = call();
    const double ms = MillisecondsSince(start);
    std::printf("  %-24s %8.1f ms\n", what, ms);
    EXPECT_LE(ms, kCallBoundMs) << what << " held the host";
    return result;
  }

  std::string share_, backing_, control_;
};

TEST_F(BoardStallTest, EveryCallAnswersWithinTheBoundAndTheBoardComesAfter) {
  const std::string path = WriteBoard("notice.txt", "first\n");
  ChipSettings settings;
  settings.Memo(BoardMemo({path})).WithModes(BoardModes(IDM_INTERVAL_1SEC, true, FarFutureCheck()));
  ScopedChip chip(settings);
  ASSERT_EQ(chip.initResult(), 0);
  ASSERT_EQ(chip.Update(settings), 1);
  WriteBoard("notice.txt", "second\n");
  int size[2] = {kWidth, kHeight};
  const int sizeAnswer = Api().CalcDefaultRect(chip.get(), hwnd(), size);
  Stall(true);

  const struct {
    const char* what;
    std::function<int()> call;
    int result;
  } calls[] = {
      {"DoTimer (starts a read)", [&] { return Api().DoTimer(chip.get()); }, 0},
      {"DoTimer", [&] { return Api().DoTimer(chip.get()); }, 0},
      {"Zoom", [&] { return Api().Zoom(chip.get(), 0, 1); }, 0},
      {"Zoom off", [&] { return Api().Zoom(chip.get(), 0, 0); }, 0},
      {"GetTimerSpan", [&] { return Api().GetTimerSpan(chip.get()); }, 2},
      {"DrawChip", [&] { return Paint(chip); }, 0},
      {"CalcDefaultRect", [&] {
         size[0] = kWidth;
         size[1] = kHeight;
         return Api().CalcDefaultRect(chip.get(), hwnd(), size);
       }, sizeAnswer},
      {"GetDrawExMenu", [&] {
         HMENU menu = static_cast<HMENU>(Api().GetDrawExMenu(chip.get()));
         return menu != nullptr && DestroyMenu(menu) ? 0 : 1;
       }, 0},
      {"GetSaveData", [&] {
         SaveBlock block{};
         return ReadSaveBlock(static_cast<HLOCAL>(chip.get()), block) ? 1 : 0;
       }, 1},
      {"Update", [&] { return chip.Update(settings); }, 1},
      {"DoDrawExMenu board off", [&] { return Api().DoDrawExMenu(chip.get(), hwnd(), IDM_BOARD_MODE); }, 3},
      {"DoDrawExMenu board on", [&] { return Api().DoDrawExMenu(chip.get(), hwnd(), IDM_BOARD_MODE); }, 3},
      {"DoTimer while reading", [&] { return Api().DoTimer(chip.get()); }, 0},
  };
  for (const auto& c : calls) EXPECT_EQ(Timed(c.what, c.call), c.result) << c.what;

  // The board switched on again while stuck: the reading line.
  ASSERT_EQ(Paint(chip), 0);
  Canvas reading(client());
  PaintReference(reading, client(),
                 {{std::string(kBoardReadingText)}, settings.textColor(), settings.backColor(), settings.font()});
  EXPECT_EQ(canvas().FirstDifference(reading), "") << "the reading line";

  Stall(false);
  const auto back = std::chrono::steady_clock::now();
  int delivered = 0;
  EXPECT_TRUE(AwaitShare([&] { return (delivered = Timed("DoTimer after", [&] { return Api().DoTimer(chip.get()); })) != 0; }));
  std::printf("  delivered %.0f ms after the share answered again\n", MillisecondsSince(back));
  EXPECT_EQ(delivered, 7) << "the new board, blink on";
  ASSERT_EQ(Paint(chip), 0);
  Canvas expected(client());
  PaintReference(expected, client(), {{"second"}, settings.textColor(), settings.backColor(), settings.font()});
  EXPECT_EQ(canvas().FirstDifference(expected), "") << "as the same file on a local disk paints";
}

TEST_F(BoardStallTest, ChipsMadeAndFreedWhileReadsAreStuckLeaveNothingBehind) {
  const std::string path = WriteBoard("status.txt", "status\n");
  ChipSettings settings;
  settings.Memo(BoardMemo({path})).WithModes(BoardModes(IDM_INTERVAL_1SEC, true, FarFutureCheck()));
  {  // the first read sets up what Wine keeps for the rest of the process
    ScopedChip warm(settings);
    ASSERT_EQ(warm.Update(settings), 1);
  }
  Sleep(500);
  const int threads = ThreadsOfThisProcess();
  const int handles = HandlesOfThisProcess();
  ASSERT_GT(threads, 0);
  ASSERT_GT(handles, 0);

  const char* requested = std::getenv("KN_STALL_CHIPS");
  const int chips = requested != nullptr ? std::atoi(requested) : 1000;
  Stall(true);
  double slowest = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < chips; ++i) {
    const auto call = std::chrono::steady_clock::now();
    ChipHandle chip = nullptr;
    ASSERT_EQ(Api().InitializeChip(&chip, 0, settings.record()), 0);
    ASSERT_EQ(Api().Update(chip, 0, settings.record()), 1);  // starts a read that sticks
    ASSERT_EQ(Api().UnInitializeChip(chip), 0);
    slowest = std::max(slowest, MillisecondsSince(call));
  }
  std::printf("  %d chips made, read and freed in %.0f ms, slowest %.1f ms\n", chips, MillisecondsSince(start),
              slowest);
  EXPECT_LE(slowest, 3 * kCallBoundMs) << "three calls";
  const int stuck = ThreadsOfThisProcess();
  std::printf("  threads %d before, %d while stuck; handles %d before\n", threads, stuck, handles);
  EXPECT_GT(stuck, threads) << "the reads stick on their own threads";

  Stall(false);
  EXPECT_TRUE(AwaitShare([&] { return ThreadsOfThisProcess() <= threads; }))
      << ThreadsOfThisProcess() << " threads, " << threads << " before";
  Sleep(500);
  EXPECT_EQ(ThreadsOfThisProcess(), threads);
  EXPECT_EQ(HandlesOfThisProcess(), handles);
}

TEST_F(BoardStallTest, DllUnloadedWhileAReadIsStuckStaysUntilTheReadEnds) {
  const std::wstring copy = L"kaleidonote_stall.dll";
  ASSERT_TRUE(CopyFileW(L"kaleidonote.dll", copy.c_str(), FALSE));
  const std::string path = WriteBoard("unload.txt", "x\n");
  ChipSettings settings;
  settings.Memo(BoardMemo({path})).WithModes(BoardModes(IDM_INTERVAL_1SEC, true, FarFutureCheck()));
  auto library = std::make_unique<driver::PluginLibrary>(copy);
  ASSERT_TRUE(library->ready()) << library->error();
  Stall(true);
  ChipHandle chip = nullptr;
  ASSERT_EQ(library->api().InitializeChip(&chip, 0, settings.record()), 0);
  EXPECT_EQ(Timed("Update (starts a read)", [&] { return library->api().Update(chip, 0, settings.record()); }), 1);
  EXPECT_EQ(Timed("UnInitializeChip", [&] { return library->api().UnInitializeChip(chip); }), 0);
  EXPECT_EQ(Timed("FreeLibrary", [&] {
              library.reset();
              return 0;
            }),
            0);
  EXPECT_NE(GetModuleHandleW(copy.c_str()), nullptr) << "the stuck thread keeps the DLL loaded";
  Stall(false);
  EXPECT_TRUE(AwaitShare([&] { return GetModuleHandleW(copy.c_str()) == nullptr; }))
      << "unloaded once the read ended";
  DeleteFileW(copy.c_str());
}

}  // namespace
}  // namespace kn::wine
