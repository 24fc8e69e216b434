// The board and text scans of the DLL take their SSE2 form on this machine.
// The DLL is linked from the same libraries as this program, and the form
// is chosen by the processor's report at run time; so the choice asked here,
// under Wine on the machine the suite runs on, is the DLL's. That the DLL
// carries the SSE2 form at all (its i686 build targets no SSE2) is checked
// on its disassembly by the test dll_carries_sse2_scans.
#include <gtest/gtest.h>

#include "markup/vector_scans.h"

namespace kn {
namespace {

TEST(DllScans, ChooseSse2OnThisMachine) {
  EXPECT_EQ(ActiveScanPath(), ScanPath::kSse2) << "the processor as Wine shows it reports no SSE2";
}

}  // namespace
}  // namespace kn
