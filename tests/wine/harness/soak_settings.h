// How hard the soak and the hostile boards push: read from the environment
// (Wine passes the Unix environment through), so an ordinary test run stays
// short and a soak run goes the whole way. Also a stopwatch and a printer for
// the figures a run should show.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace kn::wine {

// Rounds of the leak soak; every round calls every entry point at least once.
constexpr int kDefaultSoakCalls = 300;
// Size of the largest board file, in megabytes.
constexpr int kDefaultBoardMegabytes = 2;

inline int PositiveFromEnvironment(const char* name, int fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return (*end == '\0' && value > 0 && value <= 1000000) ? static_cast<int>(value) : fallback;
}

inline int SoakCalls() { return PositiveFromEnvironment("KN_SOAK_CALLS", kDefaultSoakCalls); }
inline int BoardMegabytes() { return PositiveFromEnvironment("KN_SOAK_BOARD_MB", kDefaultBoardMegabytes); }

class Stopwatch {
 public:
  Stopwatch() { QueryPerformanceCounter(&start_); }
  double Seconds() const {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
  }

 private:
  LARGE_INTEGER start_;
};

// One figure: kept with the test's result (RecordProperty) and printed as a
// line starting "[soak]" so a run's log shows it and a script can pick it out.
inline void ReportFigure(const std::string& key, const std::string& value) {
  testing::Test::RecordProperty(key, value);
  std::printf("[soak] %s = %s\n", key.c_str(), value.c_str());
  std::fflush(stdout);
}

inline void ReportFigure(const std::string& key, long long value) { ReportFigure(key, std::to_string(value)); }

inline void ReportSeconds(const std::string& key, double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f s", seconds);
  ReportFigure(key, std::string(text));
}

}  // namespace kn::wine
