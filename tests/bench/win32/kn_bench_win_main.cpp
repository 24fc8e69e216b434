// kn_bench_win: the real DLL's paint, size, click and board re-read against
// the cost the platform cannot avoid, each pair timed side by side in one
// run. Prints one KNBENCH row per figure for scripts/bench.sh.
//
//   kn_bench_win [--quick] [--only=layout|reread] [--lines=100,10000]
//                [--bytes=10240,1048576] [--reps=N] [--file-reps=N]
//
// The DLL is loaded from the program's own folder.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/win32/bench_options.h"
#include "bench/win32/bench_timing.h"
#include "wine/harness/chip_records.h"
#include "wine/harness/plugin_module.h"

namespace kn::bench {
namespace {

template <typename Number>
std::vector<Number> ParseList(const char* text) {
  std::vector<Number> values;
  const char* p = text;
  while (*p) {
    char* end = nullptr;
    const long long value = std::strtoll(p, &end, 10);
    if (end == p) break;
    values.push_back(static_cast<Number>(value));
    p = *end == ',' ? end + 1 : end;
  }
  return values;
}

bool StartsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

bool ParseOptions(int argc, char** argv, BenchOptions& options) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--quick") == 0) {
      options.repetitions = 3;
      options.fileRepetitions = 2;
      options.sampleUs = 10000;
    } else if (StartsWith(arg, "--only=")) {
      options.only = arg + 7;
    } else if (StartsWith(arg, "--lines=")) {
      options.boardLines = ParseList<int>(arg + 8);
    } else if (StartsWith(arg, "--bytes=")) {
      options.fileBytes = ParseList<long long>(arg + 8);
    } else if (StartsWith(arg, "--reps=")) {
      options.repetitions = std::atoi(arg + 7);
    } else if (StartsWith(arg, "--file-reps=")) {
      options.fileRepetitions = std::atoi(arg + 12);
    } else {
      std::fprintf(stderr, "kn_bench_win: unknown option %s\n", arg);
      return false;
    }
  }
  return options.repetitions > 0 && options.fileRepetitions > 0;
}

// The folder this program is in, where the DLL sits beside it.
void EnterProgramFolder() {
  wchar_t path[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  if (n == 0 || n >= MAX_PATH * 4) return;
  wchar_t* slash = wcsrchr(path, L'\\');
  if (!slash) return;
  *slash = L'\0';
  SetCurrentDirectoryW(path);
}

// The first text drawn in a process loads the fonts (a minute or more
// under emulation); no figure should pay for it.
void WarmUpText() {
  HDC dc = CreateCompatibleDC(nullptr);
  const LOGFONTA description = wine::TestFont();
  HFONT font = CreateFontIndirectA(&description);
  HGDIOBJ previous = SelectObject(dc, font);
  RECT rect{0, 0, 200, 0};
  const LONGLONG start = CounterNow();
  DrawTextA(dc, "warm up", -1, &rect, DT_CALCRECT | DT_WORDBREAK);
  const double seconds = static_cast<double>(CounterNow() - start) / CounterFrequency();
  SelectObject(dc, previous);
  DeleteObject(font);
  DeleteDC(dc);
  char text[64];
  std::snprintf(text, sizeof text, "first text drawing took %.1f s", seconds);
  Progress(text);
}

}  // namespace
}  // namespace kn::bench

int main(int argc, char** argv) {
  using namespace kn::bench;
  BenchOptions options;
  if (!ParseOptions(argc, argv, options)) return 2;
  EnterProgramFolder();
  if (!kn::wine::Plugin().ready()) {
    std::fprintf(stderr, "kn_bench_win: %s\n", kn::wine::Plugin().error().c_str());
    return 1;
  }
  Progress(std::string("clock: ") + ClockName());
  WarmUpText();
  if (options.only.empty() || options.only == "layout") RunLayoutBenchmarks(options);
  if (options.only.empty() || options.only == "reread") RunRereadBenchmarks(options);
  Progress("done");
  return 0;
}
