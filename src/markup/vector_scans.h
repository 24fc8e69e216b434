// Which form the byte scans of texts and boards take: sixteen bytes a step
// with SSE2, or a machine word a step. The DLL is built for every 32-bit
// processor, so the SSE2 scans are compiled for SSE2 alone (KN_SSE2_SCAN)
// and chosen at run time from what the processor reports.
#pragma once

#if defined(__i386__) || defined(__x86_64__)
#define KN_HAVE_SSE2_SCANS 1
#define KN_SSE2_SCAN __attribute__((target("sse2")))
#else
#define KN_HAVE_SSE2_SCANS 0
#endif

namespace kn {

enum class ScanPath { kPlain, kSse2 };

// The processor's choice, decided at the first call; kPlain where the
// processor lacks SSE2 or a test forced the plain scans.
ScanPath ActiveScanPath();
inline bool UseSse2Scans() { return ActiveScanPath() == ScanPath::kSse2; }

// For tests: the plain scans whatever the processor has (true), or the
// processor's choice again (false).
void ForcePlainScans(bool plain);

}  // namespace kn
