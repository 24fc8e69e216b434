// What a run of the benchmark program measures and how often.
#pragma once

#include <string>
#include <vector>

namespace kn::bench {

struct BenchOptions {
  std::vector<int> boardLines{100, 10000, 100000};
  // Board files for the re-read, in bytes.
  std::vector<long long> fileBytes{10LL * 1024, 1024LL * 1024, 50LL * 1024 * 1024};
  int repetitions = 5;      // samples of each figure and of its floor
  int fileRepetitions = 3;  // samples of the largest re-reads, which take seconds
  double sampleUs = 20000;  // about how long one sample lasts
  std::string only;         // "layout" or "reread"; empty for both
};

// Paint, size and click of plain and rich boards at every size and scroll
// position.
void RunLayoutBenchmarks(const BenchOptions& options);
// Board re-reads of every file size, and a tick with nothing to do.
void RunRereadBenchmarks(const BenchOptions& options);

}  // namespace kn::bench
