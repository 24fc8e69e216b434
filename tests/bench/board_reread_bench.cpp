// The board re-read of the timer step, natively: its time against reading
// the same file with plain read(), and the peak of memory it holds, counted
// at every allocation; boards of every kind and size, unchanged (the
// common re-read, which only hashes the file) and changed by one byte
// before every re-read (which builds the board again). Also the cost of a
// tick with nothing to do. Prints KNBENCH rows for scripts/bench.sh.
//
//   board_reread_bench [--bytes=10240,1048576,52428800] [--kinds=file,sjis,utf8,utf8ja] [--reps=N]
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "bench/bench_board_files.h"
#include "platform/std_file_system.h"
#include "platform/system_cp932_encoder.h"
#include "platform/system_clock.h"
#include "plugin/chip_logic.h"
#include "plugin/host_contract.h"
#include "plugin/save_block.h"

// ---------------------------------------------------------------------------
// Every allocation of the program is counted: live bytes and their peak.
namespace {

std::size_t liveBytes = 0;
std::size_t peakBytes = 0;

void* CountedAllocate(std::size_t bytes) {
  // The size is kept in front of the block, aligned for any type.
  auto* raw = static_cast<unsigned char*>(std::malloc(bytes + alignof(std::max_align_t)));
  if (!raw) throw std::bad_alloc();
  std::memcpy(raw, &bytes, sizeof bytes);
  liveBytes += bytes;
  peakBytes = std::max(peakBytes, liveBytes);
  return raw + alignof(std::max_align_t);
}

void CountedFree(void* block) {
  if (!block) return;
  auto* raw = static_cast<unsigned char*>(block) - alignof(std::max_align_t);
  std::size_t bytes = 0;
  std::memcpy(&bytes, raw, sizeof bytes);
  liveBytes -= bytes;
  std::free(raw);
}

}  // namespace

void* operator new(std::size_t bytes) { return CountedAllocate(bytes); }
void* operator new[](std::size_t bytes) { return CountedAllocate(bytes); }
void operator delete(void* block) noexcept { CountedFree(block); }
void operator delete[](void* block) noexcept { CountedFree(block); }
void operator delete(void* block, std::size_t) noexcept { CountedFree(block); }
void operator delete[](void* block, std::size_t) noexcept { CountedFree(block); }

namespace {

// The chip's movable blocks on the counted heap, zero-filled as LocalAlloc
// gives them.
class CountedMovableMemory final : public kn::MovableMemory {
 public:
  kn::BlockHandle Allocate(std::size_t bytes) override {
    void* block = CountedAllocate(bytes);
    std::memset(block, 0, bytes);
    return block;
  }
  void* Lock(kn::BlockHandle block) override { return block; }
  void Unlock(kn::BlockHandle) override {}
  void Free(kn::BlockHandle block) override { CountedFree(block); }
  kn::BlockHandle Reallocate(kn::BlockHandle block, std::size_t bytes) override {
    void* moved = CountedAllocate(bytes);
    auto* raw = static_cast<unsigned char*>(block) - alignof(std::max_align_t);
    std::size_t old = 0;
    std::memcpy(&old, raw, sizeof old);
    std::memcpy(moved, block, std::min(old, bytes));
    CountedFree(block);
    return moved;
  }
};

struct Options {
  std::vector<long long> bytes{10LL * 1024, 1024LL * 1024, 50LL * 1024 * 1024};
  std::string kinds = "file,sjis,utf8,utf8ja";
  int repetitions = 9;
};

std::vector<long long> ParseList(const char* text) {
  std::vector<long long> values;
  char* end = nullptr;
  for (const char* p = text; *p; p = *end == ',' ? end + 1 : end) {
    const long long value = std::strtoll(p, &end, 10);
    if (end == p) break;
    values.push_back(value);
  }
  return values;
}

double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  const std::size_t mid = samples.size() / 2;
  return samples.size() % 2 != 0 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2.0;
}

// Processor time of this process (user and system), so that other work on
// a shared machine does not count; the kernel's copy in read() does.
double CpuMicroseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

template <typename Fn>
double MicrosecondsPerCall(Fn& fn, int calls) {
  const double start = CpuMicroseconds();
  for (int i = 0; i < calls; ++i) fn();
  return (CpuMicroseconds() - start) / calls;
}

void Report(const std::string& group, const std::string& kind, const std::string& size, double subjectUs,
            double floorUs, int repetitions, int calls, const std::string& note) {
  std::printf("KNBENCH\t%s\t%s\t%s\t-\t%.3f\t%.3f\t%d\t%d\t%s\n", group.c_str(), kind.c_str(), size.c_str(),
              subjectUs, floorUs, repetitions, calls, note.c_str());
  std::fflush(stdout);
}

std::string SizeName(long long bytes) {
  if (bytes >= 1024 * 1024) return std::to_string(bytes / (1024 * 1024)) + "MB";
  return std::to_string(bytes / 1024) + "KB";
}

bool WriteBoardFile(const std::string& path, kn::bench::BoardFileKind kind, long long bytes) {
  const std::string text = kn::bench::BoardFileText(kind, bytes);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return static_cast<bool>(out);
}

// The floor: the whole file read with plain read() in 64 KiB pieces.
std::size_t ReadWholeFile(const std::string& path) {
  static char buffer[64 * 1024];
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return 0;
  std::size_t total = 0;
  ssize_t got = 0;
  while ((got = read(fd, buffer, sizeof buffer)) > 0) total += static_cast<std::size_t>(got);
  close(fd);
  return total;
}

// Where the first line's number begins: every kind writes it as "%07d".
std::size_t FirstDigit(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string head(512, '\0');
  in.read(&head[0], static_cast<std::streamsize>(head.size()));
  return head.find("0000000");
}

// A chip in board mode listing one file, with the board shown.
class BoardChip {
 public:
  BoardChip(const std::string& memo, bool blink) : memo_(memo) {
    kn::ChipState modes{};
    modes.interval = kn::IDM_INTERVAL_1MIN;
    modes.linkColor = kn::IDM_LINK_BLUE;
    modes.blink = blink ? kn::IDM_BLINK : 0;
    modes.boardMode = kn::IDM_BOARD_MODE;
    modes.lastCheck.year = 199;  // 2099: later than any file
    kn::PackSaveBlock(&modes, save_);
    kn::ChipSettingsView settings{};
    settings.memo = memo_.c_str();
    settings.font.lfHeight = -12;
    settings.saveData = save_;
    chip_ = kn::CreateChip(env_, settings);
    kn::UpdateChip(env_, chip_, settings);  // the saved block turned board mode on: show the board
  }
  ~BoardChip() { kn::DestroyChip(env_, chip_); }
  BoardChip(const BoardChip&) = delete;
  BoardChip& operator=(const BoardChip&) = delete;

  int Tick() { return kn::RunTimerStep(env_, chip_); }

 private:
  std::string memo_;
  std::uint8_t save_[kn::kSaveBlockSize] = {};
  CountedMovableMemory memory_;
  kn::SystemClock clock_;
  kn::StdFileSystem files_;
  kn::SystemCp932Encoder encoder_;
  kn::ChipEnv env_{memory_, clock_, files_, &encoder_};
  kn::BlockHandle chip_ = nullptr;
};

// The same chip's re-read when one digit of the first line changed since
// the board shown was built: written before every re-read (its pwrite()
// counts, a microsecond or two), so that each re-read builds the board.
void MeasureChangedReread(const std::string& path, BoardChip& chip, int calls, int repetitions,
                          std::size_t fileBytes, const char* kindName, const std::string& sizeName) {
  const int fd = open(path.c_str(), O_WRONLY);
  if (fd < 0) return;
  char digit = '0';
  const off_t at = static_cast<off_t>(FirstDigit(path));
  int result = 0;
  auto subject = [&] {
    digit = digit == '0' ? '1' : '0';
    if (pwrite(fd, &digit, 1, at) != 1) std::abort();
    result = chip.Tick();
  };
  auto floor = [&path] { ReadWholeFile(path); };
  subject();
  const std::size_t before = liveBytes;
  peakBytes = liveBytes;
  subject();
  const double peakRatio = static_cast<double>(peakBytes) / static_cast<double>(fileBytes);
  const double extraRatio = static_cast<double>(peakBytes - before) / static_cast<double>(fileBytes);
  std::vector<double> subjectSamples;
  std::vector<double> floorSamples;
  for (int r = 0; r < repetitions; ++r) {
    subjectSamples.push_back(MicrosecondsPerCall(subject, calls));
    floorSamples.push_back(MicrosecondsPerCall(floor, calls));
  }
  close(fd);
  char note[160];
  std::snprintf(note, sizeof note, "bytes=%zu result=%d peak=%.2fx(held)+%.2fx(extra)", fileBytes, result,
                peakRatio - extraRatio, extraRatio);
  Report("reread-changed-native", kindName, sizeName, Median(subjectSamples), Median(floorSamples), repetitions,
         calls, note);
  Report("memory-changed-native", kindName, sizeName, peakRatio, 1.0, 1, 1, note);
}

void MeasureReread(const std::string& folder, kn::bench::BoardFileKind kind, long long bytes,
                   const Options& options) {
  const std::string path = folder + "/board-" + SizeName(bytes) + ".txt";
  if (!WriteBoardFile(path, kind, bytes)) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return;
  }
  const std::size_t fileBytes = ReadWholeFile(path);
  {
    BoardChip chip(path + "\r\n", true);
    const int result = chip.Tick();
    // The peak of everything live while one re-read runs, the board shown
    // before it included.
    const std::size_t before = liveBytes;
    peakBytes = liveBytes;
    chip.Tick();
    const double peakRatio = static_cast<double>(peakBytes) / static_cast<double>(fileBytes);
    const double extraRatio = static_cast<double>(peakBytes - before) / static_cast<double>(fileBytes);
    auto subject = [&chip] { chip.Tick(); };
    auto floor = [&path] { ReadWholeFile(path); };
    const int calls = bytes >= 1024LL * 1024 ? 1 : 20;
    const bool huge = bytes >= 16LL * 1024 * 1024;
    const int repetitions = huge ? std::max(3, options.repetitions / 2) : options.repetitions;
    std::vector<double> subjectSamples;
    std::vector<double> floorSamples;
    for (int r = 0; r < repetitions; ++r) {
      subjectSamples.push_back(MicrosecondsPerCall(subject, calls));
      floorSamples.push_back(MicrosecondsPerCall(floor, calls));
    }
    char note[160];
    std::snprintf(note, sizeof note, "bytes=%zu result=%d peak=%.2fx(held)+%.2fx(extra)", fileBytes, result,
                  peakRatio - extraRatio, extraRatio);
    const char* kindName = kn::bench::KindName(kind);
    Report("reread-native", kindName, SizeName(bytes), Median(subjectSamples), Median(floorSamples), repetitions,
           calls, note);
    Report("memory-native", kindName, SizeName(bytes), peakRatio, 1.0, 1, 1, note);
    MeasureChangedReread(path, chip, calls, repetitions, fileBytes, kindName, SizeName(bytes));
  }
  std::remove(path.c_str());
}

void MeasureIdleTick(const std::string& folder, const Options& options) {
  const std::string path = folder + "/board-idle.txt";
  WriteBoardFile(path, kn::bench::BoardFileKind::kAscii, 1024);
  {
    BoardChip chip(path + "\r\n", false);
    const int result = chip.Tick();
    auto subject = [&chip] { chip.Tick(); };
    std::vector<double> samples;
    const int calls = 200000;
    for (int r = 0; r < options.repetitions; ++r) samples.push_back(MicrosecondsPerCall(subject, calls));
    Report("tick-native", "idle", "-", Median(samples), 0.0, options.repetitions, calls,
           "result=" + std::to_string(result));
  }
  std::remove(path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--bytes=", 8) == 0) {
      options.bytes = ParseList(argv[i] + 8);
    } else if (std::strncmp(argv[i], "--kinds=", 8) == 0) {
      options.kinds = argv[i] + 8;
    } else if (std::strncmp(argv[i], "--reps=", 7) == 0) {
      options.repetitions = std::max(1, std::atoi(argv[i] + 7));
    } else {
      std::fprintf(stderr, "usage: board_reread_bench [--bytes=N,...] [--kinds=file,sjis,utf8,utf8ja] [--reps=N]\n");
      return 2;
    }
  }
  char folder[] = "/tmp/kn-reread-XXXXXX";
  if (!mkdtemp(folder)) {
    std::perror("mkdtemp");
    return 1;
  }
  for (const kn::bench::BoardFileCase& c : kn::bench::BoardFileCases(options.bytes)) {
    if (("," + options.kinds + ",").find("," + std::string(kn::bench::KindName(c.kind)) + ",") == std::string::npos) {
      continue;
    }
    MeasureReread(folder, c.kind, c.bytes, options);
  }
  MeasureIdleTick(folder, options);
  rmdir(folder);
  return 0;
}
