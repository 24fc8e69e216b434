// What reading a board off the host's thread costs a tick: a chip with a
// 50-line board on the local disk, blink on, ticked as the host drives it
// (re-read every tick, paint only on 3 or 7; the file does not change, so
// no tick paints). Read in the call, as before, and on a thread of its own
// that the call waits for. Wall time per tick and processor time of the
// whole process (the reading thread's included), and the processor time of
// the hand-off alone (a read that reads nothing), the least a tick read off
// the host's thread can cost more. Prints KNBENCH rows.
//
//   board_reader_bench [--ticks=N] [--reps=N] [--only=in-call|reading-thread]
//
// --only runs one of the two, for a profiler's view of it alone.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/std_file_system.h"
#include "platform/std_reading_threads.h"
#include "platform/system_clock.h"
#include "platform/system_cp932_encoder.h"
#include "plugin/chip_logic.h"
#include "plugin/host_contract.h"
#include "plugin/save_block.h"
#include "native/fake_movable_memory.h"

namespace {

double CpuMicroseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

double WallMicroseconds() {
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

// Fifty lines of a notice board, some with stamps, in code page 932.
std::string FiftyLineBoard() {
  std::string text;
  for (int i = 0; i < 50; ++i) {
    text += "#|\x81\x45\x82\xa8\x92\x6d\x82\xe7\x82\xb9 " + std::to_string(i) +
            ": the meeting room on floor 3 is booked from 10:00 to 12:00";
    if (i % 10 == 0) text += " %UPDATEYYYY/MM/DD%";
    text += "\r\n";
  }
  return text;
}

struct Sample {
  double wall;
  double cpu;
};

Sample MeasureTicks(const std::string& path, bool offThread, int ticks, int& result) {
  kn::testing::FakeMovableMemory memory;
  kn::SystemClock clock;
  kn::StdFileSystem files;
  kn::SystemCp932Encoder encoder;
  kn::StdReadingThreads threads(files, encoder);
  kn::ChipEnv env{memory, clock, files, &encoder, offThread ? &threads : nullptr};
  kn::ChipState modes{};
  modes.interval = kn::IDM_INTERVAL_1SEC;
  modes.linkColor = kn::IDM_LINK_BLUE;
  modes.blink = kn::IDM_BLINK;
  modes.boardMode = kn::IDM_BOARD_MODE;
  modes.lastCheck.year = 199;  // 2099: later than the file
  std::uint8_t save[kn::kSaveBlockSize];
  kn::PackSaveBlock(&modes, save);
  const std::string memo = path + "\r\n";
  kn::ChipSettingsView settings{};
  settings.memo = memo.c_str();
  settings.font.lfHeight = -12;
  settings.saveData = save;
  kn::BlockHandle chip = kn::CreateChip(env, settings);
  kn::UpdateChip(env, chip, settings);
  result = kn::RunTimerStep(env, chip);
  const double wall = WallMicroseconds();
  const double cpu = CpuMicroseconds();
  for (int i = 0; i < ticks; ++i) result |= kn::RunTimerStep(env, chip);
  const Sample sample{(WallMicroseconds() - wall) / ticks, (CpuMicroseconds() - cpu) / ticks};
  kn::DestroyChip(env, chip);
  usleep(20000);  // the last thread ends
  return sample;
}

// The hand-off alone: a read that reads nothing, handed to the chip's
// thread and waited for as a tick does, with a signal of its own each time.
Sample MeasureHandOff(int ticks) {
  kn::StdFileSystem files;
  kn::SystemCp932Encoder encoder;
  kn::StdReadingThreads threads(files, encoder);
  std::unique_ptr<kn::ReadingThread> thread = threads.MakeThread();
  const auto handOff = [&] {
    std::shared_ptr<kn::DoneSignal> done = threads.MakeSignal();
    thread->Run([done](kn::FileSystem&, kn::Cp932Encoder&) { done->Set(); });
    threads.AwaitRead(*done);
  };
  handOff();
  const double wall = WallMicroseconds();
  const double cpu = CpuMicroseconds();
  for (int i = 0; i < ticks; ++i) handOff();
  const Sample sample{(WallMicroseconds() - wall) / ticks, (CpuMicroseconds() - cpu) / ticks};
  thread.reset();
  usleep(20000);  // the thread ends
  return sample;
}

}  // namespace

int main(int argc, char** argv) {
  int ticks = 2000;
  int repetitions = 9;
  const char* only = "";
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--ticks=", 8) == 0) ticks = std::max(1, std::atoi(argv[i] + 8));
    if (std::strncmp(argv[i], "--reps=", 7) == 0) repetitions = std::max(1, std::atoi(argv[i] + 7));
    if (std::strncmp(argv[i], "--only=", 7) == 0) only = argv[i] + 7;
  }
  char folder[] = "/tmp/kn-reader-XXXXXX";
  if (!mkdtemp(folder)) return 1;
  const std::string path = std::string(folder) + "/board.txt";
  std::ofstream(path, std::ios::binary) << FiftyLineBoard();
  const char* names[2] = {"in-call", "reading-thread"};
  const auto wanted = [&](int k) { return *only == '\0' || std::strcmp(only, names[k]) == 0; };
  std::vector<double> wall[2], cpu[2], handOffCpu;
  int results[2] = {0, 0};
  for (int r = 0; r < repetitions; ++r) {
    if (*only == '\0') handOffCpu.push_back(MeasureHandOff(ticks).cpu);
    for (int offThread = 0; offThread < 2; ++offThread) {
      if (!wanted(offThread)) continue;
      const Sample s = MeasureTicks(path, offThread != 0, ticks, results[offThread]);
      wall[offThread].push_back(s.wall);
      cpu[offThread].push_back(s.cpu);
    }
  }
  if (!handOffCpu.empty()) {
    std::printf("KNBENCH\ttick-50-lines\thand-off\tcpu\t-\t%.3f\t%.3f\t%d\t%d\tan empty read, %.2fx of the in-call tick\n",
                Median(handOffCpu), Median(cpu[0]), repetitions, ticks, Median(handOffCpu) / Median(cpu[0]));
  }
  for (int k = 0; k < 2; ++k) {
    if (!wanted(k)) continue;
    // Alone, a run has no in-call floor to set it against.
    const double wallFloor = wanted(0) ? Median(wall[0]) : 0;
    const double cpuFloor = wanted(0) ? Median(cpu[0]) : 0;
    const double figures[2][2] = {{Median(wall[k]), wallFloor}, {Median(cpu[k]), cpuFloor}};
    const char* clocks[2] = {"wall", "cpu"};
    for (int c = 0; c < 2; ++c) {
      char ratio[32] = "-";
      if (figures[c][1] > 0) std::snprintf(ratio, sizeof ratio, "%.2fx", figures[c][0] / figures[c][1]);
      std::printf("KNBENCH\ttick-50-lines\t%s\t%s\t-\t%.3f\t%.3f\t%d\t%d\tresult=%d ratio=%s\n", names[k],
                  clocks[c], figures[c][0], figures[c][1], repetitions, ticks, results[k], ratio);
    }
  }
  std::remove(path.c_str());
  rmdir(folder);
  return 0;
}
