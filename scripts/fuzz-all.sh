#!/usr/bin/env bash
# Runs every libFuzzer target for the given number of seconds, starting from
# its corpus in the repository; prints the executions of each run.
set -euo pipefail
seconds="${1:-30}"
root="$(cd "$(dirname "$0")/.." && pwd)"
scratch="$root/build/fuzz/new-corpus"
status=0
for target in "$root"/build/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name="$(basename "$target")"
  corpus="$root/tests/fuzz/corpus/$name"
  mkdir -p "$scratch/$name"
  log="$root/build/fuzz/$name.log"
  if "$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$root/build/fuzz/$name-" \
       "$scratch/$name" "$corpus" >"$log" 2>&1; then
    runs=$(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}')
    echo "fuzz: $name ran ${runs:-?} inputs in ${seconds}s, no finding"
  else
    echo "fuzz: $name FAILED, see $log"; tail -30 "$log"; status=1
  fi
done
exit $status
