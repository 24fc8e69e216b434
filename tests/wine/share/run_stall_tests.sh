#!/usr/bin/env bash
# Runs the Wine tests of board files on a share that stalls: mounts the
# project's stalling FUSE share (needs /dev/fuse, fuse and python3-fusepy),
# tells the tests where it is, runs them and unmounts. Without /dev/fuse the
# tests run anyway and report themselves skipped, saying why.
#
#   run_stall_tests.sh kn_wine_tests.exe [gtest arguments...]
set -u
here="$(dirname "$(readlink -f "$0")")"
scripts="$here/../../../scripts"
program="$1"
shift
filter='--gtest_filter=BoardStall*'

work="$(mktemp -d "${TMPDIR:-/tmp}/kn-stall.XXXXXX")"
mkdir -p "$work/backing" "$work/share"
cleanup() {
  if mountpoint -q "$work/share"; then fusermount -u "$work/share" 2>/dev/null || umount -l "$work/share"; fi
  [ -n "${daemon:-}" ] && kill "$daemon" 2>/dev/null && wait "$daemon" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

if [ -e /dev/fuse ]; then
  /usr/bin/python3 "$here/stalling_share.py" "$work/backing" "$work/share" "$work/stall" "${KN_STALL_SECONDS:-2}" \
    >"$work/share.log" 2>&1 &
  daemon=$!
  for _ in $(seq 100); do mountpoint -q "$work/share" && break; sleep 0.1; done
  if mountpoint -q "$work/share"; then
    export KN_STALL_SHARE="$(windows_path "$work/share")"
    export KN_STALL_BACKING="$(windows_path "$work/backing")"
    export KN_STALL_CONTROL="$(windows_path "$work/stall")"
  else
    echo "the stalling share did not mount:"; cat "$work/share.log"
  fi
fi
"$scripts/wine-test-run" "$program" "$filter" "$@"
