// Board re-reads through the real DLL's timer against reading the same
// files with plain ReadFile, and the cost of a tick with nothing to do.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_board_files.h"
#include "bench/win32/bench_chip.h"
#include "bench/win32/bench_options.h"
#include "bench/win32/bench_timing.h"
#include "wine/harness/board_files.h"

namespace kn::bench {
namespace {

constexpr DWORD kFloorReadSize = 64 * 1024;

std::string SizeName(long long bytes) {
  if (bytes >= 1024 * 1024) return std::to_string(bytes / (1024 * 1024)) + "MB";
  return std::to_string(bytes / 1024) + "KB";
}

// The floor: the whole file read with plain ReadFile.
std::size_t ReadWholeFile(const std::string& path, std::vector<char>& buffer) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  std::size_t total = 0;
  DWORD got = 0;
  while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0) {
    total += got;
  }
  CloseHandle(file);
  return total;
}

// A board chip listing one file, with the board shown.
struct BoardScene {
  wine::BoardFolder folder;
  std::string path;
  wine::ChipSettings settings;
  std::unique_ptr<BenchChip> chip;

  BoardScene(BoardFileKind kind, long long bytes, bool blink) {
    path = folder.Write("board.txt", BoardFileText(kind, bytes));
    settings.Memo(path + "\r\n")
        .WithModes(wine::BoardModes(IDM_INTERVAL_1MIN, blink, wine::FarFutureCheck()));
    chip = std::make_unique<BenchChip>(settings);
    // The saved block turns board mode on after the memo was shown; the
    // second Update shows the board.
    if (chip->ok()) chip->Update(settings);
  }
  bool ok() const { return folder.ok() && !path.empty() && chip && chip->ok(); }
};

void MeasureReread(BoardFileKind kind, long long bytes, const BenchOptions& options) {
  const std::string size = SizeName(bytes);
  Progress("re-read: " + std::string(KindName(kind)) + " board file of " + size);
  BoardScene scene(kind, bytes, true);
  if (!scene.ok()) {
    Progress("cannot write the board file or make the chip");
    return;
  }
  std::vector<char> buffer(kFloorReadSize);
  const int first = Api().DoTimer(scene.chip->handle());
  const std::size_t read = ReadWholeFile(scene.path, buffer);
  const bool large = bytes >= 1024LL * 1024;
  const PairResult result = MeasurePair([&scene] { Api().DoTimer(scene.chip->handle()); },
                                        [&] { ReadWholeFile(scene.path, buffer); },
                                        large ? options.fileRepetitions : options.repetitions,
                                        options.sampleUs);
  Report("reread", KindName(kind), size, "-", result,
         "bytes=" + std::to_string(read) + " result=" + std::to_string(first));
}

// Board mode with blink off and the chip not zoomed: the tick reads nothing.
// Its floor is the one thing such a tick must do: lock the chip to read its
// state.
void MeasureIdleTick(const BenchOptions& options) {
  Progress("tick with nothing to do");
  BoardScene scene(BoardFileKind::kAscii, 1024, false);
  if (!scene.ok()) {
    Progress("cannot write the board file or make the chip");
    return;
  }
  HLOCAL chip = scene.chip->handle();
  const int result = Api().DoTimer(chip);
  auto floor = [chip] {
    LocalLock(chip);
    LocalUnlock(chip);
  };
  Report("tick", "idle", "-", "-",
         MeasurePair([chip] { Api().DoTimer(chip); }, floor, options.repetitions, options.sampleUs),
         "result=" + std::to_string(result));
}

}  // namespace

void RunRereadBenchmarks(const BenchOptions& options) {
  for (const BoardFileCase& c : BoardFileCases(options.fileBytes)) MeasureReread(c.kind, c.bytes, options);
  MeasureIdleTick(options);
}

}  // namespace kn::bench
