// Median-of-N timing. A figure and its floor are timed in turn within every
// repetition, so that both see the same machine load, and the ratio of
// their medians is what the report judges.
//
// On a machine shared with other work the wall clock counts the time other
// processes take, so under Wine the thread's own processor time is read
// from Linux (Wine offers it only in 10 ms steps); elsewhere the
// performance counter is used.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace kn::bench {

inline double CounterFrequency() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  return frequency;
}

inline LONGLONG CounterNow() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

inline bool RunsUnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// clock_gettime(CLOCK_THREAD_CPUTIME_ID) through the 32-bit Linux system
// call gate, which a Windows program under Wine on Linux can reach (and
// qemu's user-mode emulation serves). 0 on success.
inline int LinuxThreadCpuTime(std::int32_t (&timespec)[2]) {
  int result = 0;
  __asm__ volatile("int $0x80" : "=a"(result) : "a"(265), "b"(3), "c"(timespec) : "memory");
  return result;
}

inline bool UsesThreadCpuTime() {
  static const bool uses = [] {
    std::int32_t now[2] = {0, 0};
    return RunsUnderWine() && LinuxThreadCpuTime(now) == 0;
  }();
  return uses;
}

// Microseconds on the clock the benchmark uses.
inline double ClockMicroseconds() {
  if (UsesThreadCpuTime()) {
    std::int32_t now[2] = {0, 0};
    LinuxThreadCpuTime(now);
    return static_cast<double>(now[0]) * 1e6 + static_cast<double>(now[1]) / 1e3;
  }
  return static_cast<double>(CounterNow()) * 1e6 / CounterFrequency();
}

inline const char* ClockName() {
  return UsesThreadCpuTime() ? "the thread's processor time (Linux, through Wine)"
                             : "the performance counter";
}

// Microseconds per call of fn, over `calls` back-to-back calls.
template <typename Fn>
double MicrosecondsPerCall(Fn& fn, int calls) {
  const double start = ClockMicroseconds();
  for (int i = 0; i < calls; ++i) fn();
  return (ClockMicroseconds() - start) / calls;
}

inline double Median(std::vector<double> samples) {
  if (samples.empty()) return 0.0;
  std::sort(samples.begin(), samples.end());
  const std::size_t mid = samples.size() / 2;
  return samples.size() % 2 != 0 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2.0;
}

struct PairResult {
  double subjectUs = 0;  // median microseconds per call of the plug-in
  double floorUs = 0;    // median microseconds per call of the floor
  int repetitions = 0;
  int callsPerSample = 0;
  double Ratio() const { return floorUs > 0 ? subjectUs / floorUs : 0.0; }
};

// Times subject and floor alternately, `repetitions` samples each. Calls per
// sample are chosen from one warm call so that a sample of the slower of
// the two lasts about `sampleUs` (a short call is repeated, so the counter's
// resolution does not matter).
template <typename Subject, typename Floor>
PairResult MeasurePair(Subject subject, Floor floor, int repetitions, double sampleUs) {
  subject();
  floor();
  const double once = std::max(MicrosecondsPerCall(subject, 1), MicrosecondsPerCall(floor, 1));
  const double wanted = once > 0 ? sampleUs / once : 1e6;
  const int calls = static_cast<int>(std::clamp(wanted, 1.0, 1e6));
  std::vector<double> subjectSamples;
  std::vector<double> floorSamples;
  for (int r = 0; r < repetitions; ++r) {
    subjectSamples.push_back(MicrosecondsPerCall(subject, calls));
    floorSamples.push_back(MicrosecondsPerCall(floor, calls));
  }
  return PairResult{Median(subjectSamples), Median(floorSamples), repetitions, calls};
}

// One row for scripts/bench.sh: tab-separated, after a fixed tag.
inline void Report(const std::string& group, const std::string& kind, const std::string& size,
                   const std::string& position, const PairResult& result, const std::string& note) {
  std::printf("KNBENCH\t%s\t%s\t%s\t%s\t%.3f\t%.3f\t%d\t%d\t%s\n", group.c_str(), kind.c_str(),
              size.c_str(), position.c_str(), result.subjectUs, result.floorUs, result.repetitions,
              result.callsPerSample, note.empty() ? "-" : note.c_str());
  std::fflush(stdout);
}

// Progress for the person waiting, on the same stream.
inline void Progress(const std::string& text) {
  std::printf("# %s\n", text.c_str());
  std::fflush(stdout);
}

}  // namespace kn::bench
