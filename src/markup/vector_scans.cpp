#include "markup/vector_scans.h"

#include <atomic>

namespace kn {
namespace {

bool ProcessorHasSse2() {
#if KN_HAVE_SSE2_SCANS
  __builtin_cpu_init();
  return __builtin_cpu_supports("sse2") != 0;
#else
  return false;
#endif
}

std::atomic<bool> forcedPlain{false};

}  // namespace

ScanPath ActiveScanPath() {
  static const bool hasSse2 = ProcessorHasSse2();
  return hasSse2 && !forcedPlain.load(std::memory_order_relaxed) ? ScanPath::kSse2 : ScanPath::kPlain;
}

void ForcePlainScans(bool plain) { forcedPlain.store(plain, std::memory_order_relaxed); }

}  // namespace kn
