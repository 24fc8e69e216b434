#!/usr/bin/env bash
# The full leak soak and the hostile boards, through the real DLL under Wine:
# 10,000 rounds of every entry point and board files of 100 MB. `make soak`
# builds build/windows and starts the Wine prefix before it calls this.
#
#   KN_BUILD          the build folder holding kn_wine_tests.exe (build/windows)
#   KN_SOAK_CALLS     rounds of the leak soak (10000)
#   KN_SOAK_BOARD_MB  size of the huge board files in megabytes (100)
#
# The whole output goes to soak.log in the build folder; the figures (lines
# starting "[soak]") and the result are printed. The exit status is the tests'.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${KN_BUILD:-$root/build/windows}" && pwd)" || exit 1
export KN_SOAK_CALLS="${KN_SOAK_CALLS:-10000}"
export KN_SOAK_BOARD_MB="${KN_SOAK_BOARD_MB:-100}"
log="$build/soak.log"
filter='LeakCounters.*:SoakTest.*:HostileBoard*'

if [ ! -f "$build/kn_wine_tests.exe" ]; then
  echo "soak: no kn_wine_tests.exe in $build" >&2
  exit 1
fi
echo "soak: $KN_SOAK_CALLS rounds, $KN_SOAK_BOARD_MB MB boards; output in $log"
start=$(date +%s)
# Wine's output goes to a file, never a pipe (a pipe can keep it waiting).
(cd "$build" && "$root/scripts/wine-run" ./kn_wine_tests.exe --gtest_filter="$filter" </dev/null >"$log" 2>&1)
status=$?
echo "soak: finished in $(($(date +%s) - start)) s, status $status"
grep -a '^\[soak\]' "$log"
if ! grep -a -E '^\[  (PASSED|FAILED)  \]' "$log"; then
  echo "soak: the tests ended without a result; the end of the output:"
  tail -n 30 "$log"
fi
grep -a -E 'Failure|^\[  FAILED  \]' -A 6 "$log" | head -n 80
exit $status
