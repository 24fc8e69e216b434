#!/usr/bin/env bash
# Runs every libFuzzer target from its corpus in the repository and prints,
# per target, the executions, the time they took and the rate.
#
#   scripts/fuzz-all.sh [SECONDS] [RUNS]
#
# SECONDS bounds each target's time (0: no bound), RUNS its executions (also
# FUZZ_RUNS); a target stops at whichever comes first. Without either, 30 s.
# FUZZ_BUILD names the build folder (default build/fuzz), FUZZ_TARGETS the
# targets and their order (default all, alphabetically). New finds go to
# <build>/new-corpus/<target>, crashes to <build>/<target>-crash-*.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${2:-${FUZZ_RUNS:-}}"
seconds="${1:-}"
if [ -z "$seconds" ]; then
  if [ -n "$runs" ]; then seconds=0; else seconds=30; fi
fi
build="$(cd "$root" && realpath -m "${FUZZ_BUILD:-build/fuzz}")"
scratch="$build/new-corpus"

limits=(-max_total_time="$seconds")
[ -n "$runs" ] && limits+=(-runs="$runs")

if [ -n "${FUZZ_TARGETS:-}" ]; then
  read -r -a names <<<"$FUZZ_TARGETS"
else
  names=()
  for target in "$build"/fuzz_*; do
    [ -x "$target" ] && [ -f "$target" ] && names+=("$(basename "$target")")
  done
fi
[ ${#names[@]} -gt 0 ] || { echo "fuzz: no targets in $build"; exit 1; }

# A statistic missing from a log is not a failure of the run: the summary
# shows "?" for it.
stat_of() { grep -m1 "stat::$1" "$2" | awk '{print $2}' || true; }

status=0
for name in "${names[@]}"; do
  target="$build/$name"
  corpus="$root/tests/fuzz/corpus/$name"
  log="$build/$name.log"
  mkdir -p "$scratch/$name"
  started=$(date +%s)
  if "$target" "${limits[@]}" -print_final_stats=1 -artifact_prefix="$build/$name-" \
       "$scratch/$name" "$corpus" >"$log" 2>&1; then
    elapsed=$(($(date +%s) - started))
    executed=$(stat_of number_of_executed_units "$log")
    echo "fuzz: $name ran ${executed:-?} inputs in ${elapsed}s" \
         "($(( ${executed:-0} / (elapsed > 0 ? elapsed : 1) ))/s), no finding"
  else
    echo "fuzz: $name FAILED, see $log"; tail -30 "$log"; status=1
  fi
done
exit $status
